#include "ui/display/data_view_page.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/gui/dialogs.h"
#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "graph/uclVtmGraph.h"
#include "logs/trend/log_header.h"
#include "print/frmPrint.h"
#include "ui/common/fore_colour.h"
#include "ui/common/small_icons.h"
#include "ui/display/trend_file_notice.h"
#include "ui/display/trend_search.h"
#include "ui/display/valid_samples.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <cmath>

namespace tq {

namespace {

// The mouse pointers of the graph and the table.
constexpr int kDefaultPointer = 0;
constexpr int kHourglass = 11;
constexpr int kCustomPointer = 99;

constexpr int kGasBoxes = 4; // boxes 0 to 3 follow the log's gas slots

// A trend that offers the graph from this many valid samples on.
constexpr qint32 kGraphOfferedFrom = 5;

// The graph marks and the first four letters of the table cells that open an alarm trend;
// case counts.
const QStringList &reactingMarks() {
    static const QStringList marks{QStringLiteral("WARNING"), QStringLiteral("ALARM"),
                                   QStringLiteral("OVER")};
    return marks;
}
const QStringList &reactingCells() {
    static const QStringList cells{QStringLiteral("WARN"), QStringLiteral("ALAR"),
                                   QStringLiteral("OVER")};
    return cells;
}

qint32 item(LogHeaderItem i) {
    return static_cast<qint32>(i);
}
qint32 item(GasInfoItem i) {
    return static_cast<qint32>(i);
}

// How View Data loads and offers each listed log type.
enum class Offer {
    Trend,   // the graph from five valid samples on, the choice kept
    BarHole, // neither view
    Table,   // the table only
};

struct TypeRule {
    qint32 type;
    int caption; // the type caption of the frame
    Offer offer;
    void (*load)(DataViewLogs &logs, qint64 seqNo);
};

// Each load reads the store the program works in now.
template <typename Log> void reload(Log &log) {
    log.setContext(ProgramStoreContext());
    log.ReLoad();
}
// An interval trend's reload hands back the condensed view that its size requires.
void reload(clsInterval &log) {
    log.setContext(ProgramStoreContext());
    log.ReLoad(Globals().CondensedView);
}

template <typename Log> void clearAndLoad(Log &log, qint64 seqNo) {
    log.ClearDatas();
    log.setSeqNo(seqNo);
    reload(log);
}
// Event logs keep their last content until the reload replaces the head.
template <typename Log> void loadOnly(Log &log, qint64 seqNo) {
    log.setSeqNo(seqNo);
    reload(log);
}

constexpr std::array<TypeRule, 10> kTypeRules{{
    {1, 5624, Offer::Trend, [](DataViewLogs &l, qint64 s) { clearAndLoad(l.ViewInterval, s); }},
    {9, 5677, Offer::BarHole, [](DataViewLogs &l, qint64 s) { clearAndLoad(l.ViewInterval, s); }},
    {2, 5625, Offer::Trend, [](DataViewLogs &l, qint64 s) { clearAndLoad(l.ViewAlarm, s); }},
    {3, 5673, Offer::Table, [](DataViewLogs &l, qint64 s) { clearAndLoad(l.ViewHistory, s); }},
    {10, 5678, Offer::Table, [](DataViewLogs &l, qint64 s) { clearAndLoad(l.ViewHistory, s); }},
    {5, 5627, Offer::Table, [](DataViewLogs &l, qint64 s) { loadOnly(l.ViewAlarmEvent, s); }},
    {6, 5628, Offer::Table, [](DataViewLogs &l, qint64 s) { loadOnly(l.ViewTroubleEvent, s); }},
    {7, 5629, Offer::Table, [](DataViewLogs &l, qint64 s) { loadOnly(l.ViewPowerEvent, s); }},
    {11, 5679, Offer::Table, [](DataViewLogs &l, qint64 s) { clearAndLoad(l.ViewSnapShot, s); }},
    // A sensor-change log has no object: its table reads the database.
    {12, 5630, Offer::Table, [](DataViewLogs &, qint64) {}},
}};

const TypeRule *ruleOf(qint32 type) {
    for (const TypeRule &rule : kTypeRules)
        if (rule.type == type)
            return &rule;
    return nullptr;
}

void tellNothingSelected() {
    ShowMessage({5301, LoadMessage(5301), LoadMessage(5302), BoxIcon::Information, BoxButtons::Ok});
}

} // namespace

DataViewPage::Fills DataViewPage::ProductionFills() {
    return {ShowBrowseData, ShowTrendGraph};
}

DataViewPage::DataViewPage(QGroupBox *frame, const LogSelection &selection, WindowHooks hooks,
                           Fills fills)
    : QWidget(frame), m_frame(frame), m_selection(selection), m_hooks(std::move(hooks)),
      m_fills(std::move(fills)), m_export({[this] {
                                               setWindowBusy(true);
                                               if (m_hooks.showExportProgress)
                                                   m_hooks.showExportProgress(true);
                                           },
                                           [this] {
                                               if (m_hooks.showExportProgress)
                                                   m_hooks.showExportProgress(false);
                                               setWindowBusy(false);
                                           }}) {
    setObjectName(QStringLiteral("DataViewPage"));
    buildControls();
    connectControls();
}

void DataViewPage::connectControls() {
    // Clicks of the person only: the page sets its boxes and options itself where the
    // handlers would fill again what it has just filled.
    for (int i = 0; i < 2; ++i)
        connect(optBrowse[std::size_t(i)], &QRadioButton::clicked, this,
                [this, i] { optBrowse_Click(i); });
    for (int i = 0; i < 7; ++i)
        connect(chkBrowse[std::size_t(i)], &QCheckBox::clicked, this,
                [this, i] { chkBrowse_Click(i); });
    connect(chkEvent, &QCheckBox::clicked, this, &DataViewPage::chkEvent_Click);
    connect(chkOutline, &QCheckBox::clicked, this, &DataViewPage::chkOutline_Click);
    connect(cmbBrowse, &QComboBox::activated, this, &DataViewPage::cmbBrowse_Click);
    for (int i = 0; i < 5; ++i)
        connect(cmdBrowse[std::size_t(i)], &QPushButton::clicked, this,
                [this, i] { cmdBrowse_Click(i); });
    // Directly connected: the graph acts on the press after its handlers.
    connect(vtmGraph, &uclVtmGraph::MouseDown, this,
            [this](qint16 &button, qint16 &shift, float &x, float &y) {
                vtmGraph_MouseDown(button, shift, x, y);
            });
    connect(vtmGraph, &uclVtmGraph::MouseMove, this,
            [this](qint16 &button, qint16 &shift, float &x, float &y) {
                vtmGraph_MouseMove(button, shift, x, y);
            });
    connect(vfgBrowse, &FlexGrid::MouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint &pos) {
                vfgBrowse_MouseDown(button, pos);
            });
    connect(vfgBrowse, &FlexGrid::MouseMove, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, const QPoint &pos) {
                vfgBrowse_MouseMove(pos);
            });
}

