// The logger download's imports as the window runs them: a family that fails is told as
// its failure and the others still run; the debug button imports the dump file alone.
#include "download_fixture.h"

#include "core/program_state.h"

namespace tq {
namespace {

using test::DownloadWindowTest;

const std::vector<bool> kAll{true, true, true, true, true, true};

class LogDownloadTest : public DownloadWindowTest {};

TEST_F(LogDownloadTest, AFamilyThatFailsIsToldAndTheNextImportsRun) {
    connect({{}, test::BuildImage(test::CombinedFixtures({"corrupt_gas_slot", "events_basic"}))});
    press(0);
    EXPECT_TRUE(screenHas(5421, kLogRed));
    EXPECT_TRUE(screenHas(5426, kLogRed));
    EXPECT_FALSE(screenHasText(5420));
    EXPECT_FALSE(screenHasText(5425));
    for (int complete : {5469, 5449, 5454, 5459})
        EXPECT_TRUE(screenHas(complete, kLogGreen)) << complete;
    EXPECT_EQ(storedTypes(), "1|1\n2|1\n3|1\n5|2\n6|1\n7|1\n11|2\n12|1");
    EXPECT_FALSE(window->downloadCommands().LastDownloadImportedAll());
    // The image itself arrived: the download commands are all there.
    EXPECT_EQ(downloadCommands(), kAll);
    EXPECT_EQ(Globals().WorkState, 0);
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}

// The debug import needs no detector and may run twice on the same file: each run
// reports as the first, and nothing is stored twice.
TEST_F(LogDownloadTest, TheDebugImportReadsTheDumpFileAlone) {
    load();
    ASSERT_FALSE(window->uclPV7130().Connected());
    ASSERT_TRUE(QFile::copy(test::FullImage(), window->downloadCommands().DumpFile()));
    const std::string everyType = "1|2\n2|3\n3|1\n5|2\n6|1\n7|1\n9|1\n11|2\n12|1";
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        window->downloadPage().rtbLog->clear();
        window->downloadPage().cmdInportDat->click();
        EXPECT_EQ(storedTypes(), everyType);
        for (int complete : {5420, 5469, 5425, 5449, 5454, 5459})
            EXPECT_TRUE(screenHas(complete, kLogGreen)) << complete;
    }
    // Without a dump file nothing is imported, and the window says why.
    QFile::remove(window->downloadCommands().DumpFile());
    window->downloadPage().rtbLog->clear();
    window->downloadPage().cmdInportDat->click();
    ASSERT_EQ(screenLines().size(), 1u);
    EXPECT_EQ(screenLines().front().second, kLogRed);
}

} // namespace
} // namespace tq
