#pragma once

#include "ui/common/latest_value_throttle.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tq {

// The progress window of a long operation: a busy indicator, a one-line status text and,
// for the operations that may be stopped, a Cancel button. Title, text and button follow
// WorkState at the moment the window is made; the caller may change title and text later.
class frmUpload : public QWidget {
    Q_OBJECT
public:
    explicit frmUpload(QWidget *parent = nullptr);

    // True once Cancel was pressed.
    bool Canceled() const { return m_canceled; }
    void setCanceled(bool canceled) { m_canceled = canceled; }

    // The progress of the running operation, which may change with every block of a dump:
    // the text changes at most about 20 times a second, the latest progress always last, so
    // the operation never waits on painting.
    void ShowProgress(const QString &text);
    // A status text shown at once, in place of progress that is still waiting to be shown.
    void ShowStatus(const QString &text);

    QLabel *lblUpload() const { return m_label; }
    QPushButton *cmdUpload() const { return m_cancel; }

signals:
    // Cancel was pressed: the host stops the running exchange of the link and writes
    // "= User Cancel =" to the serial log.
    void userCancel();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void cmdUpload_Click();
    void tmrInter_Timer();
    void Form_Resize();

    QProgressBar *m_animation = nullptr;
    QLabel *m_label = nullptr;
    QPushButton *m_cancel = nullptr;
    QTimer m_focusTimer;
    LatestValueThrottle *m_progress = nullptr;
    bool m_canceled = false;
};

// The program's one progress window: made on first use, shown modeless, unloaded at the
// end of the operation. Its Canceled flag keeps its value after the window is gone, until
// the window is made again.
class ProgressWindow : public QObject {
    Q_OBJECT
public:
    // The window, made (from the current WorkState) when there is none.
    frmUpload *Load();
    // The window while it is loaded, else nullptr.
    frmUpload *Form() const { return m_form; }
    // Sets the title, making the window first when there is none.
    void SetTitle(const QString &title);
    // Shows the window modeless, making it first when there is none.
    void Show();
    // Closes and deletes the window; nothing when there is none.
    void Unload();
    bool Canceled() const;

signals:
    void userCancel();

private:
    QPointer<frmUpload> m_form;
    bool m_lastCanceled = false;
};

} // namespace tq
