#include "ui/instrument/frmFsDialog.h"

#include "core/gui/dialogs.h"
#include "core/gui/display_font.h"
#include "core/gui/flex_grid.h"
#include "core/gui/layout_geometry.h"
#include "core/gui/twips.h"
#include "core/id_helpers.h"
#include "core/messages.h"
#include "ui/instrument/page_colours.h"
#include "ui/instrument/rules/station_file.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

#include <array>

namespace tq {

namespace {

using Option = clsInstrument::Option;

constexpr int kTitle = 5001;
constexpr int kStationListCaption = 8038;
constexpr int kNameCol = 1;
constexpr double kNumberColWidth = 400;

// A row of the detail-settings table. The member is an option, or the minimum flow
// level when none. Text rows have no entries; list rows take theirs from `list` or,
// where they follow the language, from the messages.
struct SettingRow {
    int caption;
    std::optional<Option> member;
    const char *list = nullptr;
    std::array<int, 3> listMessages{};
};

const char *const kOffOn = "Off|On";

// clang-format off
const std::array<SettingRow, 21> kSettingRows{{
    {8004, Option::AlarmMode, nullptr, {8005, 8006}},
    {8009, Option::LogOverWrite, kOffOn},
    {8007, Option::CalLimit},
    {8010, Option::DispCalLimit, kOffOn},
    {8011, Option::CalCheck, nullptr, {8012, 8013, 8014}},
    {8036, Option::HcMode, "Auto|LEL|vol"},
    {8022, Option::AlarmO2, "H-L|L-LL"},
    {8027, Option::autoBackLight, kOffOn},
    {8023, Option::LcdBackLight},
    {8037, Option::AlarmOnOff, kOffOn},
    {8028, Option::StelTwaOnOff, kOffOn},
    {8029, Option::BumpTime, "30|45|60|90"},
    {8030, Option::BumpThreshold, "10|20|30|40|50"},
    {8032, Option::BumpFailCalTime, "90|120"},
    {8031, Option::BumpFailAfter, kOffOn},
    {8033, Option::LcBhMode, kOffOn},
    {8034, Option::BhTime, "30|45|60"},
    {8035, Option::LcBuzzer, kOffOn},
    {8019, Option::AutoZero, kOffOn},
    {8020, Option::DemandZero, kOffOn},
    {8026, std::nullopt},
}};
// clang-format on

const SettingRow *settingRow(int row) {
    return row >= 1 && row <= int(kSettingRows.size()) ? &kSettingRows[std::size_t(row - 1)]
                                                       : nullptr;
}

// The entries of a list row; runs of "|" count as one. Empty for a text row.
QStringList entries(const SettingRow &r) {
    if (r.list)
        return QString::fromLatin1(r.list).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList out;
    for (int id : r.listMessages)
        if (id != 0)
            out.append(LoadMessage(id));
    return out;
}

qint32 memberValue(const clsInstrument &i, const SettingRow &r) {
    return r.member ? i.option(*r.member) : i.FlowLevel();
}

void setMember(clsInstrument &i, const SettingRow &r, qint32 value) {
    if (r.member)
        i.setOption(*r.member, qint16(value));
    else
        i.setFlowLevel(value);
}

// The options the dialog may send back; the recording interval and the rest are the Set
// page's or nobody's.
constexpr std::array kCopiedOptions{
    Option::HcMode,         Option::AlarmMode,       Option::DispCalLimit, Option::CalLimit,
    Option::CalCheck,       Option::LogOverWrite,    Option::LcdBackLight, Option::autoBackLight,
    Option::AlarmOnOff,     Option::StelTwaOnOff,    Option::BumpTime,     Option::BumpThreshold,
    Option::BumpFailAfter,  Option::BumpFailCalTime, Option::LcBhMode,     Option::BhTime,
    Option::LcBuzzer,       Option::AlarmO2,         Option::AutoZero,     Option::DemandZero,
    Option::UseUserPassword};

using Text = clsInstrument::TextOption;
constexpr std::array kCopiedTexts{Text::UserID,      Text::StationID, Text::SerialNo,
                                  Text::DummySerial, Text::SpecType,  Text::UserPassword2};

// A caption too wide for its button breaks at its first blanks, as the file buttons' captions
// ("Export     csv file") are meant to read on two lines.
void wrapCaption(QPushButton *b) {
    const int room = b->width() - 2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin);
    if (b->fontMetrics().horizontalAdvance(b->text()) > room) {
        const QString text = b->text().trimmed();
        const qsizetype blank = text.indexOf(QLatin1Char(' '));
        if (blank > 0)
            b->setText(text.left(blank) + QLatin1Char('\n') + text.mid(blank).trimmed());
    }
}

QPushButton *button(QWidget *parent, const char *name) {
    auto *b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    // Enter belongs to the station grid's editor; no button takes it.
    b->setAutoDefault(false);
    return b;
}

} // namespace

