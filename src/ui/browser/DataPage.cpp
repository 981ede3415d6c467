#include "ui/browser/DataPage.h"

#include "ui/common/column_widths.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/gui/dialogs.h"
#include "core/gui/flex_grid.h"
#include "core/gui/layout_geometry.h"
#include "core/gui/twips.h"
#include "core/id_helpers.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "ui/browser/log_deletion.h"
#include "ui/browser/password/frmPassword.h"
#include "ui/common/column_widths.h"
#include "ui/common/small_icons.h"
#include "ui/display/log_summary.h"
#include "ui/display/node_kind.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace tq {

namespace {

constexpr int kKeyRole = Qt::UserRole;

template <typename T> T *make(QWidget *parent, const QString &name) {
    auto *control = new T(parent);
    control->setObjectName(name);
    return control;
}

QString indexedName(const char *name, int index) {
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

QTreeWidgetItem *makeItem(const QString &key, const QStringList &texts, const QString &icon) {
    auto *item = new QTreeWidgetItem(texts);
    item->setData(0, kKeyRole, key);
    item->setIcon(0, SmallIcon(icon));
    return item;
}

// Letter case ignored as the tree and the list compare names.
QString folded(const QString &text) {
    return text.toCaseFolded();
}

} // namespace

DataPage::DataPage(QWidget *frame, LogSelection &selection, WindowHooks hooks)
    : QWidget(frame), m_selection(selection), m_hooks(std::move(hooks)) {
    setObjectName(QStringLiteral("DataPage"));
    buildControls();
    popupHook = [this](const QPoint &globalPos) { mnuDeletes->exec(globalPos); };
}

void DataPage::buildControls() {
    tvwLog = make<QTreeWidget>(this, QStringLiteral("tvwLog"));
    tvwLog->setHeaderHidden(true);
    tvwLog->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fraLog = make<QGroupBox>(this, QStringLiteral("fraLog"));
    fraLogCenter = make<QWidget>(fraLog, QStringLiteral("fraLogCenter"));
    fraLogCenter->resize(TwipsToPixelsX(2655), TwipsToPixelsY(975));
    for (int i = 0; i < 3; ++i) {
        chkLog[std::size_t(i)] = make<QCheckBox>(fraLogCenter, indexedName("chkLog", i));
        place(chkLog[std::size_t(i)], 0, 300.0 * i, 2655, 255);
        connect(chkLog[std::size_t(i)], &QCheckBox::clicked, this, [this, i] { chkLog_Click(i); });
    }
    lvwLog = make<QTreeWidget>(this, QStringLiteral("lvwLog"));
    lvwLog->setRootIsDecorated(false);
    lvwLog->setUniformRowHeights(true);
    lvwLog->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwLog->header()->setSectionsClickable(true);
    lvwLog->header()->setStretchLastSection(false);
    // The list has no columns until its first listing.
    lvwLog->header()->setVisible(false);
    vfgLog = make<FlexGrid>(this, QStringLiteral("vfgLog"));
    vfgLog->SetCols(2);
    // The layout sizes every column but the last, which takes the rest of the width.
    vfgLog->horizontalHeader()->setStretchLastSection(true);
    cmdDetail = make<QPushButton>(this, QStringLiteral("cmdDetail"));
    cmdLogInst = make<QPushButton>(this, QStringLiteral("cmdLogInst"));
    chkRawData = make<QCheckBox>(this, QStringLiteral("chkRawData"));
    chkRawData->resize(TwipsToPixelsX(1215), TwipsToPixelsY(465));
    chkRawData->setText(QStringLiteral("Export Raw Data"));
    mnuDeletes = new QMenu(this);
    mnuDeletes->setObjectName(QStringLiteral("mnuDeletes"));
    mnuDelete = mnuDeletes->addAction(QStringLiteral("Delete"));
    mnuDelete->setObjectName(QStringLiteral("mnuDelete"));
    connect(mnuDelete, &QAction::triggered, this, &DataPage::mnuDelete_Click);

    for (QTreeWidget *view : {tvwLog, lvwLog}) {
        view->viewport()->installEventFilter(this);
        view->installEventFilter(this);
    }
    connect(lvwLog->header(), &QHeaderView::sectionClicked, this, &DataPage::lvwLog_ColumnClick);
    connect(cmdDetail, &QPushButton::clicked, this, &DataPage::cmdDetail_Click);
    connect(cmdLogInst, &QPushButton::clicked, this, &DataPage::cmdLogInst_Click);
    connect(chkRawData, &QCheckBox::clicked, this, &DataPage::chkRawData_Click);
    // Moving with the keys chooses as a click does.
    connect(tvwLog, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (m_keyView == tvwLog && item)
            tvwLog_NodeClick(item);
    });
    connect(lvwLog, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (m_keyView == lvwLog && item)
            lvwLog_ItemClick(item);
    });
}

