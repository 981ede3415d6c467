#include "core/program_state.h"
#include "graph/graph_drawing.h"
#include "graph/uclVtmGraph.h"
#include "graph_fixture.h"
#include "print/command/export_command.h"
#include "print/command/graph_bitmap.h"
#include "test_support.h"
#include "ui/main/window/scripted_dialogs.h"

#include <QApplication>
#include <QBuffer>
#include <QtEndian>

namespace tq {
namespace {

constexpr qint32 kCursorColor = 0x563412; // a colour nothing else in the picture has

quint32 le32(const QByteArray &bytes, int at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
quint16 le16(const QByteArray &bytes, int at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

qsizetype pixelsOf(const QImage &image, QColor colour) {
    qsizetype count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y).rgb() == colour.rgb() ? 1 : 0;
    return count;
}

// The main window's alarm trend in the program's curve colour, the cursor and its read-out
// shown over it.
class GraphBitmapTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        Globals().AppFolder = dir.path();
        Globals().GraphColors[0] = 65280; // the program's green
        window.resize(700, 420);
        graph = new uclVtmGraph(&window);
        graph->setGeometry(10, 10, 640, 360);
        graph->setBackColor(0xFFFFFF);
        graph->setCursorColor(kCursorColor);
        test::TrendFixture trend = test::AlarmTrend();
        trend.series[0].color = Globals().GraphColors[0];
        test::FillGraph(*graph, trend);
        graph->setCursorVisible(true);
    }
    QWidget *picture() const { return graph->findChild<QWidget *>(QStringLiteral("picGraph")); }
    // Exports the graph view into `name` and returns the file's bytes.
    QByteArray exported(const QString &name) {
        dialogs.chosen = {path(name), 1};
        ExportCommand command;
        ExportSource source;
        source.logType = 2;
        source.graphView = true;
        source.graph = graph;
        EXPECT_EQ(command.Run(source), ExportOutcome::Written);
        EXPECT_EQ(command.LastExportFile(), path(name));
        return test::readFile(path(name));
    }

    test::ScriptedDialogs dialogs;
    QWidget window;
    uclVtmGraph *graph = nullptr;
};

TEST_F(GraphBitmapTest, TheGraphIsSavedAsA24BitBitmapOfItsPicture) {
    const QByteArray bmp = exported(QStringLiteral("graph.bmp"));
    const QSize size = picture()->size();
    ASSERT_EQ(size, graph->contentsRect().size());
    const quint32 rowBytes = (quint32(size.width()) * 3 + 3) & ~3u;
    ASSERT_GE(bmp.size(), 54);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(le32(bmp, 2), quint32(bmp.size()));
    EXPECT_EQ(le32(bmp, 10), 54u); // the pixels follow the two headers
    EXPECT_EQ(le32(bmp, 14), 40u);
    EXPECT_EQ(qint32(le32(bmp, 18)), size.width());
    EXPECT_EQ(qint32(le32(bmp, 22)), size.height()); // positive: bottom-up rows
    EXPECT_EQ(le16(bmp, 26), 1);
    EXPECT_EQ(le16(bmp, 28), 24);
    EXPECT_EQ(le32(bmp, 30), 0u);
    EXPECT_EQ(le32(bmp, 34), rowBytes * quint32(size.height()));
    EXPECT_EQ(quint32(bmp.size()), 54 + rowBytes * quint32(size.height()));

    // Pixel for pixel the picture on screen: curves in the gas's colour, no cursor.
    const QImage read = QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(read, graph->Picture().convertToFormat(QImage::Format_RGB32));
    EXPECT_GT(pixelsOf(read, GraphColor(Globals().GraphColors[0])), 300);
    EXPECT_EQ(pixelsOf(read, GraphColor(kCursorColor)), 0);
}

// Widths whose rows need 0 to 3 bytes of padding.
TEST(GraphBitmap, RowsArePaddedToFourBytesBottomUp) {
    for (const int width : {4, 5, 6, 7}) {
        QImage image(width, 2, QImage::Format_RGB32);
        image.fill(QColor(10, 20, 30));
        image.setPixelColor(0, 0, QColor(1, 2, 3)); // top left
        QBuffer device;
        device.open(QIODevice::WriteOnly);
        WriteBitmap(image, device);
        const QByteArray bmp = device.data();
        const int rowBytes = (width * 3 + 3) & ~3;
        ASSERT_EQ(bmp.size(), 54 + 2 * rowBytes) << width;
        // The top row comes second; each pixel blue, green, red.
        EXPECT_EQ(bmp.mid(54 + rowBytes, 3), QByteArray("\x03\x02\x01", 3)) << width;
        EXPECT_EQ(bmp.mid(54, 3), QByteArray("\x1e\x14\x0a", 3)) << width;
        EXPECT_EQ(bmp.mid(54 + width * 3, rowBytes - width * 3),
                  QByteArray(rowBytes - width * 3, '\0'))
            << width;
    }
}

// A visible graph is drawn again and takes the focus after the export, a "No" included.
TEST_F(GraphBitmapTest, AVisibleGraphTakesTheFocusAfterwards) {
    test::writeFile(path(QStringLiteral("kept.bmp")), "old");
    window.show();
    QWidget other(&window);
    other.setFocusPolicy(Qt::StrongFocus);
    other.setFocus();
    dialogs.answers = {BoxAnswer::No};
    dialogs.chosen = {path(QStringLiteral("kept.bmp")), 1};
    ExportCommand command;
    ExportSource source;
    source.logType = 1;
    source.graphView = true;
    source.graph = graph;
    EXPECT_EQ(command.Run(source), ExportOutcome::Declined);
    EXPECT_EQ(window.focusWidget(), picture());
    EXPECT_EQ(test::readFile(path(QStringLiteral("kept.bmp"))), QByteArray("old"));
}

} // namespace
} // namespace tq
