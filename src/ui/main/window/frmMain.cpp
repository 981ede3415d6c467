#include "ui/main/window/frmMain.h"

#include "core/errors.h"
#include "core/gui/dialogs.h"
#include "core/gui/display_font.h"
#include "core/gui/settings_colour.h"
#include "core/gui/twips.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "core/program_title.h"
#include "core/settings_file.h"
#include "graph/uclVtmGraph.h"
#include "link/serial_log.h"
#include "ui/browser/DataPage.h"
#include "ui/dataview/frmIntermittence.h"
#include "ui/display/data_view_page.h"
#include "ui/main/lock_database.h"
#include "ui/main/termination_signals.h"
#include "ui/main/window/comm_log.h"
#include "ui/main/window/main_window_layout.h"
#include "ui/main/window/serial_log_files.h"
#include "ui/main/window/status_lamp.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QThread>
#include <QTreeWidget>

#include <exception>

namespace tq {

namespace {

// A start-up step that fails is left out and the next one runs.
template <typename Step> void guarded(Step step) {
    try {
        step();
    } catch (const std::exception &) {
    }
}

void tell(int messageId, const QString &text, const QString &title, BoxIcon icon = BoxIcon::None) {
    ShowMessage({messageId, text, title, icon, BoxButtons::Ok});
}

// The page frame that a menu button shows (the Data View page has no button).
constexpr std::array<int, 5> kPageOfButton{0, 1, 2, 4, 5};

} // namespace

frmMain::frmMain(QWidget *parent) : frmMain(std::make_unique<uclPvif>(), parent) {}

frmMain::frmMain(std::unique_ptr<uclPvif> link, QWidget *parent)
    : QWidget(parent), m_link(std::move(link)) {
    setObjectName(QStringLiteral("frmMain"));
    // The converter's line settings, before any port is opened.
    Globals().CommSettings = QStringLiteral("921600,n,8,1");
    m_controls = BuildMainWindowControls(this);
    m_downloadPage = new DownloadPage(m_controls.fraMenu[0], m_linkInstrument);
    createBrowserPages();
    for (int i = 0; i < int(m_controls.cmdInst.size()); ++i)
        connect(m_controls.cmdInst[i], &QPushButton::clicked, this,
                [this, i] { cmdInst_Click(i); });
    m_commands = std::make_unique<DownloadCommands>(*m_link, m_linkInstrument, downloadHooks());
    for (int i = 0; i < int(m_downloadPage->cmdDown.size()); ++i)
        connect(m_downloadPage->cmdDown[std::size_t(i)], &QPushButton::clicked, m_commands.get(),
                [this, i] { m_commands->cmdDown_Click(i); });
    connect(m_downloadPage->cmdInportDat, &QPushButton::clicked, m_commands.get(),
            &DownloadCommands::cmdInportDat_Click);
    m_tmrInter.setInterval(100);
    connect(&m_tmrInter, &QTimer::timeout, this, &frmMain::tmrInter_Timer);
    m_signalClose.setInterval(50);
    connect(&m_signalClose, &QTimer::timeout, this, &frmMain::closeWhenIdle);
    createInstrumentPages();
    connectLinkEvents();
}

frmMain::~frmMain() {
    m_upload.Unload();
}

frmMain::LoadResult frmMain::Form_Load() {
    ProgramState &g = Globals();
    m_firstActivate = true;
    guarded([] { SetStartupValues(QDir::currentPath()); });
    guarded([this] { initWindowDefaults(); });
    guarded([] { LoadSettings(); });
    guarded([this] { applySizeValues(); });
    if (!lockDatabase())
        return LoadResult::EndProgram;
    guarded([this] { m_downloadPage->showAutoLoadSettings(); });
    guarded([this] { showDisplaySettings(); });
    guarded([this] { applyDisplayFont(); });
    guarded([this] { SetCaptions(); });
    guarded([this] {
        m_link->setLinkSettings(ProgramLinkSettings());
        m_link->setSerialComm(false);
    });
    guarded([this] { OpenUsbPort(); });
    guarded([this] { applyFirstRunSizeAndCentre(); });
    guarded([this] { m_controls.lblOption[5]->setProperty("Tag", Now().generalDate()); });
    guarded([this] {
        m_controls.fraOption[1]->setVisible(true);
        m_controls.fraOption[2]->setVisible(false);
    });
    prepareSerialLog();
    guarded([this, &g] { m_downloadPage->txtSuffix->setText(g.FactoryRecordSuffix); });
    m_commands->setDumpFile(QDir(g.AppFolder).filePath(QStringLiteral("TQ6200.DAT")));
    return LoadResult::Loaded;
}

// The database step: without the lock the program does not run.
bool frmMain::lockDatabase() {
    const LockDatabaseResult result = LockDatabase(m_lock);
    switch (result.state) {
    case DatabaseLock::State::Locked:
        return true;
    case DatabaseLock::State::Held:
        tell(300, result.message, ProgramBoxTitle());
        return false;
    default:
        tell(301, result.message, ProgramBoxTitle(), BoxIcon::Critical);
        return false;
    }
}

// The settings file's "Size Values" and "Data Select".
void frmMain::applySizeValues() {
    const MainWindowValues &values = Globals().MainWindow;
    resize(TwipsToPixelsX(values.Width), TwipsToPixelsY(values.Height));
    // A window that was minimized at exit starts normal, so a start always shows it.
    if (values.WindowState == 2)
        setWindowState(Qt::WindowMaximized);
    for (std::size_t i = 0; i < m_dataPage->chkLog.size(); ++i)
        m_dataPage->chkLog[i]->setChecked(values.DataSelect[i] == 1);
}

void frmMain::applyFirstRunSizeAndCentre() {
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const double screenWidth = PixelsToTwipsX(area.width());
    const double screenHeight = PixelsToTwipsY(area.height());
    if (Globals().ExecuteCount == 1) {
        const double width =
            screenWidth * 0.8 > kMinWindowWidth ? screenWidth * 0.8 : kMinWindowWidth;
        const double height =
            screenHeight * 0.6 > kMinWindowHeight ? screenHeight * 0.6 : kMinWindowHeight;
        resize(TwipsToPixelsX(width), TwipsToPixelsY(height));
    }
    const QSize size = this->size().expandedTo(
        QSize(TwipsToPixelsX(kMinWindowWidth), TwipsToPixelsY(kMinWindowHeight)));
    move(area.x() + (area.width() - size.width()) / 2,
         area.y() + (area.height() - size.height()) / 2);
}

// The font button shows the display font, the colour button the trend colour; the Data
// View page's graph takes its three colours.
void frmMain::showDisplaySettings() {
    const ProgramState &g = Globals();
    uclVtmGraph *graph = m_dataViewPage->vtmGraph;
    graph->ScaleColor = g.GraphColor.ScaleColor;
    graph->setBackColor(g.GraphColor.BackColor);
    graph->setCursorColor(g.GraphColor.CursorColor);
    QPushButton *fontButton = m_controls.cmdOptionDisp[0];
    fontButton->setText(FontCaption(DisplayQFont(g.DisplayFont)));
    QPushButton *colourButton = m_controls.cmdOptionDisp[1];
    QPalette palette = colourButton->palette();
    palette.setColor(QPalette::Button, ColorFromSettings(g.GraphColors[0]));
    colourButton->setPalette(palette);
    colourButton->setAutoFillBackground(true);
}

// The display font into every control, the page frames' captions in bold.
void frmMain::applyDisplayFont() {
    ApplyDisplayFont(*this);
    for (QGroupBox *page : m_controls.fraMenu) {
        QFont font = page->font();
        font.setBold(true);
        page->setFont(font);
    }
    m_downloadPage->fitCaptions();
    m_instrumentPage->fitCaptions();
    FitCentredFrames(m_controls);
}

void frmMain::initWindowDefaults() {
    MainWindowControls &c = m_controls;
    const ProgramState &g = Globals();
    showDisplaySettings();
    m_tmrInter.start();
    m_downloadPage->showStartState();
    c.cmdOption[0]->setEnabled(false);
    m_dataPage->setLogTreeStale(true);
    m_latestCalPage->optHistory[0]->setChecked(true);
    m_dataPage->chkRawData->setVisible(g.DebugMode);
}

void frmMain::InitSettings() {
    guarded([] { tq::InitSettings(); });
    guarded([this] { initWindowDefaults(); });
}

// Earlier serial logs move one generation on, and this run starts a new SerialLog.log.
// A file that will not go away is reported once and the start-up goes on.
void frmMain::prepareSerialLog() {
    const ProgramState &g = Globals();
    const QString current = SerialLogFile(g.AppFolder);
    try {
        if (g.SerialLogOn)
            RotateSerialLogs(g.AppFolder);
        if (!RemoveFileAndWait(current))
            throw TqError(ErrorKind::File, current);
    } catch (const TqError &) {
        tell(301, LoadMessage(301, {QDir::toNativeSeparators(current)}), LoadMessage(5001),
             BoxIcon::Warning);
    }
}

void frmMain::Form_Activate() {
    if (m_firstActivate) {
        for (QGroupBox *page : m_controls.fraMenu) {
            page->move(0, page->y());
            page->setVisible(false);
        }
        m_controls.fraMenu[0]->setVisible(true);
        emit serialLogLine(DatedLogLine(5541, Now()));
        m_firstActivate = false;
    }
    Form_Resize();
}

void frmMain::Form_Resize() {
    // Enlarging a small window raises a resize of its own inside the pass.
    if (m_inLayout)
        return;
    m_inLayout = true;
    LayOutMainWindow(
        this, m_controls,
        {*m_downloadPage, *m_instrumentPage, *m_dataPage, *m_dataViewPage, *m_latestCalPage});
    m_inLayout = false;
}

void frmMain::showPage(int frame) {
    for (QGroupBox *page : m_controls.fraMenu)
        page->setVisible(false);
    m_controls.fraMenu[frame]->setVisible(true);
    m_controls.fraMenu[frame]->update();
}

void frmMain::cmdInst_Click(int index) {
    if (index < 0 || index > 5)
        return;
    if (index == 5) {
        close();
        return;
    }
    switch (index) {
    case 0:
        ShowLinkStatus();
        break;
    case 1:
        m_instrumentPage->ShowLinkInstrument(m_link->Status());
        break;
    case 2:
        m_controls.cmdInst[2]->setEnabled(false);
        m_dataPage->BuildLogTree();
        m_dataPage->RefreshLogPage();
        m_controls.cmdInst[2]->setEnabled(true);
        break;
    case 3:
        m_latestCalPage->ShowLatestCalList();
        break;
    default:
        m_setPage->ShowSettings();
        break;
    }
    showPage(kPageOfButton[std::size_t(index)]);
    if (index == 2)
        m_dataPage->lvwLog->setFocus();
    Form_Resize();
}

void frmMain::AddCommLogLine(const QString &text, const QColor &color) {
    m_downloadPage->AddCommLogLine(text, color);
}

void frmMain::ShowLinkStatus() {
    m_downloadPage->ShowLinkStatus();
}

void frmMain::SaveDisplaySettings() {
    ProgramState &g = Globals();
    g.DisplayFont = FontSettingsOf(m_controls.cmdOptionDisp[0]->font());
    g.GraphColors[0] =
        ColorToSettings(m_controls.cmdOptionDisp[1]->palette().color(QPalette::Button));
    const uclVtmGraph *graph = m_dataViewPage->vtmGraph;
    g.GraphColor = {graph->ScaleColor, graph->BackColor(), graph->CursorColor()};
    MainWindowValues &values = g.MainWindow;
    values.WindowState = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    const QSize size = normal.isEmpty() ? this->size() : normal.size();
    values.Width = float(PixelsToTwipsX(size.width()));
    values.Height = float(PixelsToTwipsY(size.height()));
    for (std::size_t i = 0; i < m_dataPage->chkLog.size(); ++i)
        values.DataSelect[i] = m_dataPage->chkLog[i]->isChecked() ? 1 : 0;
    SaveSettings();
}

void frmMain::SetTrendColor(int slot, qint32 color) {
    m_dataViewPage->vtmGraph->setValueColor(slot, color);
    m_dataViewPage->vtmGraph->Refresh();
}

void frmMain::ResetAfterPowerOff() {
    AddCommLogLine(LoadMessage(5407), kLogGreen);
    m_linkInstrument.setCommFlags(false);
    SaveDisplaySettings();
    InitSettings();
    LoadSettings();
    showDisplaySettings();
    guarded([this] { applyDisplayFont(); });
    ShowLinkStatus();
    m_firstActivate = true;
    m_downloadPage->setAutoLoadBoxesEnabled(true);
    Form_Activate();
    guarded([this] { OpenUsbPort(); });
}

bool frmMain::Form_QueryUnload() {
    const bool refused = !m_controls.cmdInst[5]->isEnabled();
    const BoxAnswer answer = ShowMessage(
        {5373, LoadMessage(5373), ProgramBoxTitle(), BoxIcon::Question, BoxButtons::YesNo});
    if (answer != BoxAnswer::Yes || refused)
        return false;
    m_tmrInter.stop();
    return true;
}

// The settings file is written and the lock released; a failed write is told once and
// does not keep the lock.
void frmMain::Form_Unload() {
    m_unloaded = true;
    m_link->setTimerEnabled(false);
    m_upload.Unload();
    try {
        SaveDisplaySettings();
    } catch (const TqError &e) {
        tell(0, e.message(), LoadMessage(5001), BoxIcon::Warning);
    }
    m_lock.Release();
}

void frmMain::CloseOnSignal() {
    if (m_unloaded)
        return;
    m_closingOnSignal = true;
    m_signalClose.start();
    closeWhenIdle();
}

bool frmMain::ClosingOnSignal() const {
    return m_closingOnSignal || TerminationSignals::Requested();
}

void frmMain::closeWhenIdle() {
    // A command waits in an event loop of its own: stop it and let it return first. A new
    // exchange clears the link's Cancel, so it is set again on every look.
    if (QThread::currentThread()->loopLevel() > 1) {
        m_link->setCancel(true);
        if (frmUpload *form = m_upload.Form())
            form->setCanceled(true);
        if (QWidget *dialog = QApplication::activeModalWidget())
            dialog->close();
        return;
    }
    m_signalClose.stop();
    m_tmrInter.stop();
    Form_Unload();
    close();
    QCoreApplication::exit(0);
}

void frmMain::tmrInter_Timer() {
    m_commands->Tick();
    m_setPage->tmrInter_Timer();
}

void frmMain::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmMain::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    Form_Activate();
}

void frmMain::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void frmMain::closeEvent(QCloseEvent *event) {
    if (m_unloaded) {
        event->accept();
        return;
    }
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

} // namespace tq
