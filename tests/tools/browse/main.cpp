// tq6200-browse COMMAND: drives the Data page of the real main window, offscreen, in the
// current folder taken as the program folder (its settings file and database), and prints
// what the page shows as tab-separated lines. Commands:
//   tree            the log tree in pre-order: depth, key, text, node filter
//   click KEY       a click on the tree node KEY: list headings, rows, then the grid
//   summary KEY     the summary of KEY (a node or a stored log's key): the grid
//   shot FILE [KEY] the window with the Data page (after a click on KEY) as a PNG file
//   view KEY [graph] [event-only] [condensed] [shot FILE]
//                   View Data on the stored log KEY (a list row's key), then the Graph
//                   option and the Event Only and Condensed boxes as named: the frame's
//                   caption, the summary, then the table or the graph's points, marks and
//                   zoom list; with shot the window as a PNG file
//   find-alarm SEQ SERIAL "yyyy-MM-dd hh:mm:ss"
//                   the SeqNo of the alarm trend the search finds for an event, or -1
//   delete KEY PASSWORD
//                   a right-click on KEY (a stored log's key after a click on its type
//                   folder), Delete, PASSWORD typed into the password prompt and Continue,
//                   every question answered Yes; then the list. Exit status 0 deleted,
//                   3 refused (the prompt is closed after a wrong password), 1 failed
// Every command ends with "selection TYPE SEQ" and "buttons DETAIL INSTRUMENT". "-6200"
// and "-DEBUG" work as on the program's command line. Message boxes go to stderr (id, tab,
// text) and take their default button. Exit status 0 done, 1 failed (a box was shown or
// the key names no node), 2 could not start.

#include "app/command_switches.h"
#include "core/database.h"
#include "core/gui/dialogs.h"
#include "core/gui/flex_grid.h"
#include "core/id_helpers.h"
#include "core/program_state.h"
#include "graph/uclVtmGraph.h"
#include "tool_support.h"
#include "ui/browser/DataPage.h"
#include "ui/browser/password/frmPassword.h"
#include "ui/display/data_view_page.h"
#include "ui/display/node_kind.h"
#include "ui/display/trend_search.h"
#include "ui/main/termination_signals.h"
#include "ui/main/window/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextStream>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <optional>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitNotStarted = 2;

// Boxes as lines on stderr; each takes its default button.
class StderrDialogs : public tq::Dialogs {
public:
    tq::BoxAnswer ShowMessage(const tq::MessageBoxRequest &request) override {
        tq::tool::WriteBoxLine(request);
        ++shown;
        if (request.buttons == tq::BoxButtons::Ok)
            ++told;
        return request.buttons == tq::BoxButtons::YesNo ? tq::BoxAnswer::Yes : tq::BoxAnswer::Ok;
    }
    QString OpenFileName(const tq::FileChoice &) override { return {}; }
    tq::ChosenFile ChooseSaveFile(const tq::FileChoice &) override { return {}; }
    tq::Date Now() override { return tq::Date::now(); }

    int shown = 0;
    int told = 0; // boxes that only tell
};

int notStarted(const QString &why) {
    QTextStream(stderr) << "tq6200-browse: " << why << Qt::endl;
    return kExitNotStarted;
}

QString line(const QStringList &fields) {
    return fields.join(QLatin1Char('\t'));
}

// A cell's text, with its own background colour as {#rrggbb}.
QString cellText(const tq::FlexGrid &grid, int row, int col) {
    const QColor background = grid.CellBackColor(row, col);
    if (!background.isValid())
        return grid.TextMatrix(row, col);
    return grid.TextMatrix(row, col) + QLatin1Char('{') + background.name() + QLatin1Char('}');
}

void printGrid(QTextStream &out, const tq::FlexGrid &grid,
               const QString &prefix = QStringLiteral("grid")) {
    for (int r = 0; r < grid.Rows(); ++r) {
        QStringList cells{prefix};
        for (int c = 0; c < grid.Cols(); ++c)
            cells << cellText(grid, r, c);
        out << line(cells) << Qt::endl;
    }
}