void CopyChangedSettings(clsInstrument &to, const clsInstrument &from) {
    for (Option o : kCopiedOptions)
        if (from.changeFlag(o))
            to.setOption(o, from.option(o));
    for (Text t : kCopiedTexts)
        if (from.changeFlag(t))
            to.setText(t, from.text(t));
    for (qint16 n = 0; n < clsInstrument::kStationCount; ++n)
        if (from.Change_StationList(n))
            to.setStationList(n, from.StationList(n));
    if (from.Change_FlowLevel())
        to.setFlowLevel(from.FlowLevel());

    using Gas = clsInstrument::GasFlag;
    constexpr qint16 slot = 0;
    if (from.Change_GasPoint(slot))
        to.setGasPoint(slot, from.GasPoint(slot));
    if (from.Change_GasEnable(slot))
        to.setGasEnabled(slot, from.GasEnabled(slot));
    using Value = clsInstrument::GasValue;
    for (auto [flag, value] : {std::pair{Gas::Warn, Value::Warning},
                               {Gas::Alarm, Value::Alarm},
                               {Gas::Stel, Value::Stel},
                               {Gas::Twa, Value::Twa}})
        if (from.gasChangeFlag(flag, slot))
            to.setGasValue(value, slot, from.gasValue(value, slot));
    if (from.Change_Zero(slot))
        to.setZero(slot, from.Zero(slot));
    if (from.Change_OverScale(slot))
        to.setOverScale(slot, from.OverScale(slot));
}

frmFsDialog::frmFsDialog(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmFsDialog"));
    setWindowTitle(LoadMessage(8025));
    setFixedSize(TwipsToPixelsX(6285), TwipsToPixelsY(7110));

    m_label3 = new QLabel(LoadMessage(kStationListCaption), this);
    m_label3->setObjectName(QStringLiteral("Label3_1"));
    m_vfgStation = new FlexGrid(this);
    m_vfgStation->setObjectName(QStringLiteral("vfgStation"));
    m_cmdStationExport = button(this, "cmdStationExport");
    m_cmdStationExport->setText(LoadMessage(8039));
    m_cmdStationImport = button(this, "cmdStationImport");
    m_cmdStationImport->setText(LoadMessage(8040));
    m_cmdOK = button(this, "cmdOK");
    m_cmdOK->setText(LoadMessage(7010));
    m_cmdCancel = button(this, "cmdCancel");
    m_cmdCancel->setText(LoadMessage(7011));
    m_lblSpaceCount = new QLabel(this);
    m_lblSpaceCount->setObjectName(QStringLiteral("lblSpaceCount"));
    m_vfgDatas = new FlexGrid(this);
    m_vfgDatas->setObjectName(QStringLiteral("vfgDatas"));
    m_vfgDatas->setVisible(false);

    place(m_label3, 1560, 480, 3015, 315);
    place(m_vfgStation, 1560, 780, 3015, 5235);
    place(m_cmdStationExport, 4800, 4800, 1095, 555);
    place(m_cmdStationImport, 4800, 5460, 1095, 555);
    place(m_cmdOK, 240, 6480, 1572, 492);
    place(m_cmdCancel, 2040, 6480, 1572, 492);
    place(m_lblSpaceCount, 4800, 6480, 1575, 255);
    place(m_vfgDatas, 4080, 1440, 2295, 2955);
    // The display font into every control, as every window of the program takes it.
    ApplyDisplayFont(*this);
    wrapCaption(m_cmdStationExport);
    wrapCaption(m_cmdStationImport);

    connect(m_cmdOK, &QPushButton::clicked, this, &frmFsDialog::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmFsDialog::cmdCancel_Click);
    connect(m_cmdStationExport, &QPushButton::clicked, this, &frmFsDialog::cmdStationExport_Click);
    connect(m_cmdStationImport, &QPushButton::clicked, this, &frmFsDialog::cmdStationImport_Click);
    connect(m_vfgStation, &FlexGrid::KeyPressEdit, this, &frmFsDialog::vfgStation_KeyPressEdit);
    connect(m_vfgStation, &FlexGrid::ChangeEdit, this, &frmFsDialog::vfgStation_ChangeEdit);
    connect(m_vfgStation, &FlexGrid::AfterEdit, this, &frmFsDialog::vfgStation_AfterEdit);
    connect(m_vfgStation, &FlexGrid::GotFocus, this, &frmFsDialog::currentCellChanged);
    connect(m_vfgStation, &FlexGrid::RowColChange, this, &frmFsDialog::currentCellChanged);
    connect(m_vfgStation, &FlexGrid::LostFocus, m_lblSpaceCount, &QLabel::clear);
}

