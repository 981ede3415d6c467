#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include "core/messages.h"

// The main window arrives with its own work; until then the program shows its title.
int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setObjectName(QStringLiteral("frmMain"));
    window.setWindowTitle(tq::LoadMessage(5001));
    auto *label = new QLabel(tq::LoadMessage(5001), &window);
    label->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(label);
    window.resize(776, 550);
    window.show();
    return app.exec();
}
