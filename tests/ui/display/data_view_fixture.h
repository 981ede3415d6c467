#pragma once

#include "core/database.h"
#include "core/errors.h"
#include "core/gui/flex_grid.h"
#include "core/log_schema.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "program_folder.h"
#include "test_support.h"
#include "ui/display/data_view_page.h"
#include "ui/main/import_pipeline.h"
#include "ui/main/window/scripted_dialogs.h"

#include <QDir>
#include <QGroupBox>

#include <memory>

namespace tq::test {

// The Data View page in a frame of its own, over a database imported from the data-view
// fixture (interval trends with events, alarm trends near them, a bar-hole trend) and the
// event-log fixture. The fills run through counters; a test may make one fail.
class DataViewTest : public TempFolderTest {
protected:
    void SetUp() override {
        UseProgramFolder(dir.path());
        ProgramState &g = Globals();
        g.CompletelyView = true;
        g.DebugMode = false;
        g.TrendSearchBefore = -30;
        g.TrendSearchAfter = 45;
        g.ViewSeqNo = 0;
        g.ViewKind = 0;
        CreateLogDatabase(g.DatabasePath);
        const ImportRun run =
            RunImports(BuildImage(CombinedFixtures(
                           {QStringLiteral("events_basic"), QStringLiteral("data_view")})),
                       std::make_shared<clsInstrument>(), ProgramStoreContext());
        ASSERT_TRUE(run.EveryImportSucceeded());

        frame.resize(900, 600);
        DataViewPage::Fills fills;
        fills.browseData = [this](FlexGrid &summary, FlexGrid &table, DataViewLogs &logs,
                                  const BrowseDataRequest &request) {
            ++browseFills;
            if (failFill)
                throw TqError(ErrorKind::Database, QStringLiteral("disk gone"));
            return DataViewPage::ProductionFills().browseData(summary, table, logs, request);
        };
        fills.trendGraph = [this](uclVtmGraph &graph, qint32 type, DataViewLogs &logs,
                                  const TrendGraphOptions &options) {
            ++graphFills;
            return DataViewPage::ProductionFills().trendGraph(graph, type, logs, options);
        };
        page = std::make_unique<DataViewPage>(
            &frame, selection,
            DataViewPage::WindowHooks{
                [this] { ++layouts; },
                [this] {
                    ++pagesShown;
                    page->layOut(13000, 8000, LoadMessage(101));
                },
                [this] { ++dataPagesShown; },
                [this] {
                    const ProgramState &state = Globals();
                    opened.append({state.ViewSeqNo, state.ViewKind, state.ViewEventDate});
                },
                [this](bool writing) { exportProgress.append(writing); }},
            std::move(fills));
        page->layOut(13000, 8000, LoadMessage(101));
    }

    // The SeqNo of the nth stored log of a type, in SeqNo order.
    qint64 seqOf(int type, int nth = 0) const {
        Database db(Globals().DatabasePath);
        const auto rows = db.query(
            QStringLiteral("Select SeqNo From Log_head Where Types = ? Order By SeqNo"), {type});
        EXPECT_GT(rows.size(), nth) << "no log " << nth << " of type " << type;
        return rows.size() > nth ? rows[nth].value(QStringLiteral("SeqNo")).toLongLong() : 0;
    }
    void select(int type, int nth = 0) { selection = {type, type ? seqOf(type, nth) : 0}; }
    void viewData(int type, int nth = 0) {
        select(type, nth);
        page->cmdDetail_Click();
    }
    // The frame's caption for a type caption message.
    static QString captionOf(int message) {
        return LoadMessage(5151) + QLatin1Char('(') + LoadMessage(message) + QLatin1Char(')');
    }

    struct Opened {
        qint64 seqNo;
        qint32 kind;
        Date eventDate;
    };

    ScriptedDialogs dialogs;
    QGroupBox frame;
    LogSelection selection;
    std::unique_ptr<DataViewPage> page;
    int browseFills = 0;
    int graphFills = 0;
    bool failFill = false;
    int layouts = 0;
    int pagesShown = 0;
    int dataPagesShown = 0;
    QList<bool> exportProgress; // the progress hook's calls
    QList<Opened> opened;
};

} // namespace tq::test