void frmFsDialog::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_activated)
        Form_Activate();
}

void frmFsDialog::Form_Activate() {
    m_activated = true;
    if (m_instrument)
        m_work = *m_instrument;
    // The copy starts with nothing marked, so OK sends back only what changed here.
    m_work.ClearChangeFlags();
    m_work.setChange_FlowLevel(false);
    ShowSettingRows();
    ShowStationList();
}

// --- Settings table -------------------------------------------------------------------

void frmFsDialog::ShowSettingRows() {
    FlexGrid &g = *m_vfgDatas;
    g.Clear();
    g.SetCols(3);
    g.SetRows(int(kSettingRows.size()) + 1);
    g.SetFixedRows(1);
    g.SetFixedCols(1);
    for (int row = 1; row < g.Rows(); ++row) {
        const SettingRow &r = *settingRow(row);
        const qint32 value = memberValue(m_work, r);
        const QStringList list = entries(r);
        g.SetTextMatrix(row, 0, LoadMessage(r.caption));
        if (list.isEmpty()) {
            g.SetTextMatrix(row, 1, QString::number(value));
            continue;
        }
        g.SetTextMatrix(row, 2, list.join(QLatin1Char('|')));
        g.SetTextMatrix(row, 1, value >= 0 && value < list.size() ? list[value] : QString());
    }
    g.SetCellBackColor(g.Rows() - 1, 1, g.BackColorFixed());
    g.SetColWidth(0, int(W(&g) * 0.6));
    g.SetColWidth(2, 0);
}

std::optional<qint32> frmFsDialog::GetRowCode(int row) const {
    const SettingRow *r = settingRow(row);
    if (!r)
        return std::nullopt;
    const QString text = m_vfgDatas->TextMatrix(row, 1).trimmed();
    const QStringList list = entries(*r);
    if (list.isEmpty()) {
        bool ok = false;
        const qint32 value = text.toInt(&ok);
        return ok ? std::optional(value) : std::nullopt;
    }
    for (int n = 0; n < list.size(); ++n)
        if (text.compare(list[n].trimmed(), Qt::CaseInsensitive) == 0)
            return n;
    return std::nullopt;
}

void frmFsDialog::StoreSettingRows() {
    // A cell that shows no entry (a stored value outside its list) keeps the stored value
    // unflagged: reading it as a list position would send the detector a value nobody chose.
    for (int row = 1; row < m_vfgDatas->Rows(); ++row) {
        const SettingRow &r = *settingRow(row);
        const std::optional<qint32> code = GetRowCode(row);
        if (code && *code != memberValue(m_work, r))
            setMember(m_work, r, *code);
    }
    for (qint16 n = 0; n < clsInstrument::kStationCount; ++n) {
        const QString name = m_vfgStation->TextMatrix(n, kNameCol);
        if (name != m_work.StationList(n))
            m_work.setStationList(n, name);
    }
}

// --- Commands ---------------------------------------------------------------------------

void frmFsDialog::improperStationList() {
    ShowMessage({8056, LoadMessage(8056, {LoadMessage(kStationListCaption)}), LoadMessage(kTitle),
                 BoxIcon::Critical, BoxButtons::Ok});
}

void frmFsDialog::stationFileFailed(const StationFileError &error) {
    ShowMessage(
        {error.messageId, error.text(), LoadMessage(kTitle), BoxIcon::Critical, BoxButtons::Ok});
}

void frmFsDialog::cmdOK_Click() {
    if (!CheckStationList()) {
        improperStationList();
        return;
    }
    StoreSettingRows();
    if (m_instrument)
        CopyChangedSettings(*m_instrument, m_work);
    accept();
}

void frmFsDialog::cmdCancel_Click() {
    reject();
}

void frmFsDialog::cmdStationExport_Click() {
    if (!CheckStationList()) {
        improperStationList();
        return;
    }
    const QString path =
        CurrentDialogs().SaveFileName({LoadMessage(8039), QStringLiteral("Station.csv"),
                                       QStringLiteral("Comma separated (*.csv);;All files (*)")});
    if (path.isEmpty())
        return;
    // A folder is no file to replace: writing to it fails and says so.
    const QFileInfo target(path);
    if (target.exists() && !target.isDir() && !OverwriteConfirmed())
        return;
    QStringList names;
    for (int row = 0; row < m_vfgStation->Rows(); ++row)
        names.append(m_vfgStation->TextMatrix(row, kNameCol));
    const StationFileError error = WriteStationFile(path, names);
    if (error.messageId != 0) {
        stationFileFailed(error);
        return;
    }
    ShowMessage(
        {0, QStringLiteral("Export Complete"), LoadMessage(kTitle), BoxIcon::None, BoxButtons::Ok});
}