void DataPage::layOut(double pw, double ph) {
    setGeometry(0, 0, TwipsToPixelsX(pw), TwipsToPixelsY(ph));
    place(tvwLog, 120, 240, pw * 0.35, ph * 0.75);
    place(fraLog, 120, B(tvwLog), W(tvwLog), ph - B(tvwLog) - 120);
    centre(fraLogCenter, fraLog);
    place(lvwLog, R(tvwLog) + 120, 240, pw - R(tvwLog) - 240, ph * 0.42);
    place(vfgLog, R(tvwLog) + 120, B(lvwLog) + 120, W(lvwLog), ph * 0.42);
    place(cmdDetail, R(tvwLog) + 180 + W(vfgLog) * 0.48 / 2, B(vfgLog) + 240, W(vfgLog) * 0.48,
          ph - B(vfgLog) - 480);
    place(chkRawData, R(cmdDetail) + 100, T(cmdDetail));
    placeInstrumentButton(pw, ph);
}

void DataPage::placeInstrumentButton(double pw, double ph) {
    // The design place, unless a control of the page covers it or it leaves the page; then
    // beside View Data, in the room left of it, so the button can always be pressed.
    const QRect design(TwipsToPixelsX(5160), TwipsToPixelsY(4800), TwipsToPixelsX(1932),
                       TwipsToPixelsY(372));
    const QRect page(0, 0, TwipsToPixelsX(pw), TwipsToPixelsY(ph));
    const bool covered = std::ranges::any_of(
        std::initializer_list<const QWidget *>{tvwLog, fraLog, lvwLog, vfgLog, cmdDetail},
        [&](const QWidget *w) { return w->geometry().intersects(design); });
    if (!covered && page.contains(design)) {
        cmdLogInst->setGeometry(design);
        return;
    }
    const double left = R(tvwLog) + 120;
    const double width = std::min(1932.0, L(cmdDetail) - 120 - left);
    place(cmdLogInst, L(cmdDetail) - 120 - width, T(cmdDetail), width,
          std::min(372.0, H(cmdDetail)));
}

QString DataPage::keyOf(const QTreeWidgetItem *item) {
    return item ? item->data(0, kKeyRole).toString() : QString();
}

bool DataPage::guarded(int errorId, const std::function<void()> &work) {
    try {
        work();
        return true;
    } catch (const std::exception &e) {
        ShowMessage({errorId, LoadMessage(errorId, {ErrorText(e)}), LoadMessage(5101),
                     BoxIcon::Critical, BoxButtons::Ok});
        return false;
    }
}

// --- Tree -------------------------------------------------------------------------------------

bool DataPage::BuildLogTree() {
    bool built = true;
    if (m_logTreeStale) {
        tvwLog->clear();
        // 100 twips, and room for the branch marks that the platform draws in the indent.
        tvwLog->setIndentation(TwipsToPixelsX(100) + 4);
        m_tree = LogTree();
        auto *root = makeItem(QStringLiteral("0 #"), {LoadMessage(5107)}, QStringLiteral("TQ6200"));
        tvwLog->addTopLevelItem(root);
        built = guarded(30001, [this] {
            const ProgramState &g = Globals();
            Database db(g.DatabasePath);
            m_tree = LogTree::Build(db,
                                    {chkLog[0]->isChecked(), chkLog[1]->isChecked(),
                                     chkLog[2]->isChecked(), g.ShowPowerEvents},
                                    LoadMessage(5107));
            fillTree();
            m_logTreeStale = false;
        });
    }
    tvwLog->viewport()->update();
    return built;
}

