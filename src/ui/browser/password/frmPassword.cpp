#include "ui/browser/password/frmPassword.h"

#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "core/program_state.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tq {

frmPassword::frmPassword(const QFont &font, QWidget *parent)
    : QDialog(parent), m_lblPass(new QLabel(LoadMessage(7005), this)),
      m_txtPass(new QLineEdit(this)), m_continue(new QPushButton(LoadMessage(7001), this)) {
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QStringLiteral("Password"));
    setFont(font);
    m_lblPass->setObjectName(QStringLiteral("lblPass"));
    m_txtPass->setObjectName(QStringLiteral("txtPass"));
    m_txtPass->setEchoMode(QLineEdit::Password);
    m_continue->setObjectName(QStringLiteral("cmdPass_0"));
    m_continue->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblPass);
    layout->addWidget(m_txtPass);
    layout->addWidget(m_continue);
    connect(m_continue, &QPushButton::clicked, this, [this] { cmdPass_Click(0); });
    m_txtPass->setFocus();
}

bool frmPassword::Ask(const QFont &font) {
    Globals().PasswordAccepted = false;
    frmPassword dialog(font);
    dialog.exec();
    return Globals().PasswordAccepted;
}

void frmPassword::cmdPass_Click(int index) {
    if (index != 0)
        return;
    const QString typed = m_txtPass->text();
    if (typed.isEmpty()) {
        reject();
        return;
    }
    if (typed.toUpper() == Globals().ProgramPassword.toUpper()) {
        Globals().PasswordAccepted = true;
        accept();
        return;
    }
    ShowMessage({7101, LoadMessage(7101), LoadMessage(7102), BoxIcon::Critical, BoxButtons::Ok});
}

} // namespace tq
