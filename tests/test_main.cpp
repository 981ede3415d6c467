#include <QApplication>

#include <gmock/gmock.h>

int main(int argc, char **argv) {
    // Tests never need a display; this must be set before the application object exists.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
