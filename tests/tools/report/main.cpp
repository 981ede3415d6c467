// tq6200-report COMMAND: exports or prints a stored log through the real main window,
// offscreen, in the current folder taken as the program folder. It reads the settings file
// there (never writes it), takes the database lock, opens the existing database (never
// makes one) and opens no port. It presses the window's own buttons and answers the dialogs
// from its arguments; message boxes go to stderr (id, tab, text). Commands:
//   export SEQNO FILE [--filter N] [--graph] [--condensed] [--debug]
//                   View Data on the stored log SEQNO (Graph with --graph, else Table;
//                   --condensed ticks Condensed; --debug is "-DEBUG"), then Export, Save As
//                   answered FILE and filter entry N (default 1), "Over Write OK?" Yes
//   print SEQNO PDF [--graph] [--condensed] [--debug]
//                   the log shown as for export, then Print on the "PDF file" printer into
//                   PDF; prints "pages N"
//   print-lastcal PDF [--view N]
//                   the Last Calibration page with view N (0 or 1), then its Print into PDF;
//                   prints "pages N"
// Exit status 0 written (no box but the overwrite question), 1 the command failed (a box
// such as 30101 or 30102, or no file), 2 could not start (bad arguments, no database, the
// lock held, no log SEQNO, an option the page leaves disabled, an entry not offered).

#include "core/database.h"
#include "core/errors.h"
#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "core/settings_file.h"
#include "link/fake_ports.h"
#include "link/uclPvif.h"
#include "print/command/export_naming.h"
#include "print/printer_system.h"
#include "tool_support.h"
#include "ui/browser/DataPage.h"
#include "ui/display/data_view_page.h"
#include "ui/display/node_kind.h"
#include "ui/main/lock_database.h"
#include "ui/main/window/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include <memory>
#include <optional>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitNotStarted = 2;
constexpr int kOverwriteQuestion = 5307;

int notStarted(const QString &why) {
    QTextStream(stderr) << "tq6200-report: " << why << Qt::endl;
    return kExitNotStarted;
}

// The Save As dialog answered from the arguments; "Over Write OK?" answered Yes, every
// other question No. Every box goes to stderr.
class ReportDialogs : public tq::Dialogs {
public:
    tq::BoxAnswer ShowMessage(const tq::MessageBoxRequest &request) override {
        tq::tool::WriteBoxLine(request);
        if (request.messageId == kOverwriteQuestion)
            return tq::BoxAnswer::Yes;
        ++others;
        return request.buttons == tq::BoxButtons::YesNo ? tq::BoxAnswer::No : tq::BoxAnswer::Ok;
    }
    QString OpenFileName(const tq::FileChoice &) override { return {}; }
    tq::ChosenFile ChooseSaveFile(const tq::FileChoice &) override { return {file, entry}; }
    tq::Date Now() override { return tq::Date::now(); }

    QString file;
    int entry = 1;
    int others = 0; // boxes but the overwrite question
};

// No system printer: the choice answers the "PDF file" entry, the last of the list.
class PdfOnlyPrinters : public tq::PrinterSystem {
public:
    QStringList SystemPrinters() override { return {}; }
    QString DefaultPrinter() override { return {}; }
    int ChoosePrinter(const QStringList &names, int) override { return int(names.size()) - 1; }
    std::unique_ptr<tq::PrintSurface> OpenPrinter(const QString &name, const QString &) override {
        throw tq::TqError(tq::ErrorKind::MissingResource, name + QStringLiteral(": no printer"));
    }
};

struct Options {
    QStringList positional;
    std::optional<int> filter;
    std::optional<int> view;
    bool graph = false;
    bool condensed = false;
    bool debug = false;
    bool valid = true;
};

Options readOptions(const QStringList &arguments) {
    Options o;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        bool numeric = true;
        if (a == QLatin1String("--filter") || a == QLatin1String("--view")) {
            (a == QLatin1String("--filter") ? o.filter : o.view) =
                arguments.value(++i).toInt(&numeric);
            o.valid = o.valid && numeric;
        } else if (a == QLatin1String("--graph")) {
            o.graph = true;
        } else if (a == QLatin1String("--condensed")) {
            o.condensed = true;
        } else if (a == QLatin1String("--debug") ||
                   a.compare(QLatin1String("-DEBUG"), Qt::CaseInsensitive) == 0) {
            o.debug = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            o.valid = false;
        } else {
            o.positional << a;
        }
    }
    return o;
}

// The stored log's key in the Data page's list: its SeqNo and the letter of its type.
std::optional<QString> logKey(qint64 seqNo) {
    tq::Database db(tq::Globals().DatabasePath);
    const QVariant type =
        db.scalar(QStringLiteral("Select Types From Log_head Where SeqNo = ?"), {seqNo});
    if (!type.isValid() || type.isNull())
        return std::nullopt;
    for (const tq::LogTypeKind &kind : tq::LogTypeKinds())
        if (int(kind.type) == type.toInt())
            return QString::number(seqNo) + QLatin1Char(' ') + kind.leaf;
    return std::nullopt;
}

