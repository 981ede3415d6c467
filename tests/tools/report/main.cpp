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
//   dataview SEQNO [--graph] [--no-summary] [--size WxH]
//            (--dump | --export FILE [--filter N] | --print PDF | --shot PNG)
//                   the data view window opened on alarm trend SEQNO as a click on a trend
//                   event opens it (the Data View page's Graph option on with --graph, its
//                   summary hidden with --no-summary, the main window WxH twips); then its
//                   state on stdout (--dump, keys in --help), its Export or Print answered as
//                   above, or a screenshot (--shot); then its Return
// Exit status 0 written (no box but the overwrite question), 1 the command failed (a box
// such as 30101 or 30102, or no file), 2 could not start (bad arguments, no database, the
// lock held, no log SEQNO, an option the page leaves disabled, an entry not offered).

#include "core/database.h"
#include "core/program_state.h"
#include "data_view_dump.h"
#include "dataview_command.h"
#include "report_session.h"
#include "tool_support.h"
#include "ui/browser/DataPage.h"
#include "ui/display/data_view_page.h"
#include "ui/display/node_kind.h"
#include "ui/instrument/latest_cal_page.h"
#include "ui/main/termination_signals.h"
#include "ui/main/window/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include <optional>

namespace {

using tq::report::NotStarted;

const char *const kUsage =
    "usage: tq6200-report export SEQNO FILE [--filter N] [--graph] [--condensed] [--debug]\n"
    "     | print SEQNO PDF [--graph] [--condensed] [--debug]\n"
    "     | print-lastcal PDF [--view N]\n"
    "     | dataview SEQNO [--graph] [--no-summary] [--size WxH]\n"
    "                (--dump | --export FILE [--filter N] | --print PDF | --shot PNG)";

struct Options {
    QStringList positional;
    std::optional<int> filter;
    std::optional<int> view;
    std::optional<QSizeF> size;
    // The data view window's command and its file.
    std::optional<tq::report::DataViewAction> action;
    QString actionFile;
    bool graph = false;
    bool condensed = false;
    bool debug = false;
    bool noSummary = false;
    bool valid = true;
};

// "WxH" in twips, both above 0.
std::optional<QSizeF> readSize(const QString &text) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$")).match(text);
    if (!m.hasMatch() || m.captured(1).toInt() <= 0 || m.captured(2).toInt() <= 0)
        return std::nullopt;
    return QSizeF(m.captured(1).toInt(), m.captured(2).toInt());
}

