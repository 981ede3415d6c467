#pragma once

#include "core/date.h"
#include "logs/trend/log_header.h"
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

// The head and gas values of a printed log: a CO gas of full scale 500 ppm with one
// decimal, enabled, and these.
struct PrintedHead {
    QString name;
    Date start;
    QString user;
    QString station;
    QString serial;
    qint32 interval = 1;
    float average = 0;
    float maximum = 0;
    Date maximumAt;
    float warning = 0;
    float alarm = 0;
    float stel = 0;
    float twa = 0;
};

template <typename Log> void FillPrintedHead(Log &log, const PrintedHead &h) {
    const auto head = [&](LogHeaderItem item, const QVariant &value) {
        log.setGasBaseInfo(qint32(item), value);
    };
    head(LogHeaderItem::Names, h.name);
    head(LogHeaderItem::Dates, QVariant::fromValue(h.start));
    head(LogHeaderItem::UserID, h.user);
    head(LogHeaderItem::StationID, h.station);
    head(LogHeaderItem::SerialNo, h.serial);
    head(LogHeaderItem::Interval, h.interval);
    const auto gas = [&](GasInfoItem item, const QVariant &value) {
        log.setGasListInfo(0, qint32(item), value);
    };
    gas(GasInfoItem::Name, QStringLiteral("CO"));
    gas(GasInfoItem::Full, 500);
    gas(GasInfoItem::Point, 1);
    gas(GasInfoItem::Unit, QStringLiteral("ppm"));
    gas(GasInfoItem::Enable, true);
    gas(GasInfoItem::Avr, h.average);
    gas(GasInfoItem::Max, h.maximum);
    gas(GasInfoItem::MaxDate, QVariant::fromValue(h.maximumAt));
    gas(GasInfoItem::Warning, h.warning);
    gas(GasInfoItem::Alarm, h.alarm);
    gas(GasInfoItem::Stel, h.stel);
    gas(GasInfoItem::Twa, h.twa);
}

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