// --- State helpers --------------------------------------------------------------------------

void DataViewPage::setWindowBusy(bool busy) {
    if (busy)
        window()->setCursor(Qt::WaitCursor);
    else
        window()->unsetCursor();
}

void DataViewPage::setTablePointer(int pointer) {
    if (pointer == kHourglass)
        vfgBrowse->setCursor(Qt::WaitCursor);
    else if (pointer == kCustomPointer)
        vfgBrowse->setCursor(QCursor(AlarmTrendPointer()));
    else
        vfgBrowse->unsetCursor();
}

void DataViewPage::selectView(View view) {
    // Neither selected needs the pair's exclusiveness off for a moment.
    for (QRadioButton *option : optBrowse)
        option->setAutoExclusive(false);
    optBrowse[0]->setChecked(view == View::Table);
    optBrowse[1]->setChecked(view == View::Graph);
    for (QRadioButton *option : optBrowse)
        option->setAutoExclusive(true);
}

DataViewPage::View DataViewPage::selectedView() const {
    if (optBrowse[0]->isChecked())
        return View::Table;
    return optBrowse[1]->isChecked() ? View::Graph : View::None;
}

void DataViewPage::emptyView() {
    for (FlexGrid *grid : {vfgSummary, vfgBrowse}) {
        grid->SetRows(grid->FixedRows());
        grid->Clear();
    }
    vtmGraph->Clear();
    vtmGraph->Refresh();
}

