#pragma once

#include "core/gui/flex_grid.h"
#include "core/gui/twips.h"
#include "core/program_state.h"
#include "scripted_dialogs.h"
#include "test_support.h"
#include "ui/main/window/comm_log.h"
#include "ui/main/window/frmMain.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>

#include <memory>
#include <utility>
#include <vector>

namespace tq::test {

// The lines of the communication log with the colour each starts in.
inline std::vector<std::pair<QString, QColor>> logLines(const CommLog *log) {
    std::vector<std::pair<QString, QColor>> lines;
    for (QTextBlock block = log->document()->begin(); block.isValid(); block = block.next())
        if (!block.text().isEmpty())
            lines.emplace_back(block.text(),
                               block.begin().fragment().charFormat().foreground().color());
    return lines;
}

// A main window started in a fresh program folder, with scripted message boxes.
class MainWindowTest : public TempFolderTest {
protected:
    void SetUp() override {
        Globals() = ProgramState();
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override {
        window.reset();
        QDir::setCurrent(m_previousFolder);
        Globals() = ProgramState();
    }

    // Lines of TQ6200.ini, a key and its values separated by tabs.
    void writeSettings(const QByteArray &lines) {
        writeFile(path(QStringLiteral("TQ6200.ini")), lines);
    }

    std::unique_ptr<frmMain> makeWindow() { return std::make_unique<frmMain>(); }

    frmMain &load() {
        window = makeWindow();
        EXPECT_EQ(window->Form_Load(), frmMain::LoadResult::Loaded);
        window->show();
        settle();
        return *window;
    }

    template <typename T = QWidget> T *control(const char *name) const {
        T *found = window->findChild<T *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Lets queued events (resizes, timers) run for a while.
    static void settle(int ms = 0) {
        QElapsedTimer clock;
        clock.start();
        do
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        while (clock.elapsed() < ms);
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> window;

private:
    QString m_previousFolder;
};

} // namespace tq::test
