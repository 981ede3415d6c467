#pragma once

#include "ui/instrument/rules/latest_calibrations.h"

#include <QObject>

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
// and the list printed.
class LatestCalPage : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QGroupBox *fraMenu = nullptr;
        std::array<QRadioButton *, 3> optHistory{};
        FlexGrid *vfgHistory = nullptr;
        QPushButton *cmdLastCal = nullptr;
    };
    struct Hooks {
        std::function<bool()> firstActivate; // true until the window's first activation
        std::function<void()> layOut;        // the window's layout (column widths)
    };

    LatestCalPage(const Controls &controls, Hooks hooks, QObject *parent = nullptr);

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

private:
    // Tells a database failure (301 with the database path); nothing else changes.
    void showDatabaseError() const;
    void writeList(const LatestCalList &list);

    Controls m_c;
    Hooks m_hooks;
    QMenu *m_menu;
    QAction *m_mnuHistDel;
    QList<LatestCalibration> m_entries;
    QList<int> m_rowEntries; // entry index of each data row
    bool m_selBusy = false;
};

} // namespace tq
