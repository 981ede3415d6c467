#pragma once

#include "ui/browser/log_listing.h"
#include "ui/browser/log_tree.h"
#include "ui/display/log_selection.h"

#include <QWidget>

#include <array>
#include <functional>

class QAction;
class QCheckBox;
class QGroupBox;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tq {

class FlexGrid;

// The Data page: the log tree `tvwLog` with its grouping boxes `chkLog`, the list `lvwLog`
// of the chosen node, the summary grid `vfgLog` of the chosen entry, the View Data and
// Instrument buttons and the delete popup. It lives in the window's page frame and reads
// the log database anew for every action.
class DataPage : public QWidget {
    Q_OBJECT
public:
    // What the page asks of its window.
    struct WindowHooks {
        std::function<void()> layOutWindow;
        std::function<void(bool enabled)> enableMenuButtons; // the menu column's cmdInst
        std::function<void()> viewData;                      // the Data View page's View Data
        // The stored log's instrument record on the Instrument Information page; false,
        // showing nothing, when the log's head row is gone.
        std::function<bool(qint64 seqNo)> showStoredInstrument;
    };

    DataPage(QWidget *frame, LogSelection &selection, WindowHooks hooks);

    // Lays the page's controls out in its frame of pw by ph twips.
    void layOut(double pw, double ph);

    // --- Tree -----------------------------------------------------------------------------
    bool LogTreeStale() const { return m_logTreeStale; }
    void setLogTreeStale(bool stale) { m_logTreeStale = stale; }
    // Rebuilds the tree from the database when it is stale, and repaints it. A rebuild that
    // fails is reported (30001), keeps the root and leaves the tree stale; then false.
    bool BuildLogTree();
    // Repaints tree, list and summary.
    void RefreshLogPage();
    const LogTree &tree() const { return m_tree; }

    // --- List and summary -------------------------------------------------------------------
    // Fills the list for a tree key; failures pass to the caller.
    void ShowLogList(const QString &key);
    // Summarises the entry of a key in vfgLog and, for a stored log, selects it; failures
    // pass to the caller.
    void ShowLogSummary(const QString &key);

    // --- Handlers ----------------------------------------------------------------------------
    void tvwLog_MouseDown(Qt::MouseButton button, const QPoint &pos);
    void tvwLog_NodeClick(QTreeWidgetItem *node);
    void lvwLog_MouseDown(Qt::MouseButton button, const QPoint &pos);
    void lvwLog_ItemClick(QTreeWidgetItem *item);
    void lvwLog_ColumnClick(int column);
    void chkLog_Click(int index);
    // View Data, the Export Raw Data box, the list's double-click and Instrument.
    void cmdDetail_Click();
    void chkRawData_Click();
    void lvwLog_DblClick();
    void cmdLogInst_Click();
    // The popup's Delete: the program password, a question, then the logs of the key in
    // mnuDelete's data are deleted and the page shows what is left.
    void mnuDelete_Click();

    QString LastHitKey() const { return m_lastHitKey; }
    // The popup menu `mnuDeletes` at a global position; tests replace it.
    std::function<void(const QPoint &globalPos)> popupHook;

    // The key of a tree node or list row.
    static QString keyOf(const QTreeWidgetItem *item);

    // Controls.
    QTreeWidget *tvwLog = nullptr;
    QGroupBox *fraLog = nullptr;
    QWidget *fraLogCenter = nullptr;
    std::array<QCheckBox *, 3> chkLog{};
    QTreeWidget *lvwLog = nullptr;
    FlexGrid *vfgLog = nullptr;
    QPushButton *cmdDetail = nullptr;
    QPushButton *cmdLogInst = nullptr;
    QCheckBox *chkRawData = nullptr;
    QMenu *mnuDeletes = nullptr;
    QAction *mnuDelete = nullptr;

    // The list's order: off after a folder listing, ascending after a log listing.
    bool listSorted() const { return m_sorted; }
    bool listAscending() const { return m_ascending; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeInstrumentButton(double pw, double ph);
    void buildControls();
    void fillTree();
    void showListing(const LogListing &listing);
    void showListRows();
    // The list's columns at their shares of its width, moved towards what their texts need.
    void fitListColumns();
    void selectFirstRow();
    void emptyFolderSummary();
    // Sets the selection to the stored log of a key; other keys change nothing.
    void selectStoredLog(const QString &key);
    void openPopup(const QString &key, const QPoint &globalPos);
    void setButtons(bool enabled);
    // After a deletion: the tree rebuilt and the list of the node now at `position` of the
    // tree (the deleted folder's parent), or of the root when the tree is shorter.
    void showAfterFolderDeletion(int position);
    // Removes a deleted log's row from the list.
    void removeListRow(const QString &key);
    // True when the selected or the summarised stored log is no longer in the database.
    bool shownLogGone();
    // Runs a handler's work; a failure is reported with message `errorId` and false.
    bool guarded(int errorId, const std::function<void()> &work);

    LogSelection &m_selection;
    WindowHooks m_hooks;
    LogTree m_tree;
    bool m_logTreeStale = true;
    QString m_lastHitKey;
    // The key that vfgLog summarises; empty while it shows the empty-folder form.
    QString m_summaryKey;
    // The list's rows in ascending order, and how they show.
    LogListing m_listing;
    bool m_sorted = false;
    bool m_ascending = true;
    // The view whose keys move its current item, while a key is down.
    QObject *m_keyView = nullptr;
};

} // namespace tq