bool DataViewPage::guarded(int errorId, const std::function<void()> &work, Failure failure) {
    const bool frameVisible = !m_frame->isHidden();
    try {
        work();
        return true;
    } catch (const std::exception &e) {
        setWindowBusy(false);
        setTablePointer(kDefaultPointer);
        vtmGraph->setMousePointer(kDefaultPointer);
        vfgBrowse->SetRedraw(true);
        m_frame->setVisible(frameVisible);
        if (failure == Failure::EmptiesView) {
            m_browseFilled = false;
            emptyView();
        }
        ShowMessage({errorId, LoadMessage(errorId, {ErrorText(e)}), LoadMessage(5151),
                     BoxIcon::Critical, BoxButtons::Ok});
        return false;
    }
}

// --- Fills ------------------------------------------------------------------------------------

void DataViewPage::showBrowseData() {
    BrowseDataRequest request;
    request.logType = m_selection.SelectedLogType;
    request.seqNo = m_selection.SelectedSeqNo;
    request.tableSelected = optBrowse[0]->isChecked();
    request.interval = {chkEvent->isChecked(), Globals().DebugMode, Globals().CondensedView};
    // A type without a summary hides the grid; the next listed type shows it again.
    vfgSummary->setVisible(m_fills.browseData(*vfgSummary, *vfgBrowse, m_logs, request));
}

void DataViewPage::showTrendGraph() {
    const TrendGraphBoxes boxes =
        m_fills.trendGraph(*vtmGraph, m_selection.SelectedLogType, m_logs,
                           {chkBrowse[kEventBox]->isChecked(), chkBrowse[kCursorBox]->isChecked()});
    {
        const QSignalBlocker blockBox(chkBrowse[0]);
        chkBrowse[0]->setText(boxes.gasTitle);
        SetForeColour(*chkBrowse[0], boxes.gasColour);
        chkBrowse[0]->setChecked(boxes.gasEnabled);
        chkBrowse[0]->setVisible(boxes.gasEnabled);
    }
    {
        const QSignalBlocker blockList(cmbBrowse);
        cmbBrowse->clear();
        cmbBrowse->addItems(boxes.zoomEntries);
        cmbBrowse->setCurrentIndex(boxes.zoomEntries.isEmpty() ? -1 : 0);
    }
    if (optBrowse[1]->isChecked())
        showEventAndCursorBoxes();
}

void DataViewPage::showEventAndCursorBoxes() {
    chkBrowse[kEventBox]->setVisible(true);
    chkBrowse[kCursorBox]->setVisible(true);
}

const HeadedLog &DataViewPage::trendLog() const {
    if (m_selection.SelectedLogType == 2)
        return m_logs.ViewAlarm;
    return m_logs.ViewInterval;
}

void DataViewPage::alignGasBoxes() {
    const HeadedLog &log = trendLog();
    const bool marks = chkBrowse[kEventBox]->isChecked();
    for (int slot = 0; slot < kGasBoxes; ++slot) {
        // A slot the log does not have reads as not enabled.
        const bool enabled = log.GasListInfo(slot, item(GasInfoItem::Enable)).toBool();
        QCheckBox *box = chkBrowse[std::size_t(slot)];
        box->setChecked(enabled);
        box->setVisible(enabled);
        if (slot < vtmGraph->SampleDataCount()) {
            vtmGraph->setSampleVisible(qint16(slot), enabled);
            vtmGraph->setEventVisible(qint16(slot), enabled && marks);
        }
    }
    showEventAndCursorBoxes();
}

