// Replies from the detector: any bytes, as a raw frame or wrapped in a valid frame so the
// checksum passes and the command table's field readers see the text.
#include "fuzz_support.h"

#include "link/protocol/frame.h"
#include "link/protocol/reply_parser.h"

#include <QStringDecoder>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    tq::fuzz::SetUpOnce();
    if (size == 0)
        return 0;
    const uint8_t mode = data[0];
    const QByteArray body = tq::fuzz::Bytes(data + 1, size - 1);

    tq::clsInstrument instrument;
    instrument.SetChangeFlags((mode & 4) != 0);
    tq::ReplyContext context;
    context.Instrument = &instrument;
    context.LinkState = (mode & 8) ? tq::LinkStateCode::Polling : tq::LinkStateCode::Connected;
    context.Now = [] { return tq::Date::fromParts(2026, 12, 10, 12, 0, 0); };
    tq::ReplyParser parser(context);

    QByteArray frame = (mode & 1) ? body
                                  : tq::MakeFrame(QString::fromLatin1(body),
                                                  (mode & 2) ? tq::Ctrl::ETB : tq::Ctrl::EOT);
    parser.ParseReply(frame);
    return 0;
}
