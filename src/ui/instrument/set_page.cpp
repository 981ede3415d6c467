#include "ui/instrument/set_page.h"

#include "core/gas_format.h"
#include "core/gui/dialogs.h"
#include "core/gui/display_font.h"
#include "core/gui/flex_grid.h"
#include "core/gui/settings_colour.h"
#include "core/id_helpers.h"
#include "core/instrument/clsInstrument.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "link/serial_log.h"
#include "link/uclPvif.h"
#include "ui/instrument/frmFsDialog.h"
#include "ui/instrument/page_colours.h"
#include "ui/instrument/rules/alarm_checks.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

namespace tq {

namespace {

constexpr qint16 kSlot = 0;
constexpr int kGasRow = kFirstGasRow;
constexpr int kIntervalItem300 = 5;
const QStringList kIntervalItems{QStringLiteral("10"), QStringLiteral("20"),  QStringLiteral("30"),
                                 QStringLiteral("60"), QStringLiteral("180"), QStringLiteral("300"),
                                 QStringLiteral("600")};
const QString kDashes = QStringLiteral("-----");
const QColor kLogGreen{0, 192, 0};
const QColor kLogRed{255, 0, 0};

// Length limits of the identifier boxes: serial number, station ID, user ID.
constexpr std::array<int, 3> kIdLimits{20, 16, 16};

QStringList headings(std::initializer_list<int> ids) {
    QStringList out;
    for (int id : ids)
        out.append(LoadMessage(id));
    return out;
}

void critical(int text, int title) {
    ShowMessage({text, LoadMessage(text), LoadMessage(title), BoxIcon::Critical, BoxButtons::Ok});
}

} // namespace

bool AnyChangeFlag(const clsInstrument &i) {
    for (int n = 0; n < clsInstrument::kOptionCount; ++n)
        if (i.changeFlag(static_cast<clsInstrument::Option>(n)))
            return true;
    for (int n = 0; n < clsInstrument::kTextCount; ++n)
        if (i.changeFlag(static_cast<clsInstrument::TextOption>(n)))
            return true;
    for (int n = 0; n < clsInstrument::kGasFlagCount; ++n)
        if (i.gasChangeFlag(static_cast<clsInstrument::GasFlag>(n), kSlot))
            return true;
    for (qint16 n = 0; n < clsInstrument::kStationCount; ++n)
        if (i.Change_StationList(n))
            return true;
    return i.Change_FlowLevel();
}

SetPage::SetPage(const Controls &controls, clsInstrument &instrument, uclPvif &link, Hooks hooks,
                 QObject *parent)
    : QObject(parent), m_c(controls), m_instrument(instrument), m_link(link),
      m_hooks(std::move(hooks)) {
    if (m_c.cmbInterval->count() == 0)
        m_c.cmbInterval->addItems(kIntervalItems);
    if (m_c.cmbIntermittence->count() == 0)
        m_c.cmbIntermittence->addItems({QStringLiteral("30"), QStringLiteral("60"),
                                        QStringLiteral("120"), QStringLiteral("180"),
                                        QStringLiteral("240"), QStringLiteral("300")});
    // One gas slot: the colour buttons of further slots, the intermittence time and the
    // Default Set command are never offered.
    for (int i : {2, 3, 4})
        m_c.cmdOptionDisp[std::size_t(i)]->setVisible(false);
    m_c.lblOption[8]->setVisible(false);
    m_c.cmbIntermittence->setVisible(false);
    m_c.cmdOption[3]->setVisible(false);
    // The station list lies in front of the station box at its place.
    m_c.cmbStation->raise();
    connect(m_c.cmbStation, &QComboBox::activated, this, &SetPage::cmbStation_Click);
    connect(m_c.cmbInterval, &QComboBox::activated, this, &SetPage::cmbInterval_Click);
    for (int i = 0; i < int(m_c.txtOption.size()); ++i)
        connect(m_c.txtOption[i], &QLineEdit::textEdited, this, [this, i] { txtOption_Change(i); });
    for (int i = 0; i < int(m_c.cmdOption.size()); ++i)
        connect(m_c.cmdOption[i], &QPushButton::clicked, this, [this, i] { cmdOption_Click(i); });
    for (int i : {0, 1, 5})
        connect(m_c.cmdOptionDisp[i], &QPushButton::clicked, this,
                [this, i] { cmdOptionDisp_Click(i); });
    connect(m_c.vfgOption, &FlexGrid::BeforeEdit, this, &SetPage::vfgOption_BeforeEdit);
    connect(m_c.vfgOption, &FlexGrid::ValidateEdit, this, &SetPage::vfgOption_ValidateEdit);
    m_c.vfgOption->SetEditable(true);
}

void SetPage::selectQuietly(QComboBox *box, int index) {
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(index);
}

void SetPage::ShowSettings() {
    const bool wasVisible = !m_c.fraMenu->isHidden();
    m_c.fraMenu->setVisible(false);
    const QScopedValueRollback updating(m_gridUpdating, true);
    const bool detector = m_link.Status() != 0 && m_instrument.CommFlags();

    // The last entry naming the station ID wins; none matching selects none.
    const QSignalBlocker quiet(m_c.cmbStation);
    m_c.cmbStation->clear();
    int found = -1;
    const QString station = m_instrument.StationID().trimmed();
    for (qint16 n = 0; n < clsInstrument::kStationCount; ++n) {
        m_c.cmbStation->addItem(m_instrument.StationList(n));
        if (m_instrument.StationList(n).trimmed() == station)
            found = n;
    }
    m_c.cmbStation->setCurrentIndex(found);
    // A station ID the list does not hold is shown as held, in place of an empty list.
    m_c.cmbStation->setPlaceholderText(detector ? m_instrument.StationID() : QString());
    if (detector && found >= 0)
        cmbStation_Click(found);

    m_c.vfgOption->setVisible(true);
    m_c.cmdOptionDisp[6]->setVisible(false);
    m_c.cmdOption[2]->setVisible(false);
    const bool connected = m_link.Connected();
    for (QPushButton *button : m_c.cmdOption)
        button->setEnabled(connected);

    if (detector) {
        m_c.txtOption[0]->setText(m_instrument.SerialNo());
        m_c.txtOption[1]->setText(m_instrument.StationID());
        m_c.txtOption[2]->setText(m_instrument.UserID());
        showInterval(m_instrument.Intervals());
        fillDetectorGrid();
    } else {
        for (QLineEdit *box : m_c.txtOption)
            box->clear();
        showInterval(kIntervalItems[kIntervalItem300].toShort());
        selectQuietly(m_c.cmbIntermittence, kIntervalItem300);
        fillBlankGrid();
    }
    FlexGrid &grid = *m_c.vfgOption;
    grid.SetCellAlignment(1, 1, grid.Rows() - 1, grid.Cols() - 1, FlexAlign::CenterCenter);
    grid.SetRedraw(true);
    m_c.fraMenu->setVisible(wasVisible);
}

void SetPage::showInterval(qint16 seconds) {
    QComboBox *box = m_c.cmbInterval;
    while (box->count() > kIntervalItems.size())
        box->removeItem(box->count() - 1);
    const QString held = QString::number(seconds);
    int index = box->findText(held);
    if (index < 0) {
        box->addItem(held);
        index = box->count() - 1;
    }
    selectQuietly(box, index);
}

// The alarm grid's frame: two heading rows (the first merged) over the gas row.
void SetPage::prepareGrid(const QStringList &firstHeading, bool fillFirstHeading) {
    FlexGrid &grid = *m_c.vfgOption;
    grid.SetRedraw(false);
    grid.Clear();
    grid.SetRows(3);
    grid.SetCols(6);
    grid.SetFixedRows(2);
    grid.SetFixedCols(1);
    grid.SetMergeCells(FlexMerge::RestrictRows);
    grid.SetMergeRow(0, true);
    SetGridRow(grid, 0, 0, fillFirstHeading, firstHeading);
    SetGridRow(grid, 1, 0, false, headings({5648, 5650, 5651, 5652, 5653, 5654}));
    grid.SetCellAlignment(0, 1, 0, 1, FlexAlign::CenterCenter);
}

void SetPage::fillDetectorGrid() {
    prepareGrid({QString(), LoadMessage(5647)}, true);
    FlexGrid &grid = *m_c.vfgOption;
    const clsInstrument &i = m_instrument;
    const qint16 decimals = i.GasPoint(kSlot);
    SetGridRow(grid, kGasRow, 0, false,
               {MakeGasTitle(i.GasName(kSlot), i.GasUnit(kSlot), i.GasFullScale(kSlot), decimals),
                FormatGasValue(i.Warning(kSlot), decimals),
                FormatGasValue(i.Alarm(kSlot), decimals), FormatGasValue(i.Stel(kSlot), decimals),
                FormatGasValue(i.Twa(kSlot), decimals),
                FormatGasValue(i.AutoCalib(kSlot), decimals)});
    if (i.StelTwaOnOff() == 0) {
        grid.SetCellBackColor(kGasRow, kStelColumn, grid.BackColorFixed());
        grid.SetCellBackColor(kGasRow, kTwaColumn, grid.BackColorFixed());
    }
    if (!CheckAlarmOrder(i, kSlot)) {
        grid.SetCellBackColor(kGasRow, kWarningColumn, PageColours::Red);
        grid.SetCellBackColor(kGasRow, kAlarmColumn, PageColours::Red);
    }
}

void SetPage::fillBlankGrid() {
    const QString heading = LoadMessage(5672);
    prepareGrid({QString(), heading, heading, heading, heading}, false);
    FlexGrid &grid = *m_c.vfgOption;
    const clsInstrument &d = Globals().DefaultSettings;
    SetGridRow(
        grid, kGasRow, 0, true,
        {MakeGasTitle(d.GasName(kSlot), d.GasUnit(kSlot), d.GasFullScale(kSlot), d.GasPoint(kSlot)),
         kDashes});
}

void SetPage::cmbStation_Click(int index) {
    if (index >= 0)
        m_instrument.setStationID(m_instrument.StationList(qint16(index)));
}

void SetPage::cmbInterval_Click(int index) {
    if (index >= 0)
        m_instrument.setIntervals(qint16(m_c.cmbInterval->itemText(index).toInt()));
}

void SetPage::txtOption_Change(int index) {
    QLineEdit *box = m_c.txtOption[std::size_t(index)];
    QString kept;
    bool refused = false;
    for (const QChar c : box->text()) {
        if (!IsIdKeyChar(c.unicode()) || kept.size() >= kIdLimits[std::size_t(index)]) {
            refused = true;
            continue;
        }
        kept.append(c.toUpper());
    }
    if (kept != box->text()) {
        const int cursor = std::min<int>(box->cursorPosition(), kept.size());
        box->setText(kept);
        box->setCursorPosition(cursor);
    }
    if (refused)
        QApplication::beep();
    switch (index) {
    case 0:
        m_instrument.setSerialNo(kept);
        break;
    case 1:
        m_instrument.setStationID(kept);
        break;
    default:
        m_instrument.setUserID(kept);
        break;
    }
}

void SetPage::tmrInter_Timer() {
    if (m_c.fraMenu->isHidden())
        return;
    const Date now = Now();
    if (m_link.Status() == 0) {
        m_c.lblOption[5]->setText(now.generalDate());
        m_c.lblOption[6]->clear();
        return;
    }
    if (now.totalSeconds() == m_clockTag)
        return;
    m_clockTag = now.totalSeconds();
    m_c.lblOption[5]->setText(now.generalDate());
    m_c.lblOption[6]->setText(now.addDays(-m_instrument.SysDateOffset().days()).generalDate());
}

// --- Commands -------------------------------------------------------------------------------

bool SetPage::checkBeforeUpdate() {
    if (!CheckAlarmOrder(m_instrument, kSlot)) {
        critical(5361, 5362);
        return false;
    }
    if (!CheckAutoCalRange(m_instrument, kSlot, m_instrument.AutoCalib(kSlot))) {
        critical(5380, 5381);
        return false;
    }
    if (!m_instrument.GasEnabled(kSlot)) {
        critical(5365, 5366);
        return false;
    }
    return true;
}

bool SetPage::askUpdate() {
    return ShowMessage({5309, LoadMessage(5309), LoadMessage(5310), BoxIcon::Question,
                        BoxButtons::YesNo}) == BoxAnswer::Yes;
}

void SetPage::runUpload(const std::function<bool()> &write, bool somethingToSend) {
    m_hooks.showProgress(true);
    m_link.AddLog(LoadMessage(5535, {Now().generalDate()}));
    m_hooks.addCommLogLine(LoadMessage(5428), kLogGreen);
    const bool ok = write();
    // Nothing flagged sends nothing and is no failure.
    const bool failed = !ok && somethingToSend;
    if (failed)
        m_hooks.addCommLogLine(LoadMessage(30301), kLogRed);
    else
        m_hooks.addCommLogLine(LoadMessage(5429), kLogGreen);
    m_hooks.showProgress(false);
    if (failed)
        ShowMessage(
            {30301, LoadMessage(30301), LoadMessage(5312), BoxIcon::Critical, BoxButtons::Ok});
    else if (ok)
        ShowMessage(
            {5311, LoadMessage(5311), LoadMessage(5312), BoxIcon::Information, BoxButtons::Ok});
}

bool SetPage::finishGridEdit() {
    FlexGrid &grid = *m_c.vfgOption;
    if (!grid.Editing())
        return true;
    m_editRefused = false;
    grid.FinishEditing();
    return !m_editRefused && !grid.Editing();
}

bool SetPage::uploadSettings() {
    const bool ok = m_link.SetInstrument(&m_instrument);
    // The link keeps the flag of a level the detector answered with another value: that
    // level was not taken, and the upload is no success.
    using GasFlag = clsInstrument::GasFlag;
    for (GasFlag flag : {GasFlag::Warn, GasFlag::Alarm, GasFlag::AutoCal})
        if (m_instrument.gasChangeFlag(flag, kSlot))
            return false;
    return ok;
}

void SetPage::cmdOption_Click(int index) {
    // A value still being typed is judged first; a refused one stops the command.
    if ((index == 0 || index == 1) && !finishGridEdit())
        return;
    if (index == 0) {
        if (!checkBeforeUpdate() || !askUpdate())
            return;
        m_hooks.runOnLink([this] {
            runUpload([this] { return uploadSettings(); }, AnyChangeFlag(m_instrument));
        });
        // The page shows what the detector now holds, not what was typed; this refill
        // flags no station ID for the next Update.
        const bool stationFlag = m_instrument.Change_StationID();
        ShowSettings();
        m_instrument.setChange_StationID(stationFlag);
    } else if (index == 1) {
        if (!askUpdate())
            return;
        m_hooks.runOnLink([this] {
            runUpload(
                [this] {
                    // The detector clock shows the PC time only once the detector took it.
                    const bool ok = m_link.SetDateTime(Now());
                    if (ok)
                        m_instrument.setSysDateOffset(Date());
                    return ok;
                },
                true);
        });
    }
}

void SetPage::cmdOptionDisp_Click(int index) {
    QPushButton *button = m_c.cmdOptionDisp[std::size_t(index)];
    if (index == 0) {
        const QFont font = CurrentDialogs().ChooseFont(button->font());
        button->setFont(font);
        button->setText(FontCaption(font));
        Globals().DisplayFont = FontSettingsOf(font);
    } else if (index == 1) {
        const QColor colour =
            CurrentDialogs().ChooseColor(button->palette().color(QPalette::Button));
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, colour);
        button->setPalette(palette);
        const qint32 value = ColorToSettings(colour);
        Globals().GraphColors[0] = value;
        m_hooks.trendColorChosen(0, value);
    } else if (index == 5) {
        // The dialog edits a copy and writes back only what changed, flagged for Update.
        frmFsDialog dialog(m_c.fraMenu->window());
        dialog.setInstrument(&m_instrument);
        dialog.exec();
        ShowSettings();
    }
}

