#include "ui/main/window/download_support.h"

#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "link/dump_list.h"

#include <QWidget>

#include <cmath>

namespace tq {

Hourglass::Hourglass(QWidget *window) : m_window(window) {
    m_window->setCursor(Qt::WaitCursor);
}

Hourglass::~Hourglass() {
    m_window->unsetCursor();
}

bool AskYesNo(int message) {
    return ShowMessage({message, LoadMessage(message), LoadMessage(message + 1), BoxIcon::Question,
                        BoxButtons::YesNo}) == BoxAnswer::Yes;
}

bool ClockWarningDue(const Date &sysDateOffset) {
    return std::abs(sysDateOffset.days()) > 1.0;
}

QString DatedLogLine(int id, const Date &now) {
    return LoadMessage(id, {now.generalDate()});
}

QString TimedLogLine(int id, const Date &start, const Date &now) {
    return LoadMessage(id,
                       {now.generalDate(), ElapsedText(now.totalSeconds() - start.totalSeconds())});
}

} // namespace tq
