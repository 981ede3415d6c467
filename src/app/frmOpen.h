#pragma once

#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class QFrame;
class QLabel;

namespace tq {

// The start-up form: the splash that stands for five ticks of a 500 ms timer while the
// hourglass shows, then hands over to the main window and closes. A double click on it
// holds it up until the "Pause!!" box is closed.
class frmOpen : public QWidget {
    Q_OBJECT
public:
    // `showMain` runs the main window's start-up and shows it; the splash stays up while
    // it runs.
    explicit frmOpen(std::function<void()> showMain, QWidget *parent = nullptr);
    ~frmOpen() override;

    qint16 TickCount() const { return m_ticks; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ArrangeSplash();
    void Form_Activate();
    void tmrTimer_Timer();
    void fraOpen_DblClick();
    void finish();

    std::function<void()> m_showMain;
    QFrame *m_frame = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_trademark = nullptr;
    std::array<QLabel *, 2> m_borders{};
    QLabel *m_picture = nullptr;
    QLabel *m_subtitle = nullptr;
    QLabel *m_version = nullptr;
    QTimer m_timer;
    qint16 m_ticks = 0;
    bool m_paused = false;
    bool m_finished = false;
};

} // namespace tq
