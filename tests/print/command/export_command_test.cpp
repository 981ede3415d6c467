#include "core/database.h"
#include "core/errors.h"
#include "core/gas_format.h"
#include "core/log_schema.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "core/safe_file.h"
#include "logs/trend/clsAlarm.h"
#include "logs/trend/clsInterval.h"
#include "print/command/export_command.h"
#include "print/export/export_text.h"
#include "test_support.h"
#include "ui/main/window/scripted_dialogs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace tq {
namespace {

// Boxes answered from a script and a Save As dialog answered with a set file and entry;
// every dialog request is kept, and whether the window was in its writing state at each box.
struct ExportDialogs : test::ScriptedDialogs {
    ChosenFile ChooseSaveFile(const FileChoice &choice) override {
        choices.push_back(choice);
        return chosen;
    }
    BoxAnswer ShowMessage(const MessageBoxRequest &request) override {
        writingAtBox.push_back(writing && writing());
        return ScriptedDialogs::ShowMessage(request);
    }
    ChosenFile chosen;
    std::vector<FileChoice> choices;
    std::function<bool()> writing;
    std::vector<bool> writingAtBox;
};

Date at(int second) {
    return Date::fromParts(2024, 5, 14, 9, 30, 0).addSeconds(second);
}

// An interval trend in memory whose reading changes at every sample, with one decimal and
// a warning every 50 samples.
std::unique_ptr<clsInterval> Trend(qint32 samples) {
    auto log = std::make_unique<clsInterval>();
    log->setGasBaseInfo(qint32(LogHeaderItem::Names), QStringLiteral("iv14093000_X1"));
    log->setGasBaseInfo(qint32(LogHeaderItem::Dates), QVariant::fromValue(at(0)));
    log->setGasBaseInfo(qint32(LogHeaderItem::Interval), 10);
    log->setGasListInfo(0, qint32(GasInfoItem::Name), QStringLiteral("CH4"));
    log->setGasListInfo(0, qint32(GasInfoItem::Unit), QStringLiteral("%LEL"));
    log->setGasListInfo(0, qint32(GasInfoItem::Full), 100);
    log->setGasListInfo(0, qint32(GasInfoItem::Point), 1);
    log->setGasListInfo(0, qint32(GasInfoItem::Max), 49.9);
    log->setDataCount(samples);
    for (qint32 i = 0; i < samples; ++i) {
        log->setDateTimes(i, at(10 * i));
        log->setGasValue(0, i, float(i % 500) / 10);
    }
    const qint32 events = samples / 50;
    log->setEventCount(events);
    for (qint32 i = 0; i < events; ++i) {
        log->setEventDateTimes(i, at(500 * i + 5));
        log->setGasEvent(0, i, float(ReadingCode::Warning));
    }
    return log;
}

class ExportCommandTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        dialogs.writing = [this] { return started > ended; };
        ProgramState &g = Globals();
        g.AppFolder = dir.path();
        g.DatabasePath = path(QStringLiteral("TQ6200.mdb"));
        CreateLogDatabase(g.DatabasePath);
        alarm.ClearDatas();
        alarm.setDataCount(3);
        for (qint16 i = 0; i < 3; ++i) {
            alarm.setDateTimes(i, at(i));
            alarm.setValue(0, i, 12.5f + i);
        }
    }

    // A command whose hooks count their calls and check that they come in pairs.
    ExportCommand command() {
        return ExportCommand({[this] {
                                  EXPECT_EQ(started, ended) << "writing started twice";
                                  ++started;
                              },
                              [this] { ++ended; }});
    }
    ExportSource alarmSource() const {
        ExportSource source;
        source.logType = 2;
        source.logs.alarm = &alarm;
        return source;
    }
    // What the export should have written for the source with filter entry `entry`.
    static QByteArray expected(const ExportSource &source, qint32 entry) {
        ExportRequest request;
        request.logType = source.logType;
        request.seqNo = source.seqNo;
        request.logs = source.logs;
        request.separator = entry == 2 ? QStringLiteral("\t") : QStringLiteral(",");
        request.filterIndex = entry;
        request.debugMode = source.debugMode;
        const bool lineByLine = source.logType == 1 || source.logType == 9;
        return (MakeExportText(request) + (lineByLine ? QString() : QStringLiteral("\r\n")))
            .toUtf8();
    }
    // The names in the folder, in code-point order.
    QStringList entries() const {
        QStringList names =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        names.sort();
        return names;
    }

    clsAlarm alarm;
    ExportDialogs dialogs;
    int started = 0;
    int ended = 0;
};

