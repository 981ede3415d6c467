#include "report_session.h"

#include "core/errors.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "core/settings_file.h"
#include "link/fake_ports.h"
#include "link/uclPvif.h"
#include "print/command/export_naming.h"
#include "tool_support.h"
#include "ui/main/lock_database.h"
#include "ui/main/window/frmMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

namespace tq::report {

namespace {

constexpr int kOverwriteQuestion = 5307;

} // namespace

int NotStarted(const QString &why) {
    QTextStream(stderr) << "tq6200-report: " << why << Qt::endl;
    return kExitNotStarted;
}

BoxAnswer ReportDialogs::ShowMessage(const MessageBoxRequest &request) {
    tool::WriteBoxLine(request);
    if (request.messageId == kOverwriteQuestion)
        return BoxAnswer::Yes;
    ++others;
    return request.buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
}

std::unique_ptr<PrintSurface> PdfOnlyPrinters::OpenPrinter(const QString &name, const QString &) {
    throw TqError(ErrorKind::MissingResource, name + QStringLiteral(": no printer"));
}

std::optional<QString> UnofferedExportEntry(int entry, qint32 logType, bool bitmap) {
    const int entries = int(ChooserFilter(LoadMessage(ExportFilterMessage(logType, bitmap)))
                                .split(QStringLiteral(";;"))
                                .size());
    if (entry >= 1 && entry <= entries)
        return std::nullopt;
    return QStringLiteral("filter entry %1 is not offered (1 to %2)").arg(entry).arg(entries);
}

int PdfPages(const QString &file) {
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly))
        return 0;
    const QString text = QString::fromLatin1(pdf.readAll());
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
}

ReportSession::ReportSession(const QString &target, int entry) {
    dialogs.file = QFileInfo(target).absoluteFilePath();
    dialogs.entry = entry;
}

ReportSession::~ReportSession() {
    SetPrinterSystem(nullptr);
    SetDialogs(nullptr);
}

std::optional<int> ReportSession::Start(bool debug) {
    // The database must be there already: the window's start-up would make one.
    SetStartupValues(QDir::currentPath());
    LoadSettings();
    const QString database = JoinFolder(Globals().DataLocation, QStringLiteral("TQ6200.mdb"));
    if (!QFileInfo(database).isFile())
        return NotStarted(QStringLiteral("no database at %1").arg(database));

    SetDialogs(&dialogs);
    SetPrinterSystem(&m_printers);
    // Fake ports: the link control opens nothing.
    m_window = std::make_unique<frmMain>(std::make_unique<uclPvif>(
        std::make_unique<test::FakeSerialPort>(), std::make_unique<test::FakeInfraredPort>()));
    if (m_window->Form_Load() != frmMain::LoadResult::Loaded)
        return NotStarted(QStringLiteral("the program could not start"));
    Globals().DebugMode = debug;
    m_window->show();
    QCoreApplication::processEvents();
    return std::nullopt;
}

int ReportSession::Finish(bool pdf) const {
    const bool written = QFileInfo(dialogs.file).isFile() && dialogs.others == 0;
    if (written && pdf)
        QTextStream(stdout) << "pages " << PdfPages(dialogs.file) << Qt::endl;
    return written ? kExitWritten : kExitFailed;
}

} // namespace tq::report