void printList(QTextStream &out, const QTreeWidget *list) {
    QStringList headings{QStringLiteral("list")};
    for (int c = 0; c < list->columnCount(); ++c)
        headings << list->headerItem()->text(c);
    out << line(headings) << Qt::endl;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        QStringList cells{QStringLiteral("row"), tq::DataPage::keyOf(item)};
        for (int c = 0; c < list->columnCount(); ++c)
            cells << item->text(c);
        out << line(cells) << Qt::endl;
    }
}

void printTree(QTextStream &out, const tq::DataPage &page) {
    const tq::LogTree &tree = page.tree();
    for (const tq::LogTreeNode &node : tree.nodes()) {
        int depth = 0;
        for (int p = node.parent; p >= 0; p = tree.node(p).parent)
            ++depth;
        out << line({QString::number(depth), node.key, node.text, tree.BuildNodeWhere(node.key)})
            << Qt::endl;
    }
}

// The graph as filled: its points (time, then each series' value), its marks (series, time,
// flag; the common list as series "common", by point) and the zoom list.
void printGraph(QTextStream &out, const tq::DataViewPage &page) {
    const tq::uclVtmGraph &graph = *page.vtmGraph;
    for (int p = 0; p < graph.usedSamples(); ++p) {
        QStringList cells{QStringLiteral("point"), QString::number(p),
                          tq::Date(graph.valueX(qint16(p))).toSqlText()};
        for (int s = 0; s < graph.SampleDataCount(); ++s)
            cells << QString::number(graph.valueY(qint16(s), qint16(p)));
        out << line(cells) << Qt::endl;
    }
    for (int s = 0; s < graph.SampleDataCount(); ++s)
        for (int m = 0; m < graph.usedEvents(s); ++m)
            out << line({QStringLiteral("mark"), QString::number(s),
                         tq::Date(graph.events(s).Marks[std::size_t(m)].X).toSqlText(),
                         graph.events(s).Flags[std::size_t(m)]})
                << Qt::endl;
    const auto &common = graph.commonEvents().Flags;
    for (std::size_t p = 0; p < common.size(); ++p)
        if (!common[p].isEmpty())
            out << line({QStringLiteral("mark"), QStringLiteral("common"), QString::number(p),
                         common[p]})
                << Qt::endl;
    QStringList zooms{QStringLiteral("zoom")};
    for (int i = 0; i < page.cmbBrowse->count(); ++i)
        zooms << page.cmbBrowse->itemText(i);
    out << line(zooms) << Qt::endl;
}

// View Data on a stored log, then the options named: the caption, the summary, and the
// table or the graph.
void viewLog(QTextStream &out, tq::frmMain &window, const QString &key,
             const QStringList &options) {
    window.dataPage().ShowLogSummary(key);
    window.dataPage().cmdDetail->click();
    tq::DataViewPage &page = window.dataViewPage();
    const auto tick = [](QAbstractButton *box) {
        if (box->isEnabled() && !box->isChecked())
            box->click();
    };
    if (options.contains(QLatin1String("graph")))
        tick(page.optBrowse[1]);
    if (options.contains(QLatin1String("event-only")))
        tick(page.chkEvent);
    if (options.contains(QLatin1String("condensed")))
        tick(page.chkOutline);
    QCoreApplication::processEvents();
    out << line({QStringLiteral("caption"), window.controls().fraMenu[3]->title()}) << Qt::endl;
    if (!page.vfgSummary->isHidden())
        printGrid(out, *page.vfgSummary, QStringLiteral("summary"));
    if (page.optBrowse[1]->isChecked())
        printGraph(out, page);
    else if (page.optBrowse[0]->isChecked())
        printGrid(out, *page.vfgBrowse);
}

// The alarm trend the search finds for an event of log seqNo of instrument serial.
bool findAlarm(QTextStream &out, const QStringList &arguments) {
    bool numeric = false;
    const qint64 seqNo = arguments.value(1).toLongLong(&numeric);
    const std::optional<tq::Date> time = tq::Date::fromSqlText(arguments.value(3));
    if (!numeric || !time)
        return false;
    tq::Database db(tq::Globals().DatabasePath);
    out << tq::FindAlarmTrendNear(db, seqNo, arguments.value(2), *time) << Qt::endl;
    return true;
}

