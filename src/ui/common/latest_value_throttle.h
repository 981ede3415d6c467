#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>

namespace tq {

// Shows a text that changes faster than anyone can read it (a block counter during a
// dump) at most once per interval, so the work that changes it does not wait on painting.
// The latest text is remembered: it is shown when the interval has passed, by the next
// change or by a timer when no change comes, and Flush() shows it at once.
class LatestValueThrottle : public QObject {
public:
    using Show = std::function<void(const QString &)>;

    LatestValueThrottle(std::chrono::milliseconds interval, Show show, QObject *parent = nullptr);

    // Shows `text` now when the interval since the last showing has passed, else later.
    void Set(const QString &text);
    // Shows a text that is still waiting, now.
    void Flush();
    // Forgets a text that is still waiting (something else was shown in its place).
    void Drop();

private:
    void showNow(QString text);

    Show m_show;
    std::chrono::milliseconds m_interval;
    QElapsedTimer m_sinceShown;
    QTimer m_later;
    std::optional<QString> m_waiting;
};

} // namespace tq
