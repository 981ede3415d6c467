#include "ui/instrument/rules/calibration_due.h"

#include "core/gas_format.h"
#include "core/messages.h"

namespace tq {

namespace {

constexpr int kNowMessage = 5637;
constexpr int kRemainingMessage = 5638;

Date dueDate(const Date &calibDate, qint16 limit) {
    return calibDate.addDays(limit);
}

bool overdueOrFuture(const Date &calibDate, qint16 limit, const Date &now) {
    return dueDate(calibDate, limit) < now || calibDate > now;
}

} // namespace

bool IsUsableDate(const Date &date) {
    return date.year() >= 2000;
}

qint16 RemainingDays(const Date &calibDate, qint16 limit, const Date &now) {
    const qint64 seconds = dueDate(calibDate, limit).totalSeconds() - now.totalSeconds();
    return RoundToWhole<qint16>(static_cast<double>(seconds) / 86400.0);
}

CalDueState GetCalDueState(const Date &calibDate, qint16 limit, qint16 limitDays, const Date &now) {
    if (dueDate(calibDate, limit) < now)
        return CalDueState::Overdue;
    return RemainingDays(calibDate, limit, now) < limitDays ? CalDueState::DueSoon
                                                            : CalDueState::InTime;
}

CalDueColor GetCalDueColor(const Date &calibDate, qint16 limit, bool gasEnabled, qint16 limitDays,
                           const Date &now) {
    if (!IsUsableDate(calibDate) || !gasEnabled)
        return CalDueColor::None;
    if (overdueOrFuture(calibDate, limit, now))
        return CalDueColor::Red;
    return RemainingDays(calibDate, limit, now) < limitDays ? CalDueColor::Orange
                                                            : CalDueColor::None;
}

QString FormatValidDate(const Date &date) {
    return IsUsableDate(date) ? date.generalDate() : QString();
}

QString FormatCalDue(const Date &calibDate, qint16 limit, const Date &now) {
    if (!IsUsableDate(calibDate))
        return {};
    if (overdueOrFuture(calibDate, limit, now))
        return LoadMessage(kNowMessage);
    return LoadMessage(kRemainingMessage, {RemainingDays(calibDate, limit, now)});
}

} // namespace tq
