#pragma once

#include "core/date.h"
#include "core/gui/flex_grid.h"
#include "core/program_state.h"
#include "graph/uclVtmGraph.h"
#include "logs/trend/trend_file.h"
#include "stored_logs.h"
#include "ui/common/small_icons.h"
#include "ui/dataview/frmIntermittence.h"
#include "ui/main/window/scripted_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

namespace tq::test {

inline const Date kAlarmStart = Date::fromParts(2009, 5, 1, 10, 0, 0);

// An alarm trend as an import stores it: its Log_head row and its trend file, a sample a
// second from kAlarmStart, the values rising by 0.5 from 0.5 (so 100.0 at sample 199 and
// OVER after it with the full scale of 100).
struct StoredAlarm {
    int samples = 720;
    int sampling = 0;
    bool enabled = true;
    float full = 100;
    float ratio = 0;
    QString unit = QStringLiteral("ppm");
};

// The data view window over a database of its own; the Save As dialog answers from
// `chosen` and keeps what was proposed.
class DataViewWindowTest : public StoredLogsTest {
protected:
    void SetUp() override {
        StoredLogsTest::SetUp();
        ProgramState &g = Globals();
        g.DebugMode = false;
        g.GraphColors[0] = 0x0000ff;
        g.ViewKind = 2;
        window = std::make_unique<frmIntermittence>();
    }

    qint64 storeAlarm(const StoredAlarm &alarm) {
        const QString folder = QStringLiteral("05/09");
        const QString name = QStringLiteral("AL%1").arg(++m_stored);
        const qint64 seqNo = store({.folder = folder,
                                    .type = 2,
                                    .names = name,
                                    .dates = kAlarmStart.addSeconds(360).toSqlText(),
                                    .sampling = alarm.sampling});
        db().execute(
            QStringLiteral("Update Log_head Set Interval = 1, Dcount = ?, Gas1Name = 'CO', "
                           "Gas1Full = ?, Gas1Point = 1, Gas1Unit = ?, Gas1Ratio = ?, "
                           "Gas1Enable = ?, Gas1Warning = 25, Gas1Alarm = 50, "
                           "Gas1STEL = 100, Gas1TWA = 25 Where SeqNo = ?"),
            {alarm.samples, alarm.full, alarm.unit, alarm.ratio, alarm.enabled, seqNo});
        TrendFileWriter file;
        for (int n = 0; n < alarm.samples; ++n)
            file.PutTrendPoint(n + 1, kAlarmStart.addSeconds(n), 0.5f * float(n + 1));
        MakeTrendFolders(Globals().DataFolder, folder);
        writeFile(TrendFilePath(Globals().DataFolder, folder, name), file.records());
        return seqNo;
    }

    // What the Data View page hands over: a 12000 by 9000 window, the summary shown, the
    // option and the boxes as given (the gas box, Event and Cursor ticked by default).
    static DataViewOpening opening(bool graph = false, bool summary = true) {
        DataViewOpening o;
        o.width = 12000;
        o.height = 9000;
        o.summaryVisible = summary;
        o.options = {!graph, graph};
        o.boxes = {true, false, false, false, false, true, true};
        o.Interval0 = SmallIcon(QStringLiteral("Interval0"));
        o.IntervalG = SmallIcon(QStringLiteral("IntervalG"));
        o.Alarm0 = SmallIcon(QStringLiteral("Alarm0"));
        o.AlarmG = SmallIcon(QStringLiteral("AlarmG"));
        return o;
    }

    // The opening sequence on log seqNo, without showing the window.
    void open(qint64 seqNo, const DataViewOpening &o) {
        Globals().ViewSeqNo = seqNo;
        window->Form_Load(o);
    }
    void open(const StoredAlarm &alarm, bool graph = false) {
        open(storeAlarm(alarm), opening(graph));
    }

    bool shown(const QWidget *control) const { return control->isVisibleTo(window.get()); }

    ScriptedDialogs dialogs;
    std::unique_ptr<frmIntermittence> window;

private:
    int m_stored = 0;
};

} // namespace tq::test
