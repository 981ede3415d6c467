#pragma once

#include "core/messages.h"
#include "link/serial_log.h"
#include "link/simulator.h"
#include "main_window_fixture.h"
#include "ui/main/window/frmUpload.h"
#include "ui/main/window/window_colours.h"

#include <QDeadlineTimer>
#include <QFile>

#include <functional>
#include <vector>

namespace tq::test {

// A full image: logs of every family.
inline QString FullImage() {
    return BuildImage(CombinedFixtures({"interval_basic", "alarm_basic", "events_basic"}));
}

// What the simulator holds and how the settings file starts the window.
struct DownloadSetup {
    QStringList simulatorOptions;
    QString image = FullImage();
    bool autoLoad = false;
    bool autoRemove = false;
};

// The main window connected to the detector simulator on a pseudo-terminal.
class DownloadWindowTest : public MainWindowTest {
protected:
    using Setup = DownloadSetup;

    void TearDown() override {
        window.reset();
        sim.reset();
        qunsetenv("TQ6200_SERIAL_PORT");
        MainWindowTest::TearDown();
    }

    // Starts the simulator and the window, which opens the simulator's terminal at its
    // load; the wait for the connection is the caller's.
    frmMain &start(const Setup &setup) {
        sim = std::make_unique<Simulator>(setup.simulatorOptions +
                                          QStringList{QStringLiteral("--image"), setup.image});
        EXPECT_FALSE(sim->device().isEmpty());
        qputenv("TQ6200_SERIAL_PORT", sim->device().toUtf8());
        // Short waits, so a dropped block or a confirm costs little, yet a loaded machine
        // still connects.
        writeSettings("Timeout\t2\r\nRetry\t3\r\nDelay\t1\r\nAuto Load Mode\t" +
                      truth(setup.autoLoad) + "\t" + truth(setup.autoRemove) + "\r\n");
        window = makeWindow();
        EXPECT_EQ(window->Form_Load(), frmMain::LoadResult::Loaded);
        window->show();
        return *window;
    }

    // Started and connected, the connection served (the automatic mode run through).
    frmMain &connect(const Setup &setup = {}) {
        start(setup);
        EXPECT_TRUE(waitFor([this] { return window->uclPV7130().Connected(); }));
        settle();
        return *window;
    }

    static bool waitFor(const std::function<bool()> &done, int ms = 20000) {
        const QDeadlineTimer deadline(ms);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    void press(int index) { window->downloadPage().cmdDown[std::size_t(index)]->click(); }

    // Enabled state of the six download commands.
    std::vector<bool> downloadCommands() const {
        std::vector<bool> enabled;
        for (const QPushButton *button : window->downloadPage().cmdDown)
            enabled.push_back(button->isEnabled());
        return enabled;
    }

    std::vector<std::pair<QString, QColor>> screenLines() const {
        return logLines(window->downloadPage().rtbLog);
    }
    bool screenHas(int message, const QColor &color) const {
        const std::pair<QString, QColor> line{LoadMessage(message).trimmed(), color};
        for (const auto &[text, colour] : screenLines())
            if (text.trimmed() == line.first && colour == color)
                return true;
        return false;
    }
    bool screenHasText(int message) const {
        for (const auto &[text, colour] : screenLines())
            if (text.trimmed() == LoadMessage(message).trimmed())
                return true;
        return false;
    }

    // The serial log, with the earlier parts that an import's decoding error moved into
    // ErrorLogs before it.
    QString serialLog() const {
        QString text;
        for (const QString &part : errorLogs())
            text += QString::fromUtf8(readFile(part));
        return text + QString::fromUtf8(readFile(path(QStringLiteral("SerialLog.log"))));
    }
    QStringList errorLogs() const {
        const QDir folder(path(QStringLiteral("ErrorLogs")));
        QStringList paths;
        for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
            paths << folder.filePath(name);
        return paths;
    }
    // How often the dated serial-log line of `message` was written.
    qsizetype serialLogCount(int message) const {
        return serialLog().count(DatedLogLine(message, dialogs.now));
    }

    // Log_Head rows by Types, "type|count" lines in type order.
    std::string storedTypes() const {
        return Sqlite(Globals().DatabasePath,
                      QStringLiteral("select Types, count(*) from Log_Head group by Types "
                                     "order by Types"))
            .toStdString();
    }

    static QByteArray truth(bool value) { return value ? "True" : "False"; }

    std::unique_ptr<Simulator> sim;
};

} // namespace tq::test
