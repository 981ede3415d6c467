#pragma once

#include "core/date.h"
#include "core/instrument/clsInstrument.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>

namespace tq {

// The link's state as the connect reply moves it.
namespace LinkStateCode {
inline constexpr int NoLink = 0;
inline constexpr int Polling = 2; // line present, connect polling
inline constexpr int Connected = 3;
} // namespace LinkStateCode

// Lines of the dump list collected from the multi-frame memory read, one page at a time.
struct DumpListPage {
    static constexpr int kLines = 16;
    std::array<QString, kLines> Lines; // 32 hex digits each
    std::array<qint32, kLines> Addresses{};
    int Count = 0; // lines held: the next free slot
};

// The link control's fields that the reply parser reads and writes, and the control's
// services it calls. The link control owns one and hands it to its ReplyParser.
// An empty callback is simply not called.
struct ReplyContext {
    clsInstrument *Instrument = nullptr; // where read replies are stored
    QByteArray LastSentFrame;            // the "HC,W" echo is compared with it
    QString ZeroStatusText;              // five-character zero-calibration status
    QString SpanStatusText;              // one-character span status, or empty
    bool ConfirmAcknowledged = false;    // the last clear/default confirm carried ACK
    int LinkState = LinkStateCode::NoLink;
    DumpListPage DumpPage;

    std::function<void(const QString &)> AddLog;       // the parser's error lines
    std::function<void(const QString &)> SetSerialLog; // the connect-finished line
    std::function<void()> OnConnect;
    // Readings of channels 1 to 5: the first two as the model keeps them, the others as
    // received (-101 when not a number). By reference, as the host may look at them.
    std::function<void(std::array<float, 5> &)> Densty;
    std::function<void()> WriteDumpList; // DumpPage is full
    // The PC's clock, for the detector's clock offset.
    std::function<Date()> Now = [] { return Date::now(); };
};

} // namespace tq