void DataPage::fillTree() {
    const auto &nodes = m_tree.nodes();
    std::vector<QTreeWidgetItem *> items(nodes.size(), nullptr);
    items[0] = tvwLog->topLevelItem(0);
    // Closed, and open while selected; one icon shared by every node.
    QIcon folder;
    folder.addPixmap(SmallIcon(QStringLiteral("CloseFolder")).pixmap(16), QIcon::Normal);
    folder.addPixmap(SmallIcon(QStringLiteral("OpenFolder")).pixmap(16), QIcon::Selected);
    // Children are made under their parents before the parents join the tree, so the view
    // hears of each first-level branch once.
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        auto *item = new QTreeWidgetItem(QStringList{nodes[i].text});
        item->setData(0, kKeyRole, nodes[i].key);
        item->setIcon(0, folder);
        items[i] = item;
    }
    QList<QTreeWidgetItem *> firstLevel;
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        if (nodes[i].parent == 0)
            firstLevel.append(items[i]);
        else
            items[std::size_t(nodes[i].parent)]->addChild(items[i]);
    }
    items[0]->addChildren(firstLevel);
    items[0]->setExpanded(true);
}

void DataPage::RefreshLogPage() {
    QWidget *frame = parentWidget();
    const bool visible = frame && !frame->isHidden();
    if (frame)
        frame->setVisible(false);
    tvwLog->viewport()->update();
    lvwLog->viewport()->update();
    vfgLog->viewport()->update();
    if (frame)
        frame->setVisible(visible);
}

// --- List ---------------------------------------------------------------------------------------

void DataPage::ShowLogList(const QString &key) {
    Database db(Globals().DatabasePath);
    showListing(ListNode(db, m_tree, key));
}

void DataPage::showListing(const LogListing &listing) {
    if (listing.kind == LogListing::Kind::None) {
        lvwLog->viewport()->update();
        return;
    }
    m_listing = listing;
    lvwLog->header()->setVisible(true);
    lvwLog->clear();
    lvwLog->setColumnCount(int(listing.headings.size()));
    lvwLog->setHeaderLabels(listing.headings);
    fitListColumns();
    if (listing.kind == LogListing::Kind::Folders) {
        if (listing.rows.isEmpty())
            return; // the list stays empty; order and selection stay as they were
        m_sorted = false;
        showListRows();
        selectFirstRow();
        m_selection = {};
        return;
    }
    if (listing.noneFound) {
        emptyFolderSummary();
        return;
    }
    m_sorted = true;
    m_ascending = true;
    showListRows();
    if (lvwLog->topLevelItemCount() > 0) {
        selectFirstRow();
    } else {
        emptyFolderSummary();
        lvwLog->setCurrentItem(nullptr);
    }
    m_selection = {};
}

void DataPage::showListRows() {
    QList<QTreeWidgetItem *> items;
    items.reserve(m_listing.rows.size());
    QHash<QString, QIcon> icons;
    for (const LogListRow &row : m_listing.rows) {
        auto *item = new QTreeWidgetItem(row.columns);
        item->setData(0, kKeyRole, row.key);
        auto icon = icons.find(row.icon);
        if (icon == icons.end())
            icon = icons.insert(row.icon, SmallIcon(row.icon));
        item->setIcon(0, *icon);
        items.append(item);
    }
    if (m_sorted && !m_ascending)
        std::reverse(items.begin(), items.end());
    lvwLog->clear();
    lvwLog->addTopLevelItems(items);
    fitListColumns();
}

