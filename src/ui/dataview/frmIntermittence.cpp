#include "ui/dataview/frmIntermittence.h"

#include "core/errors.h"
#include "core/gui/dialogs.h"
#include "core/gui/display_font.h"
#include "core/gui/flex_grid.h"
#include "core/gui/layout_geometry.h"
#include "core/gui/twips.h"
#include "core/log_schema.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "core/program_title.h"
#include "graph/uclVtmGraph.h"
#include "logs/trend/log_header.h"
#include "ui/common/control_names.h"
#include "ui/common/frame_caption.h"
#include "ui/common/hourglass.h"
#include "ui/dataview/data_view_window_layout.h"
#include "ui/display/trend_file_notice.h"
#include "ui/display/trend_graph_fill.h"
#include "ui/display/trend_tables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace tq {

namespace {

constexpr int kGasBoxes = 4; // boxes 0 to 3 follow the gas slots
// Below this many samples the log has no graph.
constexpr qint16 kGraphFrom = 5;

// Turns an auto-exclusive option on or off; off runs nothing.
void setOption(QRadioButton &option, bool on) {
    if (on || !option.isChecked()) {
        option.setChecked(on);
        return;
    }
    option.setAutoExclusive(false);
    option.setChecked(false);
    option.setAutoExclusive(true);
}

} // namespace

frmIntermittence::frmIntermittence() : QDialog(nullptr) {
    setObjectName(QStringLiteral("frmIntermittence"));
    setModal(true);
    buildControls();
    connectControls();
}

frmIntermittence::~frmIntermittence() = default;

void frmIntermittence::buildControls() {
    fraMenu = MakeNamed<QGroupBox>(this, QStringLiteral("fraMenu"));
    SetFrameCaptionStyle(*fraMenu);
    for (int i = 0; i < 2; ++i)
        optBrowse[std::size_t(i)] =
            MakeSized<QRadioButton>(fraMenu, IndexedName("optBrowse", i),
                                    kDataViewOptionWidths[std::size_t(i)], kDataViewRowHeight);
    chkEvent = MakeSized<QCheckBox>(fraMenu, QStringLiteral("chkEvent"), 1575, kDataViewRowHeight);
    vfgSummary = MakeNamed<FlexGrid>(fraMenu, QStringLiteral("vfgSummary"));
    vfgBrowse = MakeNamed<FlexGrid>(fraMenu, QStringLiteral("vfgBrowse"));
    vtmGraph = MakeNamed<uclVtmGraph>(fraMenu, QStringLiteral("vtmGraph"));
    const std::array<double, 7> boxWidths{1815, 1875, 1995, 2415, 2415, 855, 1035};
    for (int i = 0; i < 7; ++i)
        chkBrowse[std::size_t(i)] = MakeSized<QCheckBox>(
            fraMenu, IndexedName("chkBrowse", i), boxWidths[std::size_t(i)], kDataViewRowHeight);
    lblTitle1 =
        MakeSized<QLabel>(fraMenu, IndexedName("lblTitle", 1), kDataViewZoomLabelWidth, 204);
    cmbBrowse = MakeSized<QComboBox>(fraMenu, QStringLiteral("cmbBrowse"), 1452, 345);
    for (int i = 0; i < 5; ++i)
        cmdBrowse[std::size_t(i)] = MakeNamed<QPushButton>(fraMenu, IndexedName("cmdBrowse", i));
    // Never shown: To clipboard, the fifth gas box and Event Only (an alarm trend has no
    // events to list alone). Gas boxes 1 to 3 show only for a gas the log has.
    cmdBrowse[1]->setVisible(false);
    chkEvent->setVisible(false);
    for (int i = 1; i < 5; ++i)
        chkBrowse[std::size_t(i)]->setVisible(false);
    // The last column takes what the columns before it leave.
    vfgSummary->horizontalHeader()->setStretchLastSection(true);
    vfgBrowse->horizontalHeader()->setStretchLastSection(true);
}

void frmIntermittence::connectControls() {
    for (int i = 0; i < 2; ++i)
        connect(optBrowse[std::size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optBrowse_Click(i);
        });
    for (int i = 0; i < 7; ++i)
        connect(chkBrowse[std::size_t(i)], &QCheckBox::toggled, this,
                [this, i] { chkBrowse_Click(i); });
    connect(chkEvent, &QCheckBox::toggled, this, [this] { chkEvent_Click(); });
    connect(cmbBrowse, &QComboBox::currentIndexChanged, this, [this] { cmbBrowse_Click(); });
    for (int i = 0; i < 5; ++i)
        connect(cmdBrowse[std::size_t(i)], &QPushButton::clicked, this,
                [this, i] { cmdBrowse_Click(i); });
}

int frmIntermittence::Show(const DataViewOpening &opening) {
    try {
        Form_Load(opening);
    } catch (const std::exception &e) {
        ShowMessage({30021, LoadMessage(30021, {ErrorText(e)}), LoadMessage(5151),
                     BoxIcon::Critical, BoxButtons::Ok});
        return Rejected;
    }
    return exec();
}

