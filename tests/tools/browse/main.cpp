// tq6200-browse COMMAND: drives the Data page of the real main window, offscreen, in the
// current folder taken as the program folder (its settings file and database), and prints
// what the page shows as tab-separated lines. Commands:
//   tree            the log tree in pre-order: depth, key, text, node filter
//   click KEY       a click on the tree node KEY: list headings, rows, then the grid
//   summary KEY     the summary of KEY (a node or a stored log's key): the grid
//   shot FILE [KEY] the window with the Data page (after a click on KEY) as a PNG file
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
#include "ui/browser/DataPage.h"
#include "ui/browser/password/frmPassword.h"
#include "ui/display/node_kind.h"
#include "ui/main/window/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitNotStarted = 2;

// Boxes as lines on stderr; each takes its default button.
class StderrDialogs : public tq::Dialogs {
public:
    tq::BoxAnswer ShowMessage(const tq::MessageBoxRequest &request) override {
        QString text = request.text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("~c"));
        QTextStream(stderr) << request.messageId << '\t' << text << Qt::endl;
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

void printGrid(QTextStream &out, const tq::FlexGrid &grid) {
    for (int r = 0; r < grid.Rows(); ++r) {
        QStringList cells{QStringLiteral("grid")};
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
// nowhere to be clicked.
bool deleteByMenu(tq::DataPage &page, const QString &key, const QString &password) {
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
    page.popupHook = [&page, password](const QPoint &) {
        QTimer::singleShot(0, [password] {
            auto *prompt = qobject_cast<tq::frmPassword *>(QApplication::activeModalWidget());
            if (!prompt)
                return;
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
    // Offscreen unless a display (an X server such as Xvfb) is named.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const tq::CommandSwitches switches = tq::ReadCommandSwitches(arguments);
    arguments.removeIf([](const QString &a) {
        return a.compare(QLatin1String("-6200"), Qt::CaseInsensitive) == 0 ||
               a.compare(QLatin1String("-DEBUG"), Qt::CaseInsensitive) == 0;
    });
    const QString command = arguments.value(0);
    const int wanted = command == QLatin1String("tree")                            ? 1
                       : command == QLatin1String("click") || command == "summary" ? 2
                       : command == QLatin1String("shot")                          ? -2
                       : command == QLatin1String("delete")                        ? 3
                                                                                   : 0;
    if (wanted == 0 || (wanted > 0 && arguments.size() != wanted) ||
        (wanted < 0 && (arguments.size() < 2 || arguments.size() > 3)))
        return notStarted(
            QStringLiteral("usage: tq6200-browse [-6200] [-DEBUG] tree | click KEY "
                           "| summary KEY | shot FILE.png [KEY] | delete KEY PASSWORD"));
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
    const QString key = arguments.value(command == QLatin1String("shot") ? 2 : 1);
    if (command == QLatin1String("tree")) {
        printTree(out, page);
    } else if (command == QLatin1String("delete")) {
        found = deleteByMenu(page, key, arguments[2]);
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
    if (command == QLatin1String("shot")) {
        QCoreApplication::processEvents();
        if (!window.grab().save(arguments[1]))
            return notStarted(QStringLiteral("cannot write %1").arg(arguments[1]));
    }
    out << line({QStringLiteral("selection"), QString::number(window.SelectedLogType()),
                 QString::number(window.SelectedSeqNo())})
        << Qt::endl;
    out << line({QStringLiteral("buttons"), page.cmdDetail->isEnabled() ? "1" : "0",
                 page.cmdLogInst->isEnabled() ? "1" : "0"})
        << Qt::endl;
    tq::SetDialogs(nullptr);
    if (command == QLatin1String("delete"))
        return !found || (tq::Globals().PasswordAccepted && dialogs.told > 0) ? kExitFailed
               : tq::Globals().PasswordAccepted                               ? 0
                                                                              : kExitRefused;
    return found && dialogs.shown == 0 ? 0 : kExitFailed;
}