void DataPage::fitListColumns() {
    const double width = PixelsToTwipsX(lvwLog->viewport()->width());
    const std::vector<double> shares = m_listing.kind == LogListing::Kind::Folders
                                           ? std::vector<double>{0.30, 0.25, 0.44}
                                           : std::vector<double>{0.25, 0.16, 0.16, 0.15, 0.27};
    // (QTreeView hides the measure that every item view offers.)
    const QAbstractItemView &view = *lvwLog;
    std::vector<int> widths;
    std::vector<int> needs;
    for (std::size_t i = 0; i < shares.size(); ++i) {
        widths.push_back(TwipsToPixelsX(width * shares[i]));
        // The rows in view and the heading; a long list is not measured row by row.
        needs.push_back(
            std::max(view.sizeHintForColumn(int(i)), lvwLog->header()->sectionSizeHint(int(i))));
    }
    widths = FitToContents(widths, needs);
    for (std::size_t i = 0; i < widths.size(); ++i)
        lvwLog->setColumnWidth(int(i), widths[i]);
}

void DataPage::selectFirstRow() {
    if (QTreeWidgetItem *first = lvwLog->topLevelItem(0)) {
        lvwLog->setCurrentItem(first);
        first->setSelected(true);
    }
}

void DataPage::lvwLog_ColumnClick(int) {
    if (!m_sorted) {
        // The rows are put in the list's own order: the name column, letter case ignored;
        // logs come in it already.
        std::stable_sort(m_listing.rows.begin(), m_listing.rows.end(),
                         [](const LogListRow &a, const LogListRow &b) {
                             return folded(a.columns.value(0)) < folded(b.columns.value(0));
                         });
        m_sorted = true;
        m_ascending = true;
    } else {
        m_ascending = !m_ascending;
    }
    const QString current = keyOf(lvwLog->currentItem());
    showListRows();
    for (int i = 0; i < lvwLog->topLevelItemCount(); ++i)
        if (keyOf(lvwLog->topLevelItem(i)) == current)
            lvwLog->setCurrentItem(lvwLog->topLevelItem(i));
    lvwLog->viewport()->update();
}

// --- Summary ------------------------------------------------------------------------------------

void DataPage::setButtons(bool enabled) {
    cmdDetail->setEnabled(enabled);
    cmdLogInst->setEnabled(enabled);
}

void DataPage::selectStoredLog(const QString &key) {
    if (const auto kind = KindOfLeaf(AfterLastBlank(key))) {
        // A number that is no number selects no log.
        m_selection = {qint32(kind->type), StoredLogSeqNo(key).value_or(0)};
    }
}

void DataPage::emptyFolderSummary() {
    m_summaryKey.clear();
    FillFolderSummary(*vfgLog);
    setButtons(false);
}

void DataPage::ShowLogSummary(const QString &key) {
    m_summaryKey = key;
    setButtons(true);
    selectStoredLog(key);
    Database db(Globals().DatabasePath);
    setButtons(FillLogSummary(*vfgLog, db, key));
    vfgLog->Refresh();
    if (m_hooks.layOutWindow)
        m_hooks.layOutWindow();
}

// --- Handlers -----------------------------------------------------------------------------------

void DataPage::openPopup(const QString &key, const QPoint &globalPos) {
    mnuDelete->setData(key);
    popupHook(globalPos);
}

void DataPage::tvwLog_MouseDown(Qt::MouseButton button, const QPoint &pos) {
    QTreeWidgetItem *node = tvwLog->itemAt(pos);
    if (!node)
        return;
    const QString key = keyOf(node);
    if (button != Qt::RightButton) {
        m_lastHitKey = key;
        return;
    }
    tvwLog->setCurrentItem(node);
    if (guarded(30002, [&] { ShowLogList(key); }))
        openPopup(key, tvwLog->viewport()->mapToGlobal(pos));
}

void DataPage::tvwLog_NodeClick(QTreeWidgetItem *node) {
    if (!node)
        return;
    if (!guarded(30002, [&] { ShowLogList(keyOf(node)); }))
        return;
    QTreeWidgetItem *first = lvwLog->topLevelItem(0);
    if (!first)
        return;
    const QString firstKey = keyOf(first);
    guarded(30003, [&] { ShowLogSummary(firstKey); });
    selectStoredLog(firstKey);
}

void DataPage::lvwLog_MouseDown(Qt::MouseButton button, const QPoint &pos) {
    QTreeWidgetItem *item = lvwLog->itemAt(pos);
    if (!item)
        return;
    const QString key = keyOf(item);
    if (button != Qt::RightButton) {
        m_lastHitKey = key;
        return;
    }
    guarded(30003, [&] { ShowLogSummary(key); });
    lvwLog->setCurrentItem(item);
    openPopup(key, lvwLog->viewport()->mapToGlobal(pos));
}

