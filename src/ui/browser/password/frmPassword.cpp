#include "ui/browser/password/frmPassword.h"

#include "core/gui/dialogs.h"
#include "core/gui/display_font.h"
#include "core/gui/layout_geometry.h"
#include "core/gui/twips.h"
#include "core/messages.h"
#include "core/program_state.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>

#include <algorithm>

namespace tq {

namespace {

constexpr double kInnerWidth = 4365; // twips
constexpr double kLabelHeight = 252;
constexpr double kControlHeight = 372;

// Shows every typed character of a password box as "*", whatever the platform's mark.
class StarEchoStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Both texts equal once upper-cased; blanks count.
bool matches(const QString &a, const QString &b) {
    return a.toUpper() == b.toUpper();
}

void tell(int text, int title, BoxIcon icon) {
    ShowMessage({text, LoadMessage(text), LoadMessage(title), icon, BoxButtons::Ok});
}

} // namespace

frmPassword::frmPassword(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPassword"));
    // A fixed dialog frame with the close box and no minimise or maximise button.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Password"));
    setFont(QFont(QStringLiteral("Arial"), 9));

    lblPass = new QLabel(this);
    lblPass->setObjectName(QStringLiteral("lblPass"));
    txtPass = new QLineEdit(this);
    txtPass->setObjectName(QStringLiteral("txtPass"));
    txtPass->setEchoMode(QLineEdit::Password);
    auto *echo = new StarEchoStyle;
    echo->setParent(txtPass);
    txtPass->setStyle(echo);
    for (int i = 0; i < 2; ++i) {
        cmdPass[std::size_t(i)] = new QPushButton(this);
        cmdPass[std::size_t(i)]->setObjectName(QStringLiteral("cmdPass_%1").arg(i));
        connect(cmdPass[std::size_t(i)], &QPushButton::clicked, this,
                [this, i] { cmdPass_Click(i); });
    }
    cmdPass[0]->setDefault(true);
    setTabOrder(txtPass, cmdPass[0]);
    setTabOrder(cmdPass[0], cmdPass[1]);
    place(lblPass, 0, 0, kInnerWidth, kLabelHeight);
    place(txtPass, 0, kLabelHeight, kInnerWidth, kControlHeight);
    for (QPushButton *button : cmdPass)
        place(button, 0, 0, kInnerWidth / 2, kControlHeight);

    // Load.
    cmdPass[0]->setText(LoadMessage(7001));
    setStep(Step::Start, 7005);
    txtPass->clear();
    ApplyDisplayFont(*this);
    setFixedWidth(TwipsToPixelsX(kInnerWidth));
    Form_Resize();
    CentreOnScreen(*this);
}

bool frmPassword::Ask() {
    Globals().PasswordAccepted = false;
    frmPassword dialog;
    dialog.exec();
    return Globals().PasswordAccepted;
}

void frmPassword::Form_Resize() {
    const double w = PixelsToTwipsX(width());
    // As high as its font needs: a Japanese font's line is taller than the design's.
    place(lblPass, 0, 0, w,
          std::max(kLabelHeight, double(PixelsToTwipsY(lblPass->sizeHint().height()))));
    place(txtPass, 0, H(lblPass), w);
    place(cmdPass[0], 0, T(txtPass) + H(txtPass) + 60, w / 2 - 60);
    place(cmdPass[1], w / 2, T(cmdPass[0]), w / 2);
    // The outer height, title bar included where the window has a frame.
    const int frame = isVisible() ? frameGeometry().height() - height() : 0;
    const int outer = TwipsToPixelsY((T(cmdPass[0]) + H(cmdPass[0])) * 1.4);
    if (outer - frame != height())
        setFixedHeight(outer - frame);
}

void frmPassword::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmPassword::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    Form_Resize();
    txtPass->setFocus();
}

void frmPassword::keyPressEvent(QKeyEvent *event) {
    // No button cancels: Escape does nothing.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmPassword::setStep(Step step, int prompt) {
    static constexpr int kCaptions[] = {7002, 7007, 7003, 7004};
    m_step = step;
    lblPass->setText(LoadMessage(prompt));
    cmdPass[1]->setText(LoadMessage(kCaptions[int(step)]));
}

void frmPassword::cmdPass_Click(int index) {
    if (index == 1) {
        changeStep();
        return;
    }
    const QString typed = txtPass->text();
    if (typed.isEmpty()) {
        reject();
        return;
    }
    if (matches(typed, Globals().ProgramPassword)) {
        Globals().PasswordAccepted = true;
        accept();
        return;
    }
    tell(7101, 7102, BoxIcon::Critical);
}

void frmPassword::changeStep() {
    const QString typed = txtPass->text();
    switch (m_step) {
    case Step::Start:
        txtPass->clear();
        setStep(Step::Current, 7006);
        break;
    case Step::Current:
        if (typed.isEmpty() || !matches(typed, Globals().ProgramPassword))
            return;
        txtPass->clear();
        setStep(Step::New, 7008);
        break;
    case Step::New:
        if (typed.isEmpty())
            return;
        m_newPassword = typed;
        txtPass->clear();
        setStep(Step::Confirm, 7009);
        break;
    case Step::Confirm:
        if (!m_newPassword.isEmpty() && matches(typed, m_newPassword)) {
            tell(7103, 7104, BoxIcon::Information);
            Globals().ProgramPassword = typed;
        } else {
            tell(7105, 7104, BoxIcon::Critical);
            txtPass->clear();
        }
        setStep(Step::Start, 7005);
        break;
    }
    txtPass->setFocus();
}

} // namespace tq
