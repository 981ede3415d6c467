#pragma once

#include <QWidget>

namespace tq {

// A window's pointer as the hourglass until the scope ends, however it ends; then the
// pointer it had before (an enclosing scope's hourglass stays).
class Hourglass {
public:
    explicit Hourglass(QWidget &window)
        : m_window(window), m_hadPointer(window.testAttribute(Qt::WA_SetCursor)),
          m_pointer(window.cursor()) {
        m_window.setCursor(Qt::WaitCursor);
    }
    ~Hourglass() {
        if (m_hadPointer)
            m_window.setCursor(m_pointer);
        else
            m_window.unsetCursor();
    }
    Hourglass(const Hourglass &) = delete;
    Hourglass &operator=(const Hourglass &) = delete;

private:
    QWidget &m_window;
    bool m_hadPointer;
    QCursor m_pointer;
};

} // namespace tq