void DataPage::lvwLog_ItemClick(QTreeWidgetItem *item) {
    if (!item)
        return;
    const QString key = keyOf(item);
    guarded(30003, [&] { ShowLogSummary(key); });
    selectStoredLog(key);
}

void DataPage::chkLog_Click(int) {
    if (Globals().DatabasePath.isEmpty())
        return;
    for (QCheckBox *box : chkLog)
        box->setEnabled(false);
    if (m_hooks.enableMenuButtons)
        m_hooks.enableMenuButtons(false);
    m_logTreeStale = true;
    if (BuildLogTree()) {
        if (!tvwLog->currentItem())
            tvwLog->setCurrentItem(tvwLog->topLevelItem(0));
        tvwLog_NodeClick(tvwLog->currentItem());
    }
    for (QCheckBox *box : chkLog)
        box->setEnabled(true);
    if (m_hooks.enableMenuButtons)
        m_hooks.enableMenuButtons(true);
}

void DataPage::cmdDetail_Click() {
    if (m_hooks.viewData)
        m_hooks.viewData();
}

void DataPage::chkRawData_Click() {
    // Takes effect at the next load of an interval or alarm trend.
    Globals().ExportRawData = chkRawData->isChecked();
}

void DataPage::lvwLog_DblClick() {
    const QString key = m_lastHitKey;
    if (key.isEmpty())
        return;
    const QString letter = AfterLastBlank(key);
    if (IsGroupingLetter(letter) || KindOfFolder(letter)) {
        // The folder opens in the list; the tree shows it without moving its selection.
        // A key that names no node any more ends the double-click quietly.
        QTreeWidgetItem *node = nullptr;
        for (QTreeWidgetItemIterator it(tvwLog); *it && !node; ++it)
            if (keyOf(*it) == key)
                node = *it;
        if (!node || !node->parent())
            return;
        node->parent()->setExpanded(true);
        try {
            ShowLogList(key);
            if (QTreeWidgetItem *first = lvwLog->topLevelItem(0))
                ShowLogSummary(keyOf(first));
        } catch (const std::exception &) {
            // The page stays as far as it got.
        }
        return;
    }
    if (m_selection.SelectedLogType != 0 && m_selection.SelectedSeqNo != 0)
        cmdDetail_Click();
}

void DataPage::cmdLogInst_Click() {
    bool shown = false;
    if (lvwLog->currentItem() && m_selection.SelectedLogType != 0 && m_hooks.showStoredInstrument &&
        !guarded(30004, [&] { shown = m_hooks.showStoredInstrument(m_selection.SelectedSeqNo); }))
        return;
    if (!shown)
        ShowMessage(
            {5359, LoadMessage(5359), LoadMessage(5360), BoxIcon::Information, BoxButtons::Ok});
}

// --- Deletion -----------------------------------------------------------------------------------

void DataPage::mnuDelete_Click() {
    if (!frmPassword::Ask())
        return;
    const QString key = mnuDelete->data().toString();
    const std::optional<DeletionKind> kind = DeletionKindOf(key);
    if (!kind)
        return;
    QString item;
    for (int i = 0; i < lvwLog->topLevelItemCount(); ++i)
        if (keyOf(lvwLog->topLevelItem(i)) == key)
            item = lvwLog->topLevelItem(i)->text(0);
    const QString title = LoadMessage(kind->title);
    if (ShowMessage({kind->question, LoadMessage(kind->question, {item}), title, BoxIcon::Question,
                     BoxButtons::YesNo}) != BoxAnswer::Yes)
        return;
    const ProgramState &g = Globals();
    const int node = m_tree.find(key);
    const int parent = node > 0 ? m_tree.node(node).parent : 0;
    DeletionOutcome outcome;
    try {
        outcome = DeleteStoredLogs(g.DatabasePath, g.DataFolder, m_tree, key);
    } catch (const std::exception &e) {
        ShowMessage({30011, LoadMessage(30011, {DeletionFailureReason(e)}), title,
                     BoxIcon::Critical, BoxButtons::Ok});
        return;
    }
    // The selected or summarised log, when it went, can no longer be viewed.
    const bool shownGone = shownLogGone();
    switch (kind->scope) {
    case DeletionScope::AllLogs:
        m_logTreeStale = true;
        BuildLogTree();
        guarded(30002, [this] { ShowLogList(QStringLiteral("0 #")); });
        break;
    case DeletionScope::Folder:
        showAfterFolderDeletion(parent);
        break;
    case DeletionScope::OneLog:
        removeListRow(key);
        break;
    }
    if (shownGone) {
        m_selection = {};
        emptyFolderSummary();
    }
    if (!outcome.leftFiles.isEmpty())
        ShowMessage({30012, LoadMessage(30012, {outcome.leftFiles.join(QStringLiteral("\r\n"))}),
                     title, BoxIcon::Warning, BoxButtons::Ok});
}

