#include "print_fixtures.h"

#include "core/database.h"
#include "core/gas_format.h"
#include "core/gui/flex_grid.h"
#include "core/program_state.h"
#include "logs/events/clsSnapShot.h"
#include "logs/trend/clsAlarm.h"
#include "logs/trend/clsInterval.h"

#include <QColor>

namespace tq::test {

namespace {

const Date kStart = Date::fromParts(2024, 1, 5, 10, 0, 0);

template <typename Log> void fillHead(Log &log, const QString &name) {
    FillPrintedHead(log, {.name = name,
                          .start = kStart,
                          .user = QStringLiteral("USER-NORTH-01"),
                          .station = QStringLiteral("PUMP STATION 2"),
                          .serial = QStringLiteral("TQ62000042"),
                          .interval = 1,
                          .average = 12.4f,
                          .maximum = 180,
                          .maximumAt = kStart.addSeconds(360),
                          .warning = 25,
                          .alarm = 50,
                          .stel = 200,
                          .twa = 25});
}

float alarmValue(int i) {
    return i < 300 ? 5 + float(i % 7) : float(std::min(180, 5 + (i - 300) * 3)) / 1.0f;
}

void setGridRow(FlexGrid &grid, int row, const QString &time, const QString &value) {
    grid.SetTextMatrix(row, 0, QString::number(row));
    grid.SetTextMatrix(row, 1, time);
    grid.SetTextMatrix(row, 2, value);
}

void makeAlarm(PrintFixture &f) {
    f.alarm = std::make_unique<clsAlarm>();
    fillHead(*f.alarm, QStringLiteral("al05100000_TQ62000042"));
    f.alarm->setDataCount(720);
    f.grid->SetRows(721);
    f.grid->SetCols(3);
    for (int i = 0; i < 720; ++i) {
        const Date t = kStart.addSeconds(i - 360);
        f.alarm->setDateTimes(i, t);
        f.alarm->setValue(0, i, alarmValue(i));
        setGridRow(*f.grid, i + 1, t.format(QStringLiteral("MM/dd hh:mm:ss")),
                   FormatGasValue(alarmValue(i), 1));
    }
    f.request.DataType = 2;
    f.request.AlarmData = f.alarm.get();
}

// A trend whose value changes at every sample, with a WARNING and, 15 s later, an ALARM in
// every 54 samples (log and record table alike); the table's dates in the general form.
void makeInterval(PrintFixture &f, int samples, qint32 type) {
    f.interval = std::make_unique<clsInterval>();
    fillHead(*f.interval, QStringLiteral("iv05100000_TQ62000042"));
    f.interval->setDataCount(std::min(samples, clsInterval::kSampleEntries - 2));
    const auto eventAt = [](int i) -> QString {
        return i % 54 == 38   ? QStringLiteral("WARNING")
               : i % 54 == 53 ? QStringLiteral("ALARM")
                              : QString();
    };
    const auto eventsIn = [&](int n) {
        qint32 count = 0;
        for (int i = 0; i < n; ++i)
            count += eventAt(i).isEmpty() ? 0 : 1;
        return count;
    };
    // Event entries take their fields only within the count: the count comes first.
    f.interval->setEventCount(
        std::min(eventsIn(f.interval->DataCount()), clsInterval::kEventEntries));
    qint32 events = 0;
    for (qint32 i = 0; i < f.interval->DataCount(); ++i) {
        f.interval->setDateTimes(i, kStart.addSeconds(i));
        f.interval->setGasValue(0, i, float((i * 37) % 400) / 10.0f);
        if (!eventAt(i).isEmpty() && events < f.interval->EventCount()) {
            f.interval->setEventDateTimes(events, kStart.addSeconds(i));
            f.interval->setGasEvent(0, events++,
                                    eventAt(i) == QLatin1String("ALARM") ? ReadingCode::Alarm
                                                                         : ReadingCode::Warning);
        }
    }
    f.grid->SetRedraw(false);
    f.grid->SetCols(3);
    f.grid->SetRows(samples + eventsIn(samples) + 1);
    int row = 1;
    for (int i = 0; i < samples; ++i) {
        const QString date = kStart.addSeconds(i).generalDate();
        setGridRow(*f.grid, row++, date, FormatGasValue(float((i * 37) % 400) / 10.0f, 1));
        if (!eventAt(i).isEmpty()) {
            setGridRow(*f.grid, row, date, eventAt(i));
            f.grid->SetCellBackColor(row++, 2, QColor(255, 128, 128));
        }
    }
    f.request.DataType = type;
    f.request.IntervalData = f.interval.get();
    // The page's "Event" box ticked: a printed graph carries the marks.
    f.request.EventMarks = true;
}

void addHead(Database &db, qint64 seqNo, qint32 type) {
    db.execute(QStringLiteral("INSERT INTO Log_Head (SeqNo, Names, UserID, StationID, SerialNo, "
                              "Types, Dates, Gas1Name, Gas1Full, Gas1Point, Gas1Unit, Gas1Enable) "
                              "VALUES (?, 'LOG', 'USER-NORTH-01', 'PUMP STATION 2', "
                              "'TQ62000042', ?, ?, 'CO', 500, 1, 'ppm', 1)"),
               {seqNo, type, DateParam(kStart)});
}

void makeStored(PrintFixture &f, qint32 type, int rows) {
    Database db(Globals().DatabasePath);
    Transaction transaction(db);
    const qint64 seqNo = 40000 + type;
    addHead(db, seqNo, type);
    for (int i = 0; i < rows; ++i) {
        const QVariant date = DateParam(kStart.addSeconds(-i * 97));
        switch (type) {
        case 3:
            db.execute(QStringLiteral("INSERT INTO cHistory (RelNo, Dates, Gas1Before, "
                                      "Gas1After) VALUES (?, ?, ?, 50)"),
                       {seqNo, date, 45 + i % 9});
            break;
        case 10:
            db.execute(QStringLiteral("INSERT INTO Bump (RelNo, Dates, Gas1Before, Gas1After, "
                                      "Gas1Judge) VALUES (?, ?, ?, 50, ?)"),
                       {seqNo, date, 40 + i % 15, i % 5 == 4 ? 1 : 2});
            break;
        case 7:
            db.execute(QStringLiteral("INSERT INTO Power_Event (RelNo, Dates, Power_Type) "
                                      "VALUES (?, ?, ?)"),
                       {seqNo, date, i % 2 == 0});
            break;
        case 12:
            db.execute(QStringLiteral("INSERT INTO SensorChange (RelNo, Dates, Gas1Name, "
                                      "Gas1Unit, Gas1Full, Gas1Point, Gas1Model, Gas1SerialNO) "
                                      "VALUES (?, ?, 'CO', 'ppm', 500, 1, 'ES-1827i', ?)"),
                       {seqNo, date, QStringLiteral("S%1").arg(1000 + i)});
            break;
        default:
            db.execute(
                QStringLiteral("INSERT INTO %1 (RelNo, GasNo, GasName, Alarm_Type, Dates) "
                               "VALUES (?, 0, ?, ?, ?)")
                    .arg(type == 5 ? QLatin1String("Alarm_Event") : QLatin1String("Trouble_Event")),
                {seqNo, type == 5 ? QStringLiteral("CO(500.0ppm)") : QStringLiteral("Body"),
                 type == 5 ? -103 - i % 5 : -152, date});
            break;
        }
    }
    transaction.commit();
    f.request.DataType = type;
    f.request.SeqNo = seqNo;
}

void makeLastCal(PrintFixture &f, int rows) {
    f.grid->SetRows(rows + 1);
    f.grid->SetCols(6);
    const QStringList heading{"No.", "SerialNo", "UserID", "StationID", "CO", "Last Download"};
    for (int c = 0; c < 6; ++c)
        f.grid->SetTextMatrix(0, c, heading[c]);
    for (int r = 1; r <= rows; ++r) {
        const QStringList cells{QString::number(r),
                                QStringLiteral("TQ6200%1").arg(r, 4, 10, QLatin1Char('0')),
                                QStringLiteral("USER-%1").arg(r % 13),
                                QStringLiteral("STATION %1").arg(r % 7),
                                kStart.addDays(-r).generalDate(),
                                kStart.addDays(-r / 2).generalDate()};
        for (int c = 0; c < 6; ++c)
            f.grid->SetTextMatrix(r, c, cells[c]);
    }
    f.request.DataType = frmPrint::kLastCalibration;
}

} // namespace

PrintFixture::PrintFixture() : grid(std::make_unique<FlexGrid>()) {
    request.frmObj = grid.get();
}
PrintFixture::~PrintFixture() = default;

QStringList PrintFixtureKinds() {
    return {"alarm",        "alarm-graph", "interval", "interval-graph", "barhole",
            "snapshot",     "cal",         "bump",     "alarm-events",   "trouble-events",
            "power-events", "sensor",      "lastcal"};
}

std::unique_ptr<PrintFixture> MakePrintFixture(const QString &kind, int rows) {
    auto f = std::make_unique<PrintFixture>();
    if (kind.startsWith(QLatin1String("alarm-graph")) || kind == QLatin1String("alarm")) {
        makeAlarm(*f);
    } else if (kind.startsWith(QLatin1String("interval")) || kind == QLatin1String("barhole")) {
        makeInterval(*f, rows, kind == QLatin1String("barhole") ? 9 : 1);
    } else if (kind == QLatin1String("snapshot")) {
        f->snapshot = std::make_unique<clsSnapShot>();
        fillHead(*f->snapshot, QStringLiteral("ss05100000_TQ62000042"));
        f->grid->SetRows(3);
        f->grid->SetCols(3);
        setGridRow(*f->grid, 1, kStart.generalDate(), QStringLiteral("12.5"));
        setGridRow(*f->grid, 2, kStart.generalDate(), QStringLiteral("WARNING"));
        f->request.DataType = 11;
        f->request.SnapData = f->snapshot.get();
    } else if (kind == QLatin1String("lastcal")) {
        makeLastCal(*f, rows);
    } else {
        const qint32 type = kind == QLatin1String("cal")              ? 3
                            : kind == QLatin1String("bump")           ? 10
                            : kind == QLatin1String("alarm-events")   ? 5
                            : kind == QLatin1String("trouble-events") ? 6
                            : kind == QLatin1String("power-events")   ? 7
                            : kind == QLatin1String("sensor")         ? 12
                                                                      : 0;
        if (type == 0)
            return nullptr;
        makeStored(*f, type, rows);
    }
    f->request.PrintType = kind.endsWith(QLatin1String("-graph"));
    return f;
}

} // namespace tq::test
