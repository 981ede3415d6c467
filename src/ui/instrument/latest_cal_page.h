#pragma once

#include "ui/instrument/rules/latest_calibrations.h"

#include <QWidget>

#include <array>
#include <functional>

class QAction;
class QGroupBox;
class QMenu;
class QPushButton;
class QRadioButton;

namespace tq {

class FlexGrid;

// The Last Calibration page: the latest calibration of every detector read, newest
// download first, in three views; one entry can be deleted after the program password,
// and the list printed. It lives in the window's page frame.
class LatestCalPage : public QWidget {
    Q_OBJECT
public:
    // What the page asks of its window.
    struct WindowHooks {
        std::function<bool()> firstActivate; // true until the window's first activation
        std::function<void()> layOutWindow;  // the window's layout pass (column widths)
    };

    LatestCalPage(QGroupBox *frame, WindowHooks hooks);

    // Lays the controls out in the frame of pw by ph twips and sizes the list's columns.
    void layOut(double pw, double ph, const QString &languageCode);

    // Fills the list for the selected view from the database.
    void ShowLatestCalList();
    void optHistory_Click(int index);
    void vfgHistory_SelChange();
    // A right click in the first two views makes the row under the mouse current and
    // offers "Delete" there; a right click on the heading offers nothing.
    void vfgHistory_MouseDown(Qt::MouseButton button, const QPoint &pos);
    // Deletes the current row's entry after the password and a question.
    void mnuHistDel_Click();
    void cmdLastCal_Click();

    LatestCalView view() const;
    QMenu *mnuHistDels() const { return m_menu; }

    // Controls.
    std::array<QRadioButton *, 3> optHistory{};
    FlexGrid *vfgHistory = nullptr;
    QPushButton *cmdLastCal = nullptr;

private:
    void buildControls();
    // Tells a database failure (301 with the database path); nothing else changes.
    void showDatabaseError() const;
    void writeList(const LatestCalList &list);

    WindowHooks m_hooks;
    QMenu *m_menu = nullptr;
    QAction *m_mnuHistDel = nullptr;
    QList<LatestCalibration> m_entries;
    QList<int> m_rowEntries; // entry index of each data row
    bool m_selBusy = false;
};

} // namespace tq
