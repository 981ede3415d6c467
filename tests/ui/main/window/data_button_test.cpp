// The Data button after downloads from the detector simulator.
#include "download_fixture.h"

#include "core/program_state.h"
#include "ui/browser/DataPage.h"

#include <QTreeWidget>

#include <set>

namespace tq {
namespace {

using test::DownloadSetup;
using test::DownloadWindowTest;

class DataButtonTest : public DownloadWindowTest {
protected:
    // The letters of the type folders in the tree.
    QString typeFolders() {
        std::set<QString> letters;
        for (const LogTreeNode &node : window->dataPage().tree().nodes())
            if (node.type)
                letters.insert(node.letter);
        QString all;
        for (const QString &letter : letters)
            all += letter;
        return all;
    }

    // Downloads the image's logs with the Data page shown before and after, and gives the
    // type folders the second Data press shows.
    QString foldersAfterDownload(const QString &image) {
        DownloadSetup setup;
        setup.image = image;
        connect(setup);
        window->cmdInst_Click(2);
        EXPECT_EQ(window->dataPage().tree().nodes().size(), 1u); // the root of no logs
        press(1);
        press(2);
        EXPECT_TRUE(window->dataPage().LogTreeStale());
        window->cmdInst_Click(2);
        EXPECT_FALSE(window->dataPage().LogTreeStale());
        return typeFolders();
    }
};

TEST_F(DataButtonTest, ADownloadShowsItsLogsAndASecondPressReadsNoDatabase) {
    EXPECT_EQ(foldersAfterDownload(test::FullImage()), QStringLiteral("ABDEIJOX"));
    const std::size_t nodes = window->dataPage().tree().nodes().size();
    // Without a database to read, a press on a tree that is not stale changes nothing.
    const QString database = Globals().DatabasePath;
    ASSERT_TRUE(QFile::rename(database, database + QStringLiteral(".away")));
    window->cmdInst_Click(2);
    EXPECT_EQ(window->dataPage().tree().nodes().size(), nodes);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_TRUE(window->controls().cmdInst[2]->isEnabled());
    ASSERT_TRUE(QFile::rename(database + QStringLiteral(".away"), database));
}

TEST_F(DataButtonTest, CalibrationHistoriesAloneShowToo) {
    const QString histories = QStringLiteral(
        R"({"histories": [{"log_no": 1, "serial": "X1", "date": "2024-05-02 08:00:00",
            "gases": [{"name": "CH4", "decimals": 1, "unit": "%LEL", "full": 100}],
            "records": [{"calibration": {"slot": 0, "before": 50.0, "after": 52.2}}]}]})");
    EXPECT_EQ(foldersAfterDownload(test::BuildImage(histories)), QStringLiteral("D"));
}

} // namespace
} // namespace tq
