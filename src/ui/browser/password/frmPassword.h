#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tq {

// The program-password prompt that guards deletions, where the password can also be
// changed. Continue with an empty entry closes it without accepting; an entry equal to the
// program password (any letter case, blanks counting) sets PasswordAccepted and closes;
// any other entry is told and the prompt stays open with the entry kept. The right-hand
// button walks through the change: current password, new password, the new one again.
// Escape does nothing; the close box refuses. A changed password is kept in the program
// state and reaches the settings file at its next write.
class frmPassword : public QDialog {
    Q_OBJECT
public:
    explicit frmPassword(QWidget *parent = nullptr);

    // The caller protocol in one call: PasswordAccepted cleared, the prompt shown modally
    // without an owner, PasswordAccepted returned.
    static bool Ask();

    // Index 0 Continue, 1 the change button in its current step.
    void cmdPass_Click(int index);
    // Lays the controls out for the window's width; the height follows the buttons.
    void Form_Resize();

    QLabel *lblPass = nullptr;
    QLineEdit *txtPass = nullptr;
    std::array<QPushButton *, 2> cmdPass{};

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The steps of the change, each shown by the caption of cmdPass(1).
    enum class Step { Start, Current, New, Confirm };
    void setStep(Step step, int prompt);
    void changeStep();

    Step m_step = Step::Start;
    QString m_newPassword;
};

} // namespace tq