// Ticks a box of the page; false when the page leaves it disabled.
bool tick(QAbstractButton *box) {
    if (!box->isEnabled())
        return false;
    if (!box->isChecked())
        box->click();
    return true;
}

// The pages of a PDF file as its page objects count them.
int pdfPages(const QString &file) {
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly))
        return 0;
    const QString text = QString::fromLatin1(pdf.readAll());
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
}

} // namespace

int main(int argc, char **argv) {
    tq::tool::UseOffscreenUnlessDisplay();
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString command = arguments.value(0);
    const Options o = readOptions(arguments.mid(1));
    const bool logCommand = command == QLatin1String("export") || command == QLatin1String("print");
    const bool lastCal = command == QLatin1String("print-lastcal");
    bool numeric = false;
    const qint64 seqNo = o.positional.value(0).toLongLong(&numeric);
    const bool usable = o.valid &&
                        ((logCommand && o.positional.size() == 2 && numeric && !o.view) ||
                         (lastCal && o.positional.size() == 1 && !o.filter && !o.graph &&
                          !o.condensed && !o.debug)) &&
                        (command == QLatin1String("export") || !o.filter);
    if (!usable)
        return notStarted(QStringLiteral(
            "usage: tq6200-report export SEQNO FILE [--filter N] [--graph] [--condensed] "
            "[--debug] | print SEQNO PDF [--graph] [--condensed] [--debug] "
            "| print-lastcal PDF [--view N]"));
    const QString target = QFileInfo(o.positional.last()).absoluteFilePath();

    // The database must be there already: the window's start-up would make one.
    tq::SetStartupValues(QDir::currentPath());
    tq::LoadSettings();
    const QString database =
        tq::JoinFolder(tq::Globals().DataLocation, QStringLiteral("TQ6200.mdb"));
    if (!QFileInfo(database).isFile())
        return notStarted(QStringLiteral("no database at %1").arg(database));

    ReportDialogs dialogs;
    dialogs.file = target;
    dialogs.entry = o.filter.value_or(1);
    tq::SetDialogs(&dialogs);
    PdfOnlyPrinters printers;
    tq::SetPrinterSystem(&printers);
    const auto finish = [](int status) {
        tq::SetPrinterSystem(nullptr);
        tq::SetDialogs(nullptr);
        return status;
    };

    // Fake ports: the link control opens nothing.
    tq::frmMain window(
        std::make_unique<tq::uclPvif>(std::make_unique<tq::test::FakeSerialPort>(),
                                      std::make_unique<tq::test::FakeInfraredPort>()));
    if (window.Form_Load() != tq::frmMain::LoadResult::Loaded)
        return finish(notStarted(QStringLiteral("the program could not start")));
    tq::Globals().DebugMode = o.debug;
    window.show();
    QCoreApplication::processEvents();

    if (lastCal) {
        const int view = o.view.value_or(0);
        window.cmdInst_Click(3); // the Last Calibration button
        QCoreApplication::processEvents();
        const tq::MainWindowControls &c = window.controls();
        if (view < 0 || view > 2 || !c.optHistory[std::size_t(view)]->isEnabled())
            return finish(notStarted(QStringLiteral("view %1 is not offered").arg(view)));
        c.optHistory[std::size_t(view)]->click();
        if (!c.cmdLastCal->isEnabled())
            return finish(notStarted(QStringLiteral("the print is disabled in view %1").arg(view)));
        c.cmdLastCal->click();
    } else {
        const std::optional<QString> key = logKey(seqNo);
        if (!key)
            return finish(notStarted(QStringLiteral("no log %1").arg(seqNo)));
        window.cmdInst_Click(2); // the Data button
        QCoreApplication::processEvents();
        window.dataPage().ShowLogSummary(*key);
        window.dataPage().cmdDetail->click();
        tq::DataViewPage &page = window.dataViewPage();
        if (o.graph && !tick(page.optBrowse[1]))
            return finish(
                notStarted(QStringLiteral("the graph is not offered for log %1").arg(seqNo)));
        if (o.condensed && !tick(page.chkOutline))
            return finish(
                notStarted(QStringLiteral("Condensed is not offered for log %1").arg(seqNo)));
        QCoreApplication::processEvents();
        if (command == QLatin1String("export")) {
            const bool bitmap = o.graph && window.SelectedLogType() != 9;
            const int entries =
                int(tq::ChooserFilter(
                        tq::LoadMessage(tq::ExportFilterMessage(window.SelectedLogType(), bitmap)))
                        .split(QStringLiteral(";;"))
                        .size());
            if (dialogs.entry < 1 || dialogs.entry > entries)
                return finish(notStarted(QStringLiteral("filter entry %1 is not offered (1 to %2)")
                                             .arg(dialogs.entry)
                                             .arg(entries)));
            page.cmdBrowse[2]->click();
        } else {
            page.cmdBrowse[0]->click();
        }
    }
    QCoreApplication::processEvents();
    const bool written = QFileInfo(target).isFile() && dialogs.others == 0;
    if (written && command != QLatin1String("export"))
        QTextStream(stdout) << "pages " << pdfPages(target) << Qt::endl;
    return finish(written ? 0 : kExitFailed);
}
