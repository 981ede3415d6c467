#pragma once

#include "link/protocol/reply_context.h"

#include <QByteArray>

namespace tq {

struct CommandRow;

// Interprets every text reply of the detector: checks the frame and its checksum, applies
// the reply's row of the command table (CommandTable()) to the context, and says whether
// the reply is accepted. A rejected reply takes the link's re-send or NAK way.
class ReplyParser {
public:
    explicit ReplyParser(ReplyContext &context) : m_context(context) {}

    // `frame` runs from STX through its terminator (ETB or EOT), as received. Every CR in
    // it becomes "," (the caller keeps this form as its last reply frame). True when the
    // reply is accepted.
    bool ParseReply(QByteArray &frame);

private:
    struct Reply;

    bool apply(const CommandRow &row, Reply &reply);
    bool applyField(const CommandRow &row, Reply &reply);
    bool storeField(const CommandRow &row, Reply &reply);
    bool echoMatches(const CommandRow &row, const QString &echo) const;
    bool applyStation(const Reply &reply);
    bool applyClock(const Reply &reply);
    bool applyRanged(const CommandRow &row, const Reply &reply);
    bool applyGasRecord(const Reply &reply);
    bool applyCalibration(const Reply &reply);
    bool applyFlagString(const CommandRow &row, Reply &reply);
    bool applyAnalog(const Reply &reply);
    bool applyReadings(const Reply &reply);
    bool applyConnect(Reply &reply);
    bool applyDumpLine(const Reply &reply);
    bool applyZeroConfirm(const Reply &reply);

    bool reject(const char *line);
    clsInstrument &instrument() const;

    ReplyContext &m_context;
};

} // namespace tq