// The ways through the command: cancel, a new file, an existing file answered Yes or No,
// and the filter entries that choose the separator and the unit column.
TEST_F(ExportCommandTest, TheCommandGoesItsWayByTheAnswers) {
    struct Case {
        const char *name;
        bool cancel;
        bool existing;
        BoxAnswer overwrite;
        qint32 entry;
        ExportOutcome outcome;
    };
    const Case cases[] = {
        {"cancel", true, false, BoxAnswer::Yes, 1, ExportOutcome::Cancelled},
        {"cancel over a file", true, true, BoxAnswer::Yes, 1, ExportOutcome::Cancelled},
        {"new file", false, false, BoxAnswer::Yes, 1, ExportOutcome::Written},
        {"Yes", false, true, BoxAnswer::Yes, 1, ExportOutcome::Written},
        {"No", false, true, BoxAnswer::No, 1, ExportOutcome::Declined},
        {"tab csv", false, false, BoxAnswer::Yes, 2, ExportOutcome::Written},
        {"text comma", false, false, BoxAnswer::Yes, 3, ExportOutcome::Written},
        {"units in a column", false, true, BoxAnswer::Yes, 4, ExportOutcome::Written},
    };
    const QByteArray old = "old file\r\n";
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString target = path(QStringLiteral("out.csv"));
        QFile::remove(target);
        if (c.existing)
            test::writeFile(target, old);
        dialogs.shown.clear();
        dialogs.answers = {c.overwrite};
        dialogs.chosen = {c.cancel ? QString() : target, c.entry};
        started = ended = 0;
        ExportCommand export_ = command();
        const ExportSource source = alarmSource();

        EXPECT_EQ(export_.Run(source), c.outcome);
        const bool written = c.outcome == ExportOutcome::Written;
        EXPECT_EQ(export_.LastExportFile(), written ? target : QString());
        EXPECT_EQ(started, written ? 1 : 0);
        EXPECT_EQ(ended, started);
        if (written) {
            EXPECT_EQ(test::readFile(target), expected(source, c.entry));
        } else if (c.existing) {
            EXPECT_EQ(test::readFile(target), old);
        } else {
            EXPECT_FALSE(QFile::exists(target));
        }
        if (c.existing && !c.cancel) {
            ASSERT_EQ(dialogs.ids(), QList<int>{5307});
            EXPECT_EQ(dialogs.shown[0].title, LoadMessage(5308));
            EXPECT_EQ(dialogs.shown[0].icon, BoxIcon::Question);
            EXPECT_EQ(dialogs.shown[0].buttons, BoxButtons::YesNo);
        } else {
            EXPECT_EQ(dialogs.ids(), QList<int>{});
        }
        EXPECT_EQ(entries(), (QStringList{QStringLiteral("TQ6200.mdb")} +
                              (QFile::exists(target) ? QStringList{QStringLiteral("out.csv")}
                                                     : QStringList{})));
    }
}

// One command object through a session: the proposed names, filters and preselected entry
// of each Save As dialog, and a "No" that leaves the last name alone.
TEST_F(ExportCommandTest, EachDialogProposesFromTheLastWrittenFile) {
    ExportCommand export_ = command();
    ExportSource table = alarmSource();
    ExportSource graph = table;
    graph.graphView = true; // no graph object: the bitmap fails, the name is still proposed
    ExportSource barHole;
    barHole.logType = 9;
    barHole.graphView = true;
    const QString folder = dir.path() + QLatin1Char('/');
    struct Step {
        const char *name;
        const ExportSource &source;
        const char *answer; // empty: cancel
        BoxAnswer overwrite;
        const char *proposed;
        int filterMessage;
    };
    const Step steps[] = {
        {"first table", table, "", BoxAnswer::Yes, "Sample.csv", 5704},
        {"first graph", graph, "", BoxAnswer::Yes, "Sample.bmp", 5712},
        {"bar hole as a table", barHole, "log.txt", BoxAnswer::Yes, "Sample.csv", 5701},
        {"after log.txt", table, "log.txt", BoxAnswer::No, "log.csv", 5704},
        {"after a No", table, "", BoxAnswer::Yes, "log.csv", 5704},
        {"graph after log.txt", graph, "", BoxAnswer::Yes, "log.bmp", 5712},
        {"to report", table, "report", BoxAnswer::Yes, "log.csv", 5704},
        {"after report", table, "", BoxAnswer::Yes, "report.csv", 5704},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.name);
        dialogs.choices.clear();
        dialogs.answers = {s.overwrite};
        dialogs.chosen = {*s.answer ? folder + QString::fromUtf8(s.answer) : QString(), 3};
        export_.Run(s.source);
        ASSERT_EQ(dialogs.choices.size(), 1u);
        const FileChoice &choice = dialogs.choices.front();
        EXPECT_EQ(choice.folder, folder + QString::fromUtf8(s.proposed));
        EXPECT_EQ(choice.filterIndex, 1);
        EXPECT_EQ(choice.filter.split(QStringLiteral(";;")).size(), s.filterMessage == 5704   ? 4
                                                                    : s.filterMessage == 5701 ? 3
                                                                                              : 1);
    }
    EXPECT_EQ(export_.LastExportFile(), folder + QStringLiteral("report"));
    EXPECT_EQ(export_.FilterIndex(), 3);
}