QTreeWidgetItem *treeNode(const tq::DataPage &page, const QString &key) {
    for (QTreeWidgetItemIterator it(page.tvwLog); *it; ++it)
        if (tq::DataPage::keyOf(*it) == key)
            return *it;
    return nullptr;
}

constexpr int kExitRefused = 3;

// The type folder that lists the stored log of a key; empty when none does.
QString typeFolderOf(const tq::LogTree &tree, const QString &logKey) {
    const qint64 seqNo = tq::DropLastTwo(logKey).trimmed().toLongLong();
    tq::Database db(tq::Globals().DatabasePath);
    for (const tq::LogTreeNode &node : tree.nodes()) {
        if (!node.type)
            continue;
        const tq::NodeFilter filter = tree.filterOf(node.key);
        const QVariant found =
            db.scalar(QStringLiteral("Select Count(*) From Log_head Where SeqNo = ? And (%1)")
                          .arg(filter.sql),
                      QVariantList{seqNo} + filter.params);
        if (found.toLongLong() > 0)
            return node.key;
    }
    return {};
}

// The item of a key in a view, made visible.
QTreeWidgetItem *visibleItem(QTreeWidget *view, const QString &key) {
    for (QTreeWidgetItemIterator it(view); *it; ++it) {
        if (tq::DataPage::keyOf(*it) == key) {
            view->scrollToItem(*it);
            return *it;
        }
    }
    return nullptr;
}

// The right-click on KEY, Delete, the password typed and Continue; false when KEY is
// nowhere to be clicked. `prompted` tells whether the password was asked for at all.
bool deleteByMenu(tq::DataPage &page, const QString &key, const QString &password, bool &prompted) {
    const bool storedLog = tq::KindOfLeaf(tq::AfterLastBlank(key)).has_value();
    QTreeWidget *view = storedLog ? page.lvwLog : page.tvwLog;
    if (storedLog) {
        QTreeWidgetItem *folder = visibleItem(page.tvwLog, typeFolderOf(page.tree(), key));
        if (!folder)
            return false;
        page.tvwLog->setCurrentItem(folder);
        page.tvwLog_NodeClick(folder);
    }
    QTreeWidgetItem *item = visibleItem(view, key);
    if (!item)
        return false;
    page.popupHook = [&page, &prompted, password](const QPoint &) {
        QTimer::singleShot(0, [&prompted, password] {
            auto *prompt = qobject_cast<tq::frmPassword *>(QApplication::activeModalWidget());
            if (!prompt)
                return;
            prompted = true;
            prompt->txtPass->setText(password);
            prompt->cmdPass[0]->click();
            // A refused password leaves the prompt open: it is closed, a refusal.
            if (prompt->isVisible())
                prompt->close();
        });
        page.mnuDelete->trigger();
    };
    const QPoint centre = view->visualItemRect(item).center();
    if (storedLog)
        page.lvwLog_MouseDown(Qt::RightButton, centre);
    else
        page.tvwLog_MouseDown(Qt::RightButton, centre);
    return true;
}

} // namespace