// --- Loading ----------------------------------------------------------------------------------

void DataViewPage::cmdDetail_Click() {
    if (m_selection.SelectedLogType == 0) {
        tellNothingSelected();
        return;
    }
    if (selectedView() == View::None)
        selectView(View::Table);
    Globals().CondensedView = !Globals().CompletelyView;
    ShowDataView();
    if (m_hooks.showPage)
        m_hooks.showPage();
    if (m_selection.SelectedLogType == 2) {
        vfgBrowse->SetTopRow(1);
        if (!m_logs.ViewAlarm.header().SampledAsInterval())
            ScrollAlarmRowToMiddle(*vfgBrowse);
    }
}

void DataViewPage::ShowDataView() {
    const bool frameVisible = !m_frame->isHidden();
    const bool loaded = guarded(30021, [&] {
        setWindowBusy(true);
        m_frame->setVisible(false);
        loadSelectedLog();
        m_frame->setVisible(frameVisible);
        m_browseFilled = false;
        setWindowBusy(false);
    });
    // A trend is shown with what could be read; the box says when its trend file was not
    // whole.
    const qint32 type = m_selection.SelectedLogType;
    if (loaded && (type == 1 || type == 9))
        TellTrendFileFault(m_logs.ViewInterval.trendFileCheck());
    else if (loaded && type == 2)
        TellTrendFileFault(m_logs.ViewAlarm.trendFileCheck());
}

void DataViewPage::loadSelectedLog() {
    optBrowse[0]->setEnabled(true);
    const qint32 type = m_selection.SelectedLogType;
    if (type == 0) {
        m_frame->setTitle(LoadMessage(5151));
        selectView(View::Table);
        optBrowse[1]->setEnabled(false);
        for (int i = 0; i < 4; ++i)
            cmdBrowse[std::size_t(i)]->setEnabled(false);
        chkEvent->setEnabled(false);
        chkOutline->setEnabled(false);
        tellNothingSelected();
        return;
    }
    const TypeRule *rule = ruleOf(type);
    if (!rule)
        return; // nothing to load; the page keeps what it showed
    for (int i = 0; i < 4; ++i)
        cmdBrowse[std::size_t(i)]->setEnabled(true);
    cmdBrowse[3]->setEnabled(type != 9);
    const bool interval = type == 1;
    chkEvent->setEnabled(interval);
    chkOutline->setEnabled(interval);
    if (interval) {
        // Set before the load: a log above 54,000 samples turns condensing on as it loads.
        const QSignalBlocker block(chkOutline);
        chkOutline->setChecked(Globals().CondensedView);
    }
    rule->load(m_logs, m_selection.SelectedSeqNo);
    const int caption =
        type == 2 && m_logs.ViewAlarm.header().SampledAsInterval() ? 5624 : rule->caption;
    m_frame->setTitle(LoadMessage(5151) + QLatin1Char('(') + LoadMessage(caption) +
                      QLatin1Char(')'));

    bool graph = false;
    switch (rule->offer) {
    case Offer::Trend: {
        const qint32 samples = interval ? CountValidSamples(m_logs.ViewInterval)
                                        : qint32(m_logs.ViewAlarm.DataCount());
        graph = samples >= kGraphOfferedFrom;
        optBrowse[1]->setEnabled(graph);
        if (!graph)
            selectView(View::Table);
        break;
    }
    case Offer::BarHole:
        selectView(View::None);
        optBrowse[0]->setEnabled(false);
        optBrowse[1]->setEnabled(false);
        vfgSummary->setVisible(true);
        break;
    case Offer::Table:
        selectView(View::Table);
        optBrowse[1]->setEnabled(false);
        break;
    }
    if (selectedView() == View::Table) {
        vfgBrowse->setVisible(true);
        vtmGraph->setVisible(false);
    }
    showBrowseData();
    if (graph)
        showTrendGraph();
    if (interval) {
        vfgBrowse->SetRedraw(true);
        vfgBrowse->Refresh();
    }
}