// Failures keep the old file, leave no temporary file, show 30101 with the file, end the
// writing state and leave the last name as it was.
TEST_F(ExportCommandTest, AFailureKeepsTheOldFileAndSaysSo) {
    test::writeFile(path(QStringLiteral("plain")), "a file, not a folder");
    QDir(dir.path()).mkdir(QStringLiteral("folder.csv"));
    const std::unique_ptr<clsInterval> trend = Trend(2000);
    struct Case {
        const char *name;
        const char *target;
        qint32 logType;
        bool graphView;
        long sizeLimit; // 0: none
    };
    const Case cases[] = {
        {"below a regular file", "plain/out.csv", 2, false, 0},
        {"a folder", "folder.csv", 2, false, 0},
        {"event log without head row", "old.csv", 5, false, 0},
        {"disk full after 4000 bytes", "old.csv", 1, false, 4000},
        {"bitmap without graph", "old.csv", 1, true, 0},
    };
    const QByteArray old = "old file\r\n";
    test::writeFile(path(QStringLiteral("old.csv")), old);
    const QStringList before = entries();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ExportCommand export_ = command();
        ExportSource source = alarmSource();
        source.logType = c.logType;
        source.seqNo = 999999;
        source.logs.interval = trend.get();
        source.graphView = c.graphView;
        const QString target = path(QString::fromUtf8(c.target));
        dialogs.shown.clear();
        dialogs.chosen = {target, 1};
        started = ended = 0;
        ExportOutcome outcome;
        {
            std::optional<test::FileSizeLimit> full;
            if (c.sizeLimit > 0)
                full.emplace(c.sizeLimit);
            outcome = export_.Run(source);
        }
        EXPECT_EQ(outcome, ExportOutcome::Failed);
        ASSERT_FALSE(dialogs.shown.isEmpty());
        const MessageBoxRequest &box = dialogs.shown.back();
        EXPECT_EQ(box.messageId, 30101);
        EXPECT_TRUE(box.text.contains(target)) << box.text.toStdString();
        EXPECT_FALSE(box.text.contains(QLatin1String("Unknown error"))) << box.text.toStdString();
        EXPECT_EQ(box.icon, BoxIcon::Critical);
        EXPECT_EQ(export_.LastExportFile(), QString());
        EXPECT_EQ(ended, started);
        EXPECT_FALSE(dialogs.writingAtBox.back()) << "the box showed over the progress window";
        EXPECT_EQ(test::readFile(path(QStringLiteral("old.csv"))), old);
        EXPECT_EQ(entries(), before);
        EXPECT_TRUE(QFileInfo(path(QStringLiteral("folder.csv"))).isDir());
        EXPECT_TRUE(QDir(path(QStringLiteral("folder.csv"))).isEmpty());
    }
}

// A write that fails part way through keeps the old file and leaves no temporary file.
TEST_F(ExportCommandTest, AWholeFileFailingAfterSomeBytesKeepsTheOldOne) {
    const QString target = path(QStringLiteral("keep.csv"));
    test::writeFile(target, "old");
    EXPECT_THROW(WriteWholeFile(target,
                                [](QIODevice &device) {
                                    device.write(QByteArray(100000, 'x'));
                                    throw TqError(ErrorKind::Database, QStringLiteral("gone"));
                                }),
                 TqError);
    EXPECT_EQ(test::readFile(target), QByteArray("old"));
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("TQ6200.mdb"), QStringLiteral("keep.csv")}));
}

// A long table lets the event loop run, at most every 50 ms, while the old file stays in
// place until the new one is complete and the window stays in its writing state.
TEST_F(ExportCommandTest, ALongExportYieldsAndKeepsTheOldFileMeanwhile) {
    const std::unique_ptr<clsInterval> trend = Trend(53999);
    const QString target = path(QStringLiteral("long.csv"));
    test::writeFile(target, "old");
    dialogs.chosen = {target, 4};
    ExportCommand export_ = command();
    ExportSource source;
    source.logType = 1;
    source.logs.interval = trend.get();

    int ticks = 0;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        EXPECT_EQ(test::readFile(target), QByteArray("old"));
        EXPECT_EQ(started, 1);
        EXPECT_EQ(ended, 0);
    });
    timer.start();
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(export_.Run(source), ExportOutcome::Written);
    const qint64 elapsed = clock.elapsed();
    timer.stop();

    EXPECT_EQ(ended, 1);
    EXPECT_LE(ticks, elapsed / 50 + 1) << elapsed << " ms";
    if (elapsed >= 150) {
        EXPECT_GE(ticks, 1) << elapsed << " ms";
    }
    const QByteArray written = test::readFile(target);
    EXPECT_EQ(written, expected(source, 4));
    // "." as the decimal mark, whatever the locale: the German run checks it too.
    EXPECT_TRUE(written.contains(" 09:30:20,0.2, %LEL\r\n"));
}

} // namespace
} // namespace tq
