#include "core/messages.h"
#include "print/command/export_naming.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace tq {
namespace {

TEST(ExportNaming, TheProposedNameFollowsTheLastExportAndTheView) {
    struct Case {
        const char *last;
        const char *appFolder;
        bool bitmap;
        const char *proposed;
    };
    const Case cases[] = {
        {"", "/app", false, "/app/Sample.csv"},
        {"", "/app/", false, "/app/Sample.csv"},
        {"", "/app", true, "/app/Sample.bmp"},
        {"", "/", true, "/Sample.bmp"},
        {"/d/log.csv", "/app", true, "/d/log.bmp"},
        {"/d/log.bmp", "/app", false, "/d/log.csv"},
        {"/d/log.csv", "/app", false, "/d/log.csv"},
        {"/d/log.txt", "/app", false, "/d/log.csv"},
        {"/d/log.CSV", "/app", false, "/d/log.CSV"},
        {"/d/log.Bmp", "/app", true, "/d/log.Bmp"},
        {"/d/report", "/app", false, "/d/report.csv"},
        {"/d.v2/report", "/app", true, "/d.v2/report.bmp"},
        {"/d/report.", "/app", false, "/d/report.csv"},
        {"/d/a.tar.gz", "/app", false, "/d/a.tar.csv"},
        {"/d/x.jpeg", "/app", true, "/d/x.bmp"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(
            ProposedExportName(QString::fromUtf8(c.last), QString::fromUtf8(c.appFolder), c.bitmap),
            QString::fromUtf8(c.proposed))
            << c.last << (c.bitmap ? " as bitmap" : " as table");
}

TEST(ExportNaming, TheFilterFollowsTheTypeAndTheView) {
    struct Case {
        qint32 logType;
        bool bitmap;
        int message;
        qsizetype entries;
    };
    const Case cases[] = {
        {1, false, 5704, 4},  {2, false, 5704, 4},  {3, false, 5701, 3}, {5, false, 5701, 3},
        {6, false, 5701, 3},  {7, false, 5701, 3},  {9, false, 5701, 3}, {10, false, 5701, 3},
        {11, false, 5701, 3}, {12, false, 5701, 3}, {1, true, 5712, 1},  {2, true, 5712, 1},
    };
    for (const Case &c : cases) {
        const int message = ExportFilterMessage(c.logType, c.bitmap);
        EXPECT_EQ(message, c.message) << c.logType;
        const QStringList entries = ChooserFilter(LoadMessage(message)).split(QStringLiteral(";;"));
        EXPECT_EQ(entries.size(), c.entries) << c.logType;
        for (const QString &entry : entries)
            EXPECT_TRUE(entry.endsWith(c.bitmap ? QLatin1String("(*.bmp)") : QLatin1String(")")))
                << entry.toStdString();
    }
}

TEST(ExportNaming, ChooserEntriesAreTheMessagesPairs) {
    EXPECT_EQ(ChooserFilter(QStringLiteral("Bitmap bmp (*.bmp)|*.bmp| ")),
              QStringLiteral("Bitmap bmp (*.bmp)"));
    EXPECT_EQ(ChooserFilter(QStringLiteral("Comma csv (*.csv)|*.csv|Tab csv (*.csv)|*.csv")),
              QStringLiteral("Comma csv (*.csv);;Tab csv (*.csv)"));
    // A description without its pattern gets it in brackets, so the chooser filters by it.
    EXPECT_EQ(ChooserFilter(QStringLiteral("Text|*.txt|All|*")),
              QStringLiteral("Text (*.txt);;All (*)"));
    EXPECT_EQ(ChooserFilter(QString()), QString());
}

} // namespace
} // namespace tq
