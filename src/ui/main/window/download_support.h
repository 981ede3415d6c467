#pragma once

#include "core/date.h"

#include <QString>

class QWidget;

namespace tq {

// The hourglass pointer over a window for as long as the object lives.
class Hourglass {
public:
    explicit Hourglass(QWidget *window);
    ~Hourglass();
    Hourglass(const Hourglass &) = delete;
    Hourglass &operator=(const Hourglass &) = delete;

private:
    QWidget *m_window;
};

// Asks message `message` in a Yes/No box titled with the next message; true for Yes.
bool AskYesNo(int message);

// True when the detector's clock is more than a day off the PC's (PC time minus detector
// time, in days); exactly one day is not.
bool ClockWarningDue(const Date &sysDateOffset);

} // namespace tq