int main(int argc, char **argv) {
    tq::IgnoreFileSizeSignal();
    tq::tool::UseOffscreenUnlessDisplay();
    QApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const tq::CommandSwitches switches = tq::ReadCommandSwitches(arguments);
    arguments.removeIf([](const QString &a) {
        return a.compare(QLatin1String("-6200"), Qt::CaseInsensitive) == 0 ||
               a.compare(QLatin1String("-DEBUG"), Qt::CaseInsensitive) == 0;
    });
    const QString command = arguments.value(0);
    // The arguments each command takes: at least, at most (-1 any number).
    struct Usage {
        const char *command;
        int least;
        int most;
    };
    constexpr Usage usages[] = {{"tree", 1, 1},  {"click", 2, 2}, {"summary", 2, 2},
                                {"shot", 2, 3},  {"view", 2, -1}, {"find-alarm", 4, 4},
                                {"delete", 3, 3}};
    const auto usage = std::find_if(std::begin(usages), std::end(usages),
                                    [&](const Usage &u) { return command == u.command; });
    if (usage == std::end(usages) || arguments.size() < usage->least ||
        (usage->most >= 0 && arguments.size() > usage->most))
        return notStarted(QStringLiteral(
            "usage: tq6200-browse [-6200] [-DEBUG] tree | click KEY | summary KEY "
            "| shot FILE.png [KEY] | view KEY [graph] [event-only] [condensed] [shot FILE.png] "
            "| find-alarm SEQ SERIAL \"yyyy-MM-dd hh:mm:ss\" | delete KEY PASSWORD"));
    tq::Globals().DebugMode = switches.DebugMode;
    tq::Globals().ShowPowerEvents = switches.ShowPowerEvents;

    StderrDialogs dialogs;
    tq::SetDialogs(&dialogs);
    tq::frmMain window;
    if (window.Form_Load() != tq::frmMain::LoadResult::Loaded)
        return notStarted(QStringLiteral("the program could not start in %1")
                              .arg(QDir::toNativeSeparators(QDir::currentPath())));
    window.show();
    QCoreApplication::processEvents();
    window.cmdInst_Click(2); // the Data button
    QCoreApplication::processEvents();
    tq::DataPage &page = window.dataPage();

    QTextStream out(stdout);
    bool found = true;
    bool prompted = false;
    const QString key = arguments.value(command == QLatin1String("shot") ? 2 : 1);
    // view's picture file follows its "shot".
    const qsizetype viewShot =
        command == QLatin1String("view") ? arguments.indexOf(QLatin1String("shot")) : qsizetype(-1);
    QString shotFile = command == QLatin1String("shot") ? arguments[1] : QString();
    if (viewShot > 0)
        shotFile = arguments.value(viewShot + 1);
    if (viewShot > 0 && shotFile.isEmpty())
        return notStarted(QStringLiteral("view: shot needs a file name"));
    if (command == QLatin1String("find-alarm")) {
        found = findAlarm(out, arguments);
        if (!found)
            QTextStream(stderr) << "tq6200-browse: find-alarm SEQ SERIAL \"yyyy-MM-dd hh:mm:ss\""
                                << Qt::endl;
    } else if (command == QLatin1String("view")) {
        viewLog(out, window, key, arguments.mid(2));
    } else if (command == QLatin1String("tree")) {
        printTree(out, page);
    } else if (command == QLatin1String("delete")) {
        found = deleteByMenu(page, key, arguments[2], prompted);
        if (!found)
            QTextStream(stderr) << "tq6200-browse: " << key << " cannot be clicked" << Qt::endl;
        printList(out, page.lvwLog);
    } else if (command == QLatin1String("summary")) {
        page.ShowLogSummary(key);
        printGrid(out, *page.vfgLog);
    } else if (!key.isEmpty()) {
        QTreeWidgetItem *node = treeNode(page, key);
        found = node != nullptr;
        if (node) {
            page.tvwLog->setCurrentItem(node);
            page.tvwLog_NodeClick(node);
            if (command == QLatin1String("click")) {
                printList(out, page.lvwLog);
                printGrid(out, *page.vfgLog);
            }
        } else {
            QTextStream(stderr) << "tq6200-browse: no node " << key << Qt::endl;
        }
    }
    if (!shotFile.isEmpty()) {
        QCoreApplication::processEvents();
        if (!window.grab().save(shotFile))
            return notStarted(QStringLiteral("cannot write %1").arg(shotFile));
    }
    out << line({QStringLiteral("selection"), QString::number(window.SelectedLogType()),
                 QString::number(window.SelectedSeqNo())})
        << Qt::endl;
    out << line({QStringLiteral("buttons"), page.cmdDetail->isEnabled() ? "1" : "0",
                 page.cmdLogInst->isEnabled() ? "1" : "0"})
        << Qt::endl;
    tq::SetDialogs(nullptr);
    if (command == QLatin1String("delete")) {
        // No prompt (no menu, or another window came up) is a failure, not a refusal.
        if (!found || !prompted || (tq::Globals().PasswordAccepted && dialogs.told > 0))
            return kExitFailed;
        return tq::Globals().PasswordAccepted ? 0 : kExitRefused;
    }
    return found && dialogs.shown == 0 ? 0 : kExitFailed;
}