// --- Options ----------------------------------------------------------------------------------

void DataViewPage::optBrowse_Click(int) {
    guarded(30021, [&] {
        setWindowBusy(true);
        if (optBrowse[0]->isChecked()) {
            if (!m_browseFilled) {
                showBrowseData();
                m_browseFilled = true;
            }
            vtmGraph->setVisible(false);
            vfgBrowse->setVisible(true);
        } else if (optBrowse[1]->isChecked()) {
            vtmGraph->setVisible(true);
            vfgBrowse->setVisible(false);
            const qint32 type = m_selection.SelectedLogType;
            if (type == 1 || type == 2) {
                if (!m_browseFilled) {
                    showTrendGraph();
                    m_browseFilled = true;
                } else {
                    alignGasBoxes();
                }
            }
            vtmGraph->setFocus();
        }
        if (m_hooks.layOutWindow)
            m_hooks.layOutWindow();
        setWindowBusy(false);
    });
}

void DataViewPage::chkBrowse_Click(int index) {
    if (ApplyGraphBox(*vtmGraph, index, chkBrowse[std::size_t(index)]->isChecked(),
                      chkBrowse[kEventBox]->isChecked()))
        vtmGraph->RedrawShown();
}

void DataViewPage::chkEvent_Click() {
    guarded(30021, [&] {
        setWindowBusy(true);
        showBrowseData();
        chkOutline->setEnabled(!chkEvent->isChecked());
        setWindowBusy(false);
    });
}

void DataViewPage::chkOutline_Click() {
    Globals().CondensedView = chkOutline->isChecked();
    ShowDataView();
    if (m_hooks.layOutWindow)
        m_hooks.layOutWindow();
}

void DataViewPage::cmbBrowse_Click() {
    vtmGraph->setZoom(qint16(cmbBrowse->currentText().toInt()));
    vtmGraph->RedrawShown();
}

void DataViewPage::cmdBrowse_Click(int index) {
    switch (index) {
    case 0:
        printLog();
        break;
    case 2:
        exportLog();
        break;
    case 3:
        toggleSummary();
        break;
    case 4:
        if (m_hooks.showDataPage)
            m_hooks.showDataPage();
        break;
    default:
        break;
    }
}

bool DataViewPage::tableMode() const {
    return optBrowse[0]->isChecked() || m_selection.SelectedLogType == 9;
}

void DataViewPage::printLog() {
    PrintRequest request;
    request.PrintType = !tableMode();
    request.EventMarks = chkBrowse[kEventBox]->isChecked();
    request.DataType = m_selection.SelectedLogType;
    request.SeqNo = m_selection.SelectedSeqNo;
    switch (request.DataType) {
    case 1:
    case 9:
        request.IntervalData = &m_logs.ViewInterval;
        break;
    case 2:
        request.AlarmData = &m_logs.ViewAlarm;
        break;
    case 11:
        request.SnapData = &m_logs.ViewSnapShot;
        break;
    default:
        break;
    }
    request.frmObj = vfgBrowse;
    setWindowBusy(true);
    // The job tells its own failures and puts the printer back.
    frmPrint().GoPrinter(request);
    setWindowBusy(false);
    vtmGraph->RedrawShown();
}

void DataViewPage::exportLog() {
    ExportSource source;
    source.logType = m_selection.SelectedLogType;
    source.seqNo = m_selection.SelectedSeqNo;
    source.logs = {&m_logs.ViewInterval, &m_logs.ViewAlarm, &m_logs.ViewSnapShot,
                   &m_logs.ViewHistory};
    source.graphView = optBrowse[1]->isChecked();
    source.graph = vtmGraph;
    source.debugMode = Globals().DebugMode;
    // The command redraws and focuses a visible graph itself, after a "No" too.
    m_export.Run(source);
}

void DataViewPage::toggleSummary() {
    vfgSummary->setVisible(vfgSummary->isHidden());
    if (m_hooks.layOutWindow)
        m_hooks.layOutWindow();
    vtmGraph->RedrawShown();
}

