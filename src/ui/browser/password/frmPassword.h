#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tq {

// The program-password prompt that guards deletions. Continue with an empty entry closes
// it without accepting; an entry equal to the program password (any letter case) sets
// PasswordAccepted and closes; any other entry is told and the prompt stays open.
class frmPassword : public QDialog {
    Q_OBJECT
public:
    explicit frmPassword(const QFont &font, QWidget *parent = nullptr);

    // The caller protocol in one call: PasswordAccepted cleared, the prompt shown modally,
    // PasswordAccepted returned.
    static bool Ask(const QFont &font);

    void cmdPass_Click(int index);

private:
    QLabel *m_lblPass;
    QLineEdit *m_txtPass;
    QPushButton *m_continue;
};

} // namespace tq
