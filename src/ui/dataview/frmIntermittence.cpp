#include "ui/dataview/frmIntermittence.h"

#include "core/errors.h"
#include "core/gui/dialogs.h"
#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "ui/common/control_names.h"
#include "ui/display/trend_tables.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tq {

namespace {

constexpr qint32 kAlarmTrendKind = 2;

} // namespace

frmIntermittence::frmIntermittence() : QDialog(nullptr) {
    setObjectName(QStringLiteral("frmIntermittence"));
    setModal(true);
    vfgBrowse = MakeNamed<FlexGrid>(this, QStringLiteral("vfgBrowse"));
    cmdReturn = MakeNamed<QPushButton>(this, IndexedName("cmdBrowse", 4));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(vfgBrowse);
    layout->addWidget(cmdReturn, 0, Qt::AlignRight);
    connect(cmdReturn, &QPushButton::clicked, this, &QDialog::accept);
    resize(640, 480);
}

void frmIntermittence::Form_Load() {
    setWindowTitle(LoadMessage(5625));
    cmdReturn->setText(LoadMessage(9101));
    const ProgramState &g = Globals();
    if (g.ViewKind != kAlarmTrendKind)
        return;
    m_alarm.ClearDatas();
    m_alarm.setSeqNo(g.ViewSeqNo);
    m_alarm.ReLoad();
    FillAlarmTable(*vfgBrowse, m_alarm);
}

int frmIntermittence::exec() {
    try {
        Form_Load();
    } catch (const std::exception &e) {
        ShowMessage({30021, LoadMessage(30021, {ErrorText(e)}), LoadMessage(5625),
                     BoxIcon::Critical, BoxButtons::Ok});
        return Rejected;
    }
    return QDialog::exec();
}

} // namespace tq