// --- Trend search -----------------------------------------------------------------------------

void DataViewPage::openAlarmTrendNear(const Date &eventTime,
                                      const std::function<void(int)> &setPointer) {
    guarded(
        30022,
        [&] {
            setPointer(kHourglass);
            Database db(Globals().DatabasePath);
            const QString serial =
                m_logs.ViewInterval.GasBaseInfo(item(LogHeaderItem::SerialNo)).toString();
            const qint64 found =
                FindAlarmTrendNear(db, m_selection.SelectedSeqNo, serial, eventTime);
            if (found < 0) {
                setPointer(kDefaultPointer);
                ShowMessage({5162, LoadMessage(5162), LoadMessage(5163), BoxIcon::Information,
                             BoxButtons::Ok});
                return;
            }
            ProgramState &g = Globals();
            g.ViewEventDate = eventTime;
            g.ViewSeqNo = found;
            g.ViewKind = 2;
            if (m_hooks.openDataViewWindow)
                m_hooks.openDataViewWindow();
            setPointer(kDefaultPointer);
        },
        Failure::KeepsView);
}

namespace {

// The mark under a point of the graph's drawing area: its time and flag text.
struct MarkHit {
    double time = 0;
    QString flag;
};

MarkHit markAt(const uclVtmGraph &graph, float x, float y) {
    MarkHit hit;
    graph.SearchEvent(graph.xData(x), qint32(std::nearbyint(y)), hit.time, hit.flag);
    return hit;
}

} // namespace

void DataViewPage::vtmGraph_MouseDown(qint16, qint16, float x, float y) {
    if (!chkBrowse[kEventBox]->isChecked()) {
        setWindowBusy(false);
        return;
    }
    const MarkHit hit = markAt(*vtmGraph, x, y);
    if (!reactingMarks().contains(hit.flag))
        return;
    openAlarmTrendNear(Date(hit.time),
                       [this](int pointer) { vtmGraph->setMousePointer(qint16(pointer)); });
}

void DataViewPage::vtmGraph_MouseMove(qint16, qint16, float x, float y) {
    if (!chkBrowse[kEventBox]->isChecked()) {
        vtmGraph->setMousePointer(kDefaultPointer);
        return;
    }
    if (reactingMarks().contains(markAt(*vtmGraph, x, y).flag)) {
        vtmGraph->setMouseIcon(AlarmTrendPointer());
        vtmGraph->setMousePointer(kCustomPointer);
    } else {
        vtmGraph->setMousePointer(kDefaultPointer);
    }
}

bool DataViewPage::tableCellReacts(int row, int col) const {
    if (m_selection.SelectedLogType != 1 || row < 1 || col < 1)
        return false;
    // Event cells carry the colour of their status; sample cells have none of their own.
    const QColor back = vfgBrowse->CellBackColor(row, col);
    if (!back.isValid() || (back.rgb() & 0xFFFFFF) == 0)
        return false;
    return reactingCells().contains(vfgBrowse->TextMatrix(row, col).left(4));
}

void DataViewPage::vfgBrowse_MouseDown(Qt::MouseButton button, const QPoint &) {
    if (button == Qt::RightButton)
        return;
    const int row = vfgBrowse->MouseRow();
    const int col = vfgBrowse->MouseCol();
    if (!tableCellReacts(row, col))
        return;
    // The event's own time, kept with its row: no date text is read back.
    const QVariant time = vfgBrowse->RowData(row);
    if (!time.canConvert<Date>())
        return;
    openAlarmTrendNear(time.value<Date>(), [this](int pointer) { setTablePointer(pointer); });
}

void DataViewPage::vfgBrowse_MouseMove(const QPoint &) {
    setTablePointer(tableCellReacts(vfgBrowse->MouseRow(), vfgBrowse->MouseCol())
                        ? kCustomPointer
                        : kDefaultPointer);
}

} // namespace tq
