#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>

#include "core/errors.h"
#include "core/log_schema.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "core/settings_file.h"

namespace {

// The program's start-up as far as it exists: its values, the settings file, the data
// folder and the database. A step that fails is skipped, as the start-up does.
void startUp() {
    tq::ProgramState &g = tq::Globals();
    tq::SetStartupValues(QDir::currentPath());
    tq::LoadSettings();
    QString location = g.DataLocation;
    if (!location.endsWith(QLatin1Char('/')))
        location += QLatin1Char('/');
    g.DataFolder = location + QStringLiteral("Data");
    g.DatabasePath = location + QStringLiteral("TQ6200.mdb");
    try {
        QDir().mkpath(g.DataFolder);
        tq::CreateLogDatabase(g.DatabasePath);
    } catch (const tq::TqError &e) {
        QMessageBox::warning(nullptr, tq::LoadMessage(5001), e.message());
    }
}

} // namespace

// The main window arrives with its own work; until then the program shows its title.
int main(int argc, char **argv) {
    QApplication app(argc, argv);
    startUp();
    QMainWindow window;
    window.setObjectName(QStringLiteral("frmMain"));
    window.setWindowTitle(tq::LoadMessage(5001));
    auto *label = new QLabel(tq::LoadMessage(5001), &window);
    label->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(label);
    window.resize(776, 550);
    window.show();
    const int status = app.exec();
    try {
        tq::SaveSettings();
    } catch (const tq::TqError &e) {
        QMessageBox::warning(nullptr, tq::LoadMessage(5001), e.message());
    }
    return status;
}