Options readOptions(const QStringList &arguments) {
    using tq::report::DataViewAction;
    Options o;
    const auto setAction = [&](DataViewAction action, const QString &file) {
        o.valid = o.valid && !o.action && (action == DataViewAction::Dump || !file.isEmpty());
        o.action = action;
        o.actionFile = file;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        bool numeric = true;
        if (a == QLatin1String("--filter") || a == QLatin1String("--view")) {
            (a == QLatin1String("--filter") ? o.filter : o.view) =
                arguments.value(++i).toInt(&numeric);
            o.valid = o.valid && numeric;
        } else if (a == QLatin1String("--size")) {
            o.size = readSize(arguments.value(++i));
            o.valid = o.valid && o.size;
        } else if (a == QLatin1String("--dump")) {
            setAction(DataViewAction::Dump, {});
        } else if (a == QLatin1String("--export")) {
            setAction(DataViewAction::Export, arguments.value(++i));
        } else if (a == QLatin1String("--print")) {
            setAction(DataViewAction::Print, arguments.value(++i));
        } else if (a == QLatin1String("--shot")) {
            setAction(DataViewAction::Shot, arguments.value(++i));
        } else if (a == QLatin1String("--graph")) {
            o.graph = true;
        } else if (a == QLatin1String("--no-summary")) {
            o.noSummary = true;
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

// Whether the options fit the command.
bool usable(const QString &command, const Options &o, bool numericSeqNo) {
    const bool logCommand = command == QLatin1String("export") || command == QLatin1String("print");
    const bool dataViewOnly = o.size || o.noSummary || o.action;
    if (!o.valid)
        return false;
    if (command == QLatin1String("dataview"))
        return o.positional.size() == 1 && numericSeqNo && o.action && !o.view && !o.condensed &&
               !o.debug && (!o.filter || o.action == tq::report::DataViewAction::Export);
    if (dataViewOnly)
        return false;
    if (logCommand)
        return o.positional.size() == 2 && numericSeqNo && !o.view &&
               (command == QLatin1String("export") || !o.filter);
    return command == QLatin1String("print-lastcal") && o.positional.size() == 1 && !o.filter &&
           !o.graph && !o.condensed && !o.debug;
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

int printLastCal(tq::report::ReportSession &session, int view) {
    tq::frmMain &window = session.window();
    window.cmdInst_Click(3); // the Last Calibration button
    QCoreApplication::processEvents();
    const tq::LatestCalPage &page = *window.findChild<tq::LatestCalPage *>();
    if (view < 0 || view > 2 || !page.optHistory[std::size_t(view)]->isEnabled())
        return NotStarted(QStringLiteral("view %1 is not offered").arg(view));
    page.optHistory[std::size_t(view)]->click();
    if (!page.cmdLastCal->isEnabled())
        return NotStarted(QStringLiteral("the print is disabled in view %1").arg(view));
    page.cmdLastCal->click();
    QCoreApplication::processEvents();
    return session.Finish(true);
}

// View Data on the log, then the page's Export or Print.
int reportLog(tq::report::ReportSession &session, qint64 seqNo, const Options &o, bool exporting) {
    const std::optional<QString> key = logKey(seqNo);
    if (!key)
        return NotStarted(QStringLiteral("no log %1").arg(seqNo));
    tq::frmMain &window = session.window();
    window.cmdInst_Click(2); // the Data button
    QCoreApplication::processEvents();
    window.dataPage().ShowLogSummary(*key);
    window.dataPage().cmdDetail->click();
    tq::DataViewPage &page = window.dataViewPage();
    if (o.graph && !tick(page.optBrowse[1]))
        return NotStarted(QStringLiteral("the graph is not offered for log %1").arg(seqNo));
    if (o.condensed && !tick(page.chkOutline))
        return NotStarted(QStringLiteral("Condensed is not offered for log %1").arg(seqNo));
    QCoreApplication::processEvents();
    if (exporting) {
        const bool bitmap = o.graph && window.SelectedLogType() != 9;
        if (const std::optional<QString> refused = tq::report::UnofferedExportEntry(
                session.dialogs.entry, window.SelectedLogType(), bitmap))
            return NotStarted(*refused);
        page.cmdBrowse[2]->click();
    } else {
        page.cmdBrowse[0]->click();
    }
    QCoreApplication::processEvents();
    return session.Finish(!exporting);
}

} // namespace

int main(int argc, char **argv) {
    tq::IgnoreFileSizeSignal();
    tq::tool::UseOffscreenUnlessDisplay();
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString command = arguments.value(0);
    if (command == QLatin1String("--help")) {
        QTextStream(stdout) << kUsage << '\n' << tq::report::DataViewDumpKeys() << Qt::endl;
        return 0;
    }
    const Options o = readOptions(arguments.mid(1));
    bool numeric = false;
    const qint64 seqNo = o.positional.value(0).toLongLong(&numeric);
    if (!usable(command, o, numeric))
        return NotStarted(QLatin1String(kUsage));

    const bool dataView = command == QLatin1String("dataview");
    tq::report::ReportSession session(dataView ? o.actionFile : o.positional.last(),
                                      o.filter.value_or(1));
    if (const std::optional<int> failed = session.Start(o.debug))
        return *failed;
    if (command == QLatin1String("print-lastcal"))
        return printLastCal(session, o.view.value_or(0));
    if (dataView)
        return tq::report::RunDataView(session, {seqNo, o.graph, o.noSummary, o.size, *o.action});
    return reportLog(session, seqNo, o, command == QLatin1String("export"));
}