void frmIntermittence::Form_Load(const DataViewOpening &opening) {
    m_opening = opening;
    ApplyDisplayFont(*this);
    QFont bold = fraMenu->font();
    bold.setBold(true);
    fraMenu->setFont(bold);
    setWindowTitle(ProgramWindowTitle());
    resize(TwipsToPixelsX(opening.width), TwipsToPixelsY(opening.height));
    vfgSummary->setVisible(opening.summaryVisible);
    CentreOnScreen(*this);
    setCaptions();
    vfgBrowse->setVisible(opening.options[0]);
    for (QWidget *graphView : std::initializer_list<QWidget *>{vtmGraph, lblTitle1, cmbBrowse})
        graphView->setVisible(opening.options[1]);
    copyBoxes(6);
    copyOptions();
    LoadLogData();
    optBrowse_Click(0);
}

void frmIntermittence::setCaptions() {
    fraMenu->setTitle(LoadMessage(5151));
    optBrowse[0]->setText(LoadMessage(5152));
    optBrowse[1]->setText(LoadMessage(5153));
    // The default settings name gas slot 0 only; the graph fill names the log's gas.
    for (int g = 0; g < kGasBoxes; ++g)
        chkBrowse[std::size_t(g)]->setText(Globals().DefaultSettings.GasName(qint16(g)));
    chkBrowse[5]->setText(LoadMessage(5154));
    chkBrowse[6]->setText(LoadMessage(5155));
    chkEvent->setText(LoadMessage(5160));
    lblTitle1->setText(LoadMessage(5156));
    const std::array<int, 5> buttons{5161, 5157, 5158, 5159, 9101};
    for (std::size_t i = 0; i < buttons.size(); ++i)
        cmdBrowse[i]->setText(LoadMessage(buttons[i]));
}

void frmIntermittence::copyBoxes(int last) {
    for (int i = 0; i <= last; ++i)
        chkBrowse[std::size_t(i)]->setChecked(m_opening.boxes[std::size_t(i)]);
}

void frmIntermittence::copyOptions() {
    // The option turned on last runs its reaction; one turned off runs nothing.
    setOption(*optBrowse[0], m_opening.options[0]);
    setOption(*optBrowse[1], m_opening.options[1]);
}

void frmIntermittence::LoadLogData() {
    fraMenu->setVisible(false);
    copyBoxes(kGasBoxes - 1);
    m_kind = Globals().ViewKind;
    m_alarm.ClearDatas();
    for (int i = 0; i < 4; ++i)
        cmdBrowse[std::size_t(i)]->setEnabled(true);
    chkEvent->setEnabled(false);
    readLog();
    fraMenu->setTitle(LoadMessage(5151) + QLatin1Char('(') +
                      LoadMessage(m_alarm.header().SampledAsInterval() ? 5624 : 5625) +
                      QLatin1Char(')'));
    // A short log has no graph: Table comes on, Graph is disabled.
    const bool graph = m_alarm.DataCount() >= kGraphFrom;
    if (!graph)
        optBrowse[0]->setChecked(true);
    optBrowse[1]->setEnabled(graph);
    ShowTable();
    if (graph)
        SetGraphData();
    fraMenu->setVisible(true);
}

void frmIntermittence::readLog() {
    m_alarm.setSeqNo(Globals().ViewSeqNo);
    m_alarm.setContext(ProgramStoreContext());
    try {
        m_alarm.ReLoad();
        TellTrendFileFault(m_alarm.trendFileCheck());
    } catch (const std::exception &e) {
        // What was read before the failure goes: the window shows an empty alarm trend.
        m_alarm.ClearDatas();
        m_alarm.setSeqNo(Globals().ViewSeqNo);
        ShowMessage({30201, LoadMessage(30201, {ErrorText(e)}), LoadMessage(5151),
                     BoxIcon::Critical, BoxButtons::Ok});
    }
}

void frmIntermittence::optBrowse_Click(int) {
    const Hourglass busy(*this);
    const bool interval = m_alarm.header().SampledAsInterval();
    if (optBrowse[0]->isChecked()) {
        vtmGraph->setVisible(false);
        vfgBrowse->setVisible(true);
        setWindowIcon(interval ? m_opening.IntervalG : m_opening.AlarmG);
    } else {
        vfgBrowse->setVisible(false);
        vtmGraph->setVisible(true);
        SetGraphData();
        setWindowIcon(interval ? m_opening.Interval0 : m_opening.Alarm0);
    }
    Form_Resize();
}

void frmIntermittence::chkBrowse_Click(int index) {
    if (ApplyGraphBox(*vtmGraph, index, chkBrowse[std::size_t(index)]->isChecked(),
                      chkBrowse[kEventBox]->isChecked()))
        vtmGraph->RedrawShown();
}

void frmIntermittence::chkEvent_Click() {
    ShowTable();
}

void frmIntermittence::cmbBrowse_Click() {
    vtmGraph->setZoom(qint16(cmbBrowse->currentText().toInt()));
    vtmGraph->RedrawShown();
}

void frmIntermittence::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmIntermittence::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // The table knows the rows it shows once it is on screen; the graph takes the keys.
    if (m_scrollWhenShown) {
        m_scrollWhenShown = false;
        ScrollAlarmRowToMiddle(*vfgBrowse);
    }
    vtmGraph->RedrawShown();
}

} // namespace tq