// --- Grid editing -----------------------------------------------------------------------------

void SetPage::vfgOption_BeforeEdit(int row, int col, bool &cancel) {
    if (m_gridUpdating) {
        cancel = true;
        return;
    }
    const QScopedValueRollback updating(m_gridUpdating, true);
    FlexGrid &grid = *m_c.vfgOption;
    grid.SetRow(row);
    grid.SetCol(col);
    if (grid.CellBackColor(row, col) == grid.BackColorFixed() || row < kFirstGasRow)
        cancel = true;
}

void SetPage::vfgOption_ValidateEdit(int row, int col, bool &cancel) {
    if (m_gridUpdating)
        return;
    FlexGrid &grid = *m_c.vfgOption;
    AlarmEdit edit;
    {
        const QScopedValueRollback updating(m_gridUpdating, true);
        edit = EditAlarmValue(m_instrument, qint16(row - kFirstGasRow), col, grid.EditText());
        cancel = edit.cancel;
    }
    m_editRefused = edit.cancel;
    if (edit.cancel) {
        // A refused text never stays in the cell: it closes on what the detector is to
        // hold, and the box tells why.
        grid.FinishEditing(true);
        CheckOptionGrid();
        CheckOptionRow();
        tellRefusal(col, edit);
        return;
    }
    CheckOptionGrid();
    CheckOptionRow();
    // Marking the edited cell puts the cell's old text back into the open editor: the
    // editor gets the text to store afterwards.
    grid.SetEditText(edit.editText);
}

