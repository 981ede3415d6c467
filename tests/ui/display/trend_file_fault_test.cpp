// A trend whose trend file is missing or damaged: the Data View page opens it with what
// could be read and says so in a box; its Export and Print then fail before asking for a
// file or a printer, writing nothing.
#include "data_view_fixture.h"
#include "logs/trend/trend_file.h"
#include "recording_surface.h"

#include <QFile>
#include <QPushButton>

#include <functional>
#include <limits>

namespace tq {
namespace {

class TrendFileFaultTest : public test::DataViewTest {
protected:
    QString trendFileOf(int type) const {
        const DbRow head = Database(Globals().DatabasePath)
                               .query(QStringLiteral("Select FolderID, Names From Log_head "
                                                     "Where SeqNo = ?"),
                                      {seqOf(type)})
                               .at(0);
        return TrendFilePath(Globals().DataFolder, head.text(QStringLiteral("FolderID")),
                             head.text(QStringLiteral("Names")));
    }
};

// One record's time replaced by NaN: the records before it are what is there.
void damageRecord(const QString &file, qint64 record) {
    QFile trend(file);
    ASSERT_TRUE(trend.open(QIODevice::ReadWrite));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    trend.seek((record - 1) * kTrendRecordSize);
    trend.write(reinterpret_cast<const char *>(&nan), sizeof nan);
}

TEST_F(TrendFileFaultTest, ATrendWithoutItsWholeFileOpensSaysSoAndWritesNothing) {
    struct Case {
        const char *name;
        int type;
        std::function<void(const QString &file)> fault;
        int box;
        int tableRows; // with the heading row; -1: not listed
    };
    const Case cases[] = {
        {"interval trend without its file", 1, [](const QString &f) { QFile::remove(f); }, 30005,
         -1},
        {"bar-hole trend without its file", 9, [](const QString &f) { QFile::remove(f); }, 30005,
         -1},
        {"alarm trend damaged at record 11", 2, [](const QString &f) { damageRecord(f, 11); },
         30006, 11},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = trendFileOf(c.type);
        c.fault(file);
        dialogs.shown.clear();
        const int pagesBefore = pagesShown;
        viewData(c.type);
        ASSERT_EQ(dialogs.ids(), QList<int>{c.box});
        EXPECT_EQ(dialogs.shown[0].text, LoadMessage(c.box, {file}));
        EXPECT_EQ(dialogs.shown[0].title, LoadMessage(5151));
        EXPECT_EQ(pagesShown, pagesBefore + 1) << "the log opens all the same";
        if (c.tableRows > 0) {
            EXPECT_EQ(page->vfgBrowse->Rows(), c.tableRows);
        }

        dialogs.shown.clear();
        test::FakePrinters printers;
        page->cmdBrowse_Click(2);
        page->cmdBrowse_Click(0);
        EXPECT_EQ(dialogs.ids(), (QList<int>{30101, 30102}));
        EXPECT_TRUE(dialogs.shown[0].text.contains(LoadMessage(c.box, {file})));
        EXPECT_TRUE(dialogs.proposed.isEmpty()) << "no file was asked for";
        EXPECT_TRUE(printers.offered.isEmpty()) << "no printer was asked for";
    }
}

} // namespace
} // namespace tq
