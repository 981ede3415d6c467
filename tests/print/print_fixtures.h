#pragma once

#include "print/frmPrint.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace tq {
class FlexGrid;
class clsAlarm;
class clsInterval;
class clsSnapShot;
} // namespace tq

namespace tq::test {

// A log of each printed kind as the pages hand it to the print job: the loaded log, the
// record table the page shows and, for the histories and event logs, rows stored in the
// database of Globals().DatabasePath (which must exist).
struct PrintFixture {
    PrintFixture();
    ~PrintFixture();
    std::unique_ptr<clsInterval> interval;
    std::unique_ptr<clsAlarm> alarm;
    std::unique_ptr<clsSnapShot> snapshot;
    std::unique_ptr<FlexGrid> grid;
    PrintRequest request;
};

// The kinds: alarm, alarm-graph, interval, interval-graph, barhole, snapshot, cal, bump,
// alarm-events, trouble-events, power-events, sensor, lastcal. `rows` sizes the interval
// trend (samples; every 54th row an event), the event logs and the Last Calibration list.
QStringList PrintFixtureKinds();
std::unique_ptr<PrintFixture> MakePrintFixture(const QString &kind, int rows);

} // namespace tq::test
