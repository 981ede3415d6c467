#pragma once

#include "core/date.h"
#include "print/command/export_command.h"
#include "ui/display/browse_data.h"
#include "ui/display/data_view_logs.h"
#include "ui/display/log_selection.h"
#include "ui/display/trend_graph_fill.h"

#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tq {

class FlexGrid;
class HeadedLog;
class uclVtmGraph;

// The Data View page: the stored log selected on the Data page as a summary grid
// `vfgSummary` above either the record table `vfgBrowse` or the trend graph `vtmGraph`,
// with the Table/Graph options, the graph's boxes and zoom list, the table's Event Only and
// Condensed boxes and the page commands. It lives in the window's page frame, keeps the
// log objects it shows and reaches the window only through the hooks it is given. A press
// on a warning, alarm or over-range event of an interval trend opens the alarm trend
// recorded near it.
class DataViewPage : public QWidget {
    Q_OBJECT
public:
    // What the page asks of its window.
    struct WindowHooks {
        std::function<void()> layOutWindow; // the window's layout pass
        std::function<void()> showPage;     // every page frame hidden, this one shown, laid out
        std::function<void()> showDataPage; // the Return command
        // The data view window, shown modally, reading ViewSeqNo, ViewKind and
        // ViewEventDate of the program state.
        std::function<void()> openDataViewWindow;
        // While a table export is written: the window's progress window ("Now Writing",
        // no Cancel) and its busy state; false unloads it and sets the state back.
        std::function<void(bool writing)> showExportProgress;
    };

    // The fills the page runs: the production ones unless a test counts or replaces them.
    struct Fills {
        std::function<bool(FlexGrid &summary, FlexGrid &table, DataViewLogs &logs,
                           const BrowseDataRequest &request)>
            browseData;
        std::function<TrendGraphBoxes(uclVtmGraph &graph, qint32 logType, DataViewLogs &logs,
                                      const TrendGraphOptions &options)>
            trendGraph;
    };
    static Fills ProductionFills();

    DataViewPage(QGroupBox *frame, const LogSelection &selection, WindowHooks hooks,
                 Fills fills = ProductionFills());

    // Lays the controls out in the frame of pw by ph twips and applies the visibility
    // rules of the options: the table with Table, the graph and its boxes with Graph.
    void layOut(double pw, double ph, const QString &languageCode);

    // --- Loading and options -------------------------------------------------------------
    // View Data: the selected log loaded and shown on this page. With nothing selected it
    // says so and the page stays closed.
    void cmdDetail_Click();
    // Loads the selected log into the object of its family and prepares the page; the
    // frame keeps the visibility it had.
    void ShowDataView();
    void optBrowse_Click(int index);
    void chkBrowse_Click(int index);
    void chkEvent_Click();
    void chkOutline_Click();
    void cmbBrowse_Click();
    // The page commands: 0 Print (the tables, or the graph when it is on view), 2 Export
    // (a CSV or text file, or the graph as a bitmap), 3 Summary (shows or hides the summary
    // grid), 4 Return (the Data page); 1 is never shown. After Print, Export and Summary a
    // visible graph is redrawn and takes the focus.
    void cmdBrowse_Click(int index);
    // The Export command of the page, kept for the window's lifetime.
    const ExportCommand &exportCommand() const { return m_export; }

    // --- Trend search ----------------------------------------------------------------------
    // Presses and moves over the graph (X and Y in twips of its drawing area) and the table
    // (a point of the grid widget).
    void vtmGraph_MouseDown(qint16 button, qint16 shift, float x, float y);
    void vtmGraph_MouseMove(qint16 button, qint16 shift, float x, float y);
    void vfgBrowse_MouseDown(Qt::MouseButton button, const QPoint &pos);
    void vfgBrowse_MouseMove(const QPoint &pos);

    // The log objects the page shows; the export and print commands read them too.
    DataViewLogs &logs() { return m_logs; }
    const DataViewLogs &logs() const { return m_logs; }
    // True once the view switched to after a load has been filled.
    bool BrowseFilled() const { return m_browseFilled; }

    // Controls.
    std::array<QRadioButton *, 2> optBrowse{};
    QCheckBox *chkEvent = nullptr;
    QCheckBox *chkOutline = nullptr;
    FlexGrid *vfgSummary = nullptr;
    FlexGrid *vfgBrowse = nullptr;
    uclVtmGraph *vtmGraph = nullptr;
    std::array<QCheckBox *, 7> chkBrowse{};
    QLabel *lblTitle1 = nullptr; // lblTitle(1), the zoom list's label
    QComboBox *cmbBrowse = nullptr;
    std::array<QPushButton *, 5> cmdBrowse{};

private:
    enum class View { None, Table, Graph };

    void buildControls();
    void connectControls();
    void loadSelectedLog();
    void selectView(View view);
    View selectedView() const;
    // Runs ShowBrowseData for the selected log with the page's options.
    void showBrowseData();
    // Runs ShowTrendGraph and sets the gas box and zoom list from what it gives.
    void showTrendGraph();
    // The gas boxes and series in line with the loaded trend; the Event and Cursor boxes
    // shown.
    void alignGasBoxes();
    void showEventAndCursorBoxes();
    const HeadedLog &trendLog() const;
    // The event time of a reacting table cell or graph mark, searched and opened.
    void openAlarmTrendNear(const Date &eventTime, const std::function<void(int)> &setPointer);
    bool tableCellReacts(int row, int col) const;
    void setTablePointer(int pointer);
    void setWindowBusy(bool busy);
    // Table mode of Print and Export: the Table option, or a bar-hole trend.
    bool tableMode() const;
    void printLog();
    void exportLog();
    void toggleSummary();
    // What a failed handler leaves of the page: a failed load or fill an empty view and
    // BrowseFilled cleared, a failed search the view as it was.
    enum class Failure { EmptiesView, KeepsView };
    // Runs a handler's work; a failure restores the pointers, the table's redrawing and the
    // frame's visibility, leaves the view as `failure` says and is reported with message
    // `errorId`; then false.
    bool guarded(int errorId, const std::function<void()> &work,
                 Failure failure = Failure::EmptiesView);
    void emptyView();

    QGroupBox *m_frame = nullptr;
    const LogSelection &m_selection;
    WindowHooks m_hooks;
    Fills m_fills;
    DataViewLogs m_logs;
    ExportCommand m_export;
    bool m_browseFilled = false;
};

} // namespace tq