void frmFsDialog::cmdStationImport_Click() {
    const QString path = CurrentDialogs().OpenFileName(
        {LoadMessage(8040), QString(), QStringLiteral("Comma separated (*.csv);;All files (*)")});
    if (path.isEmpty())
        return;
    // The file is checked whole before any name is used, so a bad file changes nothing.
    const StationFileImport read = ReadStationFile(path);
    if (read.error.messageId != 0) {
        stationFileFailed(read.error);
        return;
    }
    for (qint16 n = 0; n < qint16(read.names.size()); ++n) {
        m_vfgStation->SetTextMatrix(n, kNameCol, read.names[n]);
        m_work.setChange_StationList(n, true);
    }
    for (int row = 0; row < m_vfgStation->Rows(); ++row)
        markName(row);
    m_vfgStation->AutoSize(kNameCol);
    m_vfgStation->SetColWidth(kNameCol, m_vfgStation->ColWidth(kNameCol) - 100);
}

// --- Station list -----------------------------------------------------------------------

void frmFsDialog::ShowStationList() {
    FlexGrid &g = *m_vfgStation;
    g.SetRedraw(false);
    g.Clear();
    g.SetFixedRows(0);
    g.SetCols(2);
    g.SetFixedCols(1);
    g.SetRows(clsInstrument::kStationCount);
    g.SetColAlignment(kNameCol, FlexAlign::LeftCenter);
    g.SetEditable(true);
    g.SetColWidth(0, int(kNumberColWidth));
    // The name column fills the grid beside the numbers and the scroll bar.
    g.SetColWidth(kNameCol, int(W(&g) - kNumberColWidth -
                                PixelsToTwipsX(g.verticalScrollBar()->sizeHint().width()) -
                                PixelsToTwipsX(2 * g.frameWidth())));
    for (qint16 n = 0; n < clsInstrument::kStationCount; ++n) {
        g.SetTextMatrix(n, 0, QString::number(n + 1));
        g.SetTextMatrix(n, kNameCol, m_work.StationList(n));
    }
    g.SetRedraw(true);
}

bool frmFsDialog::CheckStationList() const {
    for (int row = 0; row < m_vfgStation->Rows(); ++row)
        if (m_vfgStation->CellBackColor(row, kNameCol) == PageColours::Red)
            return false;
    return true;
}

void frmFsDialog::markName(int row) {
    const bool valid = IsValidStationName(m_vfgStation->TextMatrix(row, kNameCol));
    m_vfgStation->SetCellBackColor(row, kNameCol, valid ? PageColours::White : PageColours::Red);
}

void frmFsDialog::showLeftSpace(const QString &text) {
    int blanks = 0;
    while (blanks < text.size() && text[blanks] == QLatin1Char(' '))
        ++blanks;
    m_lblSpaceCount->setText(QStringLiteral("(Left space %1)").arg(blanks));
}

void frmFsDialog::vfgStation_KeyPressEdit(int, int, int &key) {
    constexpr int backspace = 8;
    // A typed character replaces the selected ones, so the limit counts what stays.
    const int kept = int(m_vfgStation->EditText().size()) - m_vfgStation->EditSelLength();
    if (!IsStationKeyChar(key) || (key != backspace && kept >= kStationNameLength)) {
        key = 0;
        QApplication::beep();
    }
}

void frmFsDialog::vfgStation_ChangeEdit() {
    // A pasted name is held to the length a typed one can reach.
    const QString text = m_vfgStation->EditText();
    if (text.size() > kStationNameLength) {
        QApplication::beep();
        m_vfgStation->SetEditText(text.left(kStationNameLength));
        return; // the shortened text comes back here
    }
    if (m_vfgStation->Col() == kNameCol)
        showLeftSpace(text);
    else
        m_lblSpaceCount->clear();
}

void frmFsDialog::vfgStation_AfterEdit(int row, int) {
    markName(row);
}

void frmFsDialog::currentCellChanged() {
    if (m_vfgStation->Col() == kNameCol)
        showLeftSpace(m_vfgStation->Text());
    else
        m_lblSpaceCount->clear();
}

} // namespace tq