bool DataPage::shownLogGone() {
    QVariantList shown;
    if (m_selection.SelectedSeqNo != 0)
        shown << m_selection.SelectedSeqNo;
    if (const auto summarised = StoredLogSeqNo(m_summaryKey);
        summarised && !shown.contains(*summarised))
        shown << *summarised;
    if (shown.isEmpty())
        return false;
    // One read for both: one is gone when fewer rows are left than logs shown.
    bool gone = false;
    guarded(30002, [&] {
        const QString marks = QStringList(shown.size(), QStringLiteral("?")).join(u',');
        gone =
            Database(Globals().DatabasePath)
                .scalar(
                    QStringLiteral("Select Count(*) From Log_head Where SeqNo In (%1)").arg(marks),
                    shown)
                .toLongLong() < shown.size();
    });
    return gone;
}

void DataPage::showAfterFolderDeletion(int position) {
    m_logTreeStale = true;
    BuildLogTree();
    if (std::size_t(position) >= m_tree.nodes().size()) {
        guarded(30002, [this] { ShowLogList(QStringLiteral("0 #")); });
        return;
    }
    const QString key = m_tree.node(position).key;
    for (QTreeWidgetItemIterator it(tvwLog); *it; ++it)
        if (keyOf(*it) == key)
            tvwLog->setCurrentItem(*it);
    guarded(30002, [&] { ShowLogList(key); });
}

void DataPage::removeListRow(const QString &key) {
    for (int i = 0; i < lvwLog->topLevelItemCount(); ++i)
        if (keyOf(lvwLog->topLevelItem(i)) == key)
            delete lvwLog->takeTopLevelItem(i--);
    m_listing.rows.removeIf([&key](const LogListRow &row) { return row.key == key; });
    lvwLog->viewport()->update();
}

bool DataPage::eventFilter(QObject *watched, QEvent *event) {
    const bool tree = watched == tvwLog->viewport() || watched == tvwLog;
    const bool list = watched == lvwLog->viewport() || watched == lvwLog;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (watched == tvwLog->viewport() || watched == lvwLog->viewport()) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            const QPoint pos = mouse->position().toPoint();
            if (tree)
                tvwLog_MouseDown(mouse->button(), pos);
            else
                lvwLog_MouseDown(mouse->button(), pos);
            // The right button's menu has run; the view neither selects nor clicks again.
            if (mouse->button() == Qt::RightButton)
                return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (watched == tvwLog->viewport() || watched == lvwLog->viewport()) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton) {
                auto *view = tree ? tvwLog : lvwLog;
                QTreeWidgetItem *item = view->itemAt(mouse->position().toPoint());
                // The press made the item current; the release over it is the click.
                if (item && keyOf(item) == m_lastHitKey) {
                    if (tree)
                        tvwLog_NodeClick(item);
                    else
                        lvwLog_ItemClick(item);
                }
            }
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == lvwLog->viewport())
            lvwLog_DblClick();
        break;
    case QEvent::KeyPress:
        if (tree || list)
            m_keyView = tree ? static_cast<QObject *>(tvwLog) : lvwLog;
        break;
    case QEvent::KeyRelease:
        m_keyView = nullptr;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tq
