#include "core/text_codec.h"

#include "core/messages.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <utility>

namespace tq {

namespace {

const char *deviceCodePage() {
    return JapaneseActive() ? "Shift_JIS" : "windows-1252";
}

// The system's Shift_JIS table swaps three control codes (0x1A SUB, 0x1C, 0x7F) among
// themselves; the detector means them as plain ASCII. Each pair: what the converter
// gives or takes, and the character the byte really stands for.
constexpr std::array<std::pair<char16_t, char16_t>, 3> kSwappedControls = {{
    {0x001C, 0x001A},
    {0x007F, 0x001C},
    {0x001A, 0x007F},
}};

void replaceEach(QString &text, bool decoding) {
    for (QChar &c : text) {
        for (const auto &[converter, ascii] : kSwappedControls) {
            if (c.unicode() == (decoding ? converter : ascii)) {
                c = QChar(decoding ? ascii : converter);
                break;
            }
        }
    }
}

} // namespace

QString DecodeDeviceText(const QByteArray &bytes) {
    // Made once per code page: the serial log decodes every frame of a flash dump.
    thread_local QStringDecoder shiftJis("Shift_JIS");
    thread_local QStringDecoder windows1252("windows-1252");
    QStringDecoder &decoder = JapaneseActive() ? shiftJis : windows1252;
    decoder.resetState();
    QString text = decoder.decode(bytes);
    if (JapaneseActive())
        replaceEach(text, true);
    return text;
}

QByteArray EncodeDeviceText(const QString &text) {
    QStringEncoder encoder(deviceCodePage());
    if (!JapaneseActive())
        return encoder.encode(text);
    QString mapped = text;
    replaceEach(mapped, false);
    return encoder.encode(mapped);
}

QString DecodeTextFile(const QByteArray &bytes) {
    // Stateless: an incomplete sequence at the end is an error, not a wait for more.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? DecodeDeviceText(bytes) : text;
}

} // namespace tq
