#pragma once

#include "logs/trend/clsAlarm.h"

#include <QDialog>

class QPushButton;

namespace tq {

class FlexGrid;

// The data view window: the alarm trend found for a trend event, as a record table. Made
// without a parent and shown modally; each showing reloads the log that ViewKind and
// ViewSeqNo of the program state name (kind 2, the alarm trend). Return closes it.
class frmIntermittence : public QDialog {
    Q_OBJECT
public:
    frmIntermittence();

    // Loads the requested log and fills the table; a failure passes to the caller.
    void Form_Load();
    // Loads and shows the window modally; returns when it has been closed.
    int exec() override;

    const clsAlarm &alarm() const { return m_alarm; }

    FlexGrid *vfgBrowse = nullptr;
    QPushButton *cmdReturn = nullptr; // cmdBrowse(4)

private:
    clsAlarm m_alarm;
};

} // namespace tq