void SetPage::tellRefusal(int col, const AlarmEdit &edit) {
    const QString column = m_c.vfgOption->TextMatrix(1, col);
    const qint16 decimals = m_instrument.GasPoint(kSlot);
    const ValueRange range = AcceptedRange(m_instrument, kSlot, col);
    const QString low = FormatGasValue(range.low, decimals);
    const QString high = FormatGasValue(range.high, decimals);
    int id = range.low > range.high ? 30323 : 30320;
    QString text;
    switch (edit.refusal) {
    case AlarmRefusal::Blank:
        id = 30321;
        text = LoadMessage(id, {column});
        break;
    case AlarmRefusal::NotANumber:
    case AlarmRefusal::TooFine:
        id = edit.refusal == AlarmRefusal::NotANumber ? 30322 : 30324;
        text = LoadMessage(id, {column, edit.editText});
        break;
    default:
        text = LoadMessage(id, {column, low, high});
        break;
    }
    const int title = col == kAutoCalColumn ? 5381 : 5362;
    ShowMessage({id, text, LoadMessage(title), BoxIcon::Critical, BoxButtons::Ok});
}

void SetPage::CheckOptionGrid() {
    FlexGrid &grid = *m_c.vfgOption;
    const QColor order = CheckAlarmOrder(m_instrument, kSlot) ? QColor() : PageColours::Red;
    grid.SetCellBackColor(kGasRow, kWarningColumn, order);
    grid.SetCellBackColor(kGasRow, kAlarmColumn, order);
    grid.SetCellBackColor(kGasRow, kAutoCalColumn,
                          CheckAutoCalRange(m_instrument, kSlot, m_instrument.AutoCalib(kSlot))
                              ? QColor()
                              : PageColours::Red);
}

void SetPage::CheckOptionRow() {
    FlexGrid &grid = *m_c.vfgOption;
    for (int col = kWarningColumn; col <= kTwaColumn; ++col) {
        const std::optional<double> number = ParseNumber(grid.TextMatrix(kGasRow, col));
        if (number && !CheckAlarmValue(m_instrument, kSlot, float(*number), col))
            grid.SetCellBackColor(kGasRow, col, PageColours::Red);
    }
}

} // namespace tq
