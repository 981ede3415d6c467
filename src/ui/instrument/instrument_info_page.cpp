#include "ui/instrument/instrument_info_page.h"

#include "core/gas_format.h"
#include "core/gui/dialogs.h"
#include "core/gui/flex_grid.h"
#include "core/gui/layout_geometry.h"
#include "core/gui/twips.h"
#include "core/instrument/clsInstrument.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "logs/trend/gas_title.h"
#include "ui/common/caption_columns.h"
#include "ui/common/column_widths.h"
#include "ui/common/designed_controls.h"
#include "ui/instrument/page_colours.h"
#include "ui/instrument/rules/calibration_due.h"

#include <QGroupBox>
#include <QLabel>

#include <algorithm>

namespace tq {

namespace {

constexpr qint16 kSlot = 0;
const QString kDashes = QStringLiteral("-----");

// The settings file's default gas as the heading of a page without detector data.
QString defaultGasTitle() {
    const clsInstrument &d = Globals().DefaultSettings;
    return MakeGasTitle(d.GasName(kSlot), d.GasUnit(kSlot), d.GasFullScale(kSlot),
                        d.GasPoint(kSlot));
}

QString value(const clsInstrument &instrument, float v) {
    return FormatGasValue(v, instrument.GasPoint(kSlot));
}

QStringList headings(std::initializer_list<int> ids) {
    QStringList out;
    for (int id : ids)
        out.append(LoadMessage(id));
    return out;
}

// Clears a grid to rows x cols with two fixed heading rows and one heading column.
void prepare(FlexGrid &grid, int cols) {
    grid.Clear();
    grid.SetCols(cols);
    grid.SetRows(3);
    grid.SetFixedRows(2);
    grid.SetFixedCols(1);
    grid.SetMergeCells(FlexMerge::RestrictRows);
    for (int row = 0; row < grid.Rows(); ++row)
        grid.SetMergeRow(row, row == 0);
}

} // namespace

InstrumentInfoPage::InstrumentInfoPage(QGroupBox *frame, const clsInstrument &linkInstrument)
    : QWidget(frame), m_frame(frame), m_link(linkInstrument) {
    setObjectName(QStringLiteral("InstrumentInfoPage"));
    buildControls();
}

void InstrumentInfoPage::buildControls() {
    fraInst = MakeDesigned<QGroupBox>(this, QStringLiteral("fraInst"));
    fraInstCeneter = MakeDesigned<QWidget>(fraInst, QStringLiteral("fraInstCeneter"), {2415, 3015});
    // One column, caption and value alternating.
    const std::array<double, 10> tops{60, 660, 1260, 300, 900, 1500, 1860, 2100, 2460, 2700};
    const std::array<double, 10> widths{2370, 2370, 2370, 2415, 2415, 2415, 2025, 2415, 1905, 2415};
    for (int i = 0; i < 10; ++i) {
        const bool caption = i <= 2 || i == 6 || i == 8;
        lblInst[std::size_t(i)] = MakeDesigned<QLabel>(
            fraInstCeneter, IndexedName("lblInst", i),
            {widths[std::size_t(i)], caption ? 225.0 : 255.0, 0, tops[std::size_t(i)]});
    }
    // One heading row each until the page is first filled.
    vfgInst = MakeDesigned<FlexGrid>(this, QStringLiteral("vfgInst"));
    vfgInst->SetCols(5);
    vfgInstSensor = MakeDesigned<FlexGrid>(this, QStringLiteral("vfgInstSensor"));
    vfgInstSensor->SetCols(4);
}

void InstrumentInfoPage::layOut(double pw, double ph, const QString &languageCode) {
    setGeometry(0, 0, TwipsToPixelsX(pw), TwipsToPixelsY(ph));
    place(fraInst, 120, 240, pw * 0.25, ph * 0.45);
    centre(fraInstCeneter, fraInst);
    place(vfgInst, R(fraInst) + 120, 360, pw - R(fraInst) - 240, H(fraInst) - 120);
    ApplyColumnWidths(*vfgInst, LayoutGrid::Inst, languageCode);
    place(vfgInstSensor, 120, B(fraInst) + 120, pw - 240, ph - B(fraInst) - 360);
    ApplyColumnWidths(*vfgInstSensor, LayoutGrid::InstSensor, languageCode);
}

void InstrumentInfoPage::fitCaptions() {
    // One column: every label as wide as the widest caption.
    const auto &i = lblInst;
    const int width =
        CaptionColumnWidth({i[0], i[1], i[2], i[6], i[8], i[3], i[4], i[5], i[7], i[9]});
    for (QLabel *label : lblInst)
        label->resize(width, label->height());
    fraInstCeneter->resize(std::max(fraInstCeneter->width(), width), fraInstCeneter->height());
}

InstrumentInfoPage::Source InstrumentInfoPage::ChooseSource(bool showingStoredData,
                                                            qint32 linkStatus, bool commFlags) {
    if (showingStoredData)
        return Source::StoredData;
    if (linkStatus == 0 || !commFlags)
        return Source::NoInstrument;
    return Source::Connected;
}

void InstrumentInfoPage::ShowInstrument(const clsInstrument &instrument, Source source) {
    const bool wasVisible = !m_frame->isHidden();
    m_frame->setVisible(false);
    const int title = source == Source::NoInstrument ? 5057
                      : source == Source::StoredData ? 5058
                                                     : 5059;
    m_frame->setTitle(LoadMessage(title));
    showLabels(instrument, source);
    fillCalibrationGrid(instrument, source);
    fillAlarmGrid(instrument, source);
    m_frame->setVisible(wasVisible);
}

void InstrumentInfoPage::ShowLinkInstrument(qint32 linkStatus) {
    ShowInstrument(m_link, ChooseSource(false, linkStatus, m_link.CommFlags()));
}

bool InstrumentInfoPage::ShowStoredInstrument(qint64 seqNo) {
    // A fresh record each time: a log whose head row is gone shows no earlier instrument.
    clsInstrument stored;
    if (!stored.LoadDatabase(Globals().DatabasePath, seqNo))
        return false;
    ShowInstrument(stored, Source::StoredData);
    return true;
}

void InstrumentInfoPage::showLabels(const clsInstrument &instrument, Source source) {
    for (int i = 6; i <= 9; ++i)
        lblInst[i]->setVisible(false);
    const bool none = source == Source::NoInstrument;
    lblInst[3]->setText(none ? QString() : instrument.SerialNo());
    lblInst[4]->setText(none ? QString() : instrument.StationID());
    lblInst[5]->setText(none ? QString() : instrument.UserID());
    lblInst[7]->setText(
        none ? QString()
             : QStringLiteral("%1").arg(instrument.RomNumber(), 5, 10, QLatin1Char('0')));
    lblInst[9]->setText(none ? QString() : instrument.SUM());
}

void InstrumentInfoPage::fillCalibrationGrid(const clsInstrument &instrument, Source source) {
    FlexGrid &grid = *vfgInst;
    grid.SetRedraw(false);
    const bool stored = source == Source::StoredData;
    prepare(grid, stored ? 5 : 6);
    SetGridRow(grid, 0, 0, true, {QString(), LoadMessage(5626)});
    SetGridRow(grid, 1, 0, false, headings({5631, 5632, 5633, 5634, 5635, 5636}));
    if (source == Source::NoInstrument) {
        SetGridRow(grid, 2, 0, false,
                   {defaultGasTitle(), QString(), kDashes, kDashes, kDashes, QString()});
    } else if (stored) {
        SetGridRow(grid, 2, 0, false,
                   {GetGasTitle(instrument, kSlot), FormatValidDate(instrument.CalibDate(kSlot)),
                    value(instrument, instrument.CalibBefore(kSlot)),
                    value(instrument, instrument.CalibAfter(kSlot)),
                    value(instrument, instrument.AutoCalib(kSlot))});
    } else {
        fillConnectedGasRow(instrument);
    }
    grid.SetCellAlignment(0, 0, 1, grid.Cols() - 1, FlexAlign::CenterCenter);
    grid.SetCellAlignment(2, 2, grid.Rows() - 1, grid.Cols() - 1, FlexAlign::CenterCenter);
    grid.SetRedraw(true);
}

void InstrumentInfoPage::fillConnectedGasRow(const clsInstrument &instrument) {
    FlexGrid &grid = *vfgInst;
    if (!instrument.GasEnabled(kSlot)) {
        SetGridRow(grid, 2, 0, true, {GetGasTitle(instrument, kSlot), kDashes});
        return;
    }
    const Date calibDate = instrument.CalibDate(kSlot);
    const QString dateText = FormatValidDate(calibDate);
    SetGridRow(grid, 2, 0, false,
               {GetGasTitle(instrument, kSlot), dateText,
                value(instrument, instrument.CalibBefore(kSlot)),
                value(instrument, instrument.CalibAfter(kSlot)),
                value(instrument, instrument.AutoCalib(kSlot))});
    if (dateText.isEmpty())
        return;
    const Date now = Now();
    const qint16 remaining = RemainingDays(calibDate, instrument.CalLimit(), now);
    switch (GetCalDueState(calibDate, m_link.CalLimit(), Globals().LimitDays, now)) {
    case CalDueState::InTime:
        grid.SetTextMatrix(2, 5, QString::number(remaining));
        grid.SetCellBackColor(2, 5, QColor());
        break;
    case CalDueState::DueSoon:
        grid.SetTextMatrix(2, 5, LoadMessage(5638, {remaining}));
        grid.SetCellBackColor(2, 5, PageColours::Orange);
        break;
    case CalDueState::Overdue:
        grid.SetTextMatrix(2, 5, LoadMessage(5637));
        grid.SetCellBackColor(2, 5, PageColours::Red);
        break;
    }
}

void InstrumentInfoPage::fillAlarmGrid(const clsInstrument &instrument, Source source) {
    FlexGrid &grid = *vfgInstSensor;
    grid.SetRedraw(false);
    prepare(grid, 5);
    SetGridRow(grid, 0, 0, true, {QString(), LoadMessage(5672)});
    SetGridRow(grid, 1, 0, false, headings({5640, 5642, 5643, 5644, 5645}));
    if (source == Source::NoInstrument) {
        SetGridRow(grid, 2, 0, true, {defaultGasTitle(), kDashes});
    } else {
        SetGridRow(grid, 2, 0, false,
                   {GetGasTitle(instrument, kSlot), value(instrument, instrument.Warning(kSlot)),
                    value(instrument, instrument.Alarm(kSlot)),
                    value(instrument, instrument.Stel(kSlot)),
                    value(instrument, instrument.Twa(kSlot))});
    }
    grid.SetCellAlignment(0, 1, 0, 1, FlexAlign::CenterCenter);
    if (source != Source::NoInstrument)
        grid.SetCellAlignment(1, 0, 1, 0, FlexAlign::CenterCenter);
    grid.SetCellAlignment(1, 1, grid.Rows() - 1, grid.Cols() - 1, FlexAlign::CenterCenter);
    grid.SetRedraw(true);
}

} // namespace tq
