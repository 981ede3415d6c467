#include "link/protocol/frame.h"

#include "core/text_codec.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace tq {

namespace {

// A literal, not a QByteArray object: frames may be built during static initialisation.
constexpr char kStation[] = "0001";
constexpr qsizetype kCommandStart = 5; // STX and "0001" come first

QByteArray checksumDigits(const QByteArray &throughEtx) {
    return QByteArray::number(CalcCheckSum(throughEtx), 16).toUpper().rightJustified(2, '0');
}

QByteArray frameOf(const QByteArray &command, char terminator) {
    QByteArray frame(1, Ctrl::STX);
    frame += kStation;
    frame += command;
    frame += Ctrl::ETX;
    frame += checksumDigits(frame);
    frame += terminator;
    return frame;
}

QByteArray answerFrame(const QByteArray &lastSentFrame, AckWidth width, char answer) {
    const bool longCode = width == AckWidth::ByCommand && lastSentFrame.contains("IH");
    return frameOf(lastSentFrame.mid(kCommandStart, longCode ? 7 : 5) + answer, Ctrl::ETB);
}

QString controlName(uchar code) {
    struct Name {
        char code;
        const char *text;
    };
    static constexpr std::array<Name, 9> kNames{{
        {Ctrl::STX, "[STX]"},
        {Ctrl::ETX, "[ETX]"},
        {Ctrl::EOT, "[EOT]"},
        {Ctrl::ENQ, "[ENQ]"},
        {Ctrl::ACK, "[ACK]"},
        {Ctrl::NAK, "[NAK]"},
        {Ctrl::ETB, "[ETB]"},
        {Ctrl::SUB, "[SUB]"},
        {Ctrl::ESC, "[ESC]"},
    }};
    for (const Name &name : kNames) {
        if (static_cast<uchar>(name.code) == code)
            return QString::fromLatin1(name.text);
    }
    return QStringLiteral("[%1]").arg(code, 2, 16, QLatin1Char('0')).toUpper();
}

bool isControl(uchar code) {
    return code < 32 && code != '\r' && code != '\n';
}

// ASCII goes on the wire as itself; only other characters take the code page. (The
// Shift_JIS converter swaps the codes 0x1A, 0x1C and 0x7F, which a frame must keep.)
QByteArray encodeCommand(const QString &text) {
    QByteArray bytes;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text.at(i).unicode() >= 0x80)
            continue;
        if (i > runStart)
            bytes += EncodeDeviceText(text.mid(runStart, i - runStart));
        if (i < text.size())
            bytes += char(text.at(i).unicode());
        runStart = i + 1;
    }
    return bytes;
}

} // namespace

QByteArray MakeFrame(const QString &commandText, char terminator) {
    return frameOf(encodeCommand(commandText), terminator);
}

QByteArray MakeAckFrame(const QByteArray &lastSentFrame) {
    return answerFrame(lastSentFrame, AckWidth::ByCommand, Ctrl::ACK);
}

QByteArray MakeNakFrame(const QByteArray &lastSentFrame, AckWidth width) {
    return answerFrame(lastSentFrame, width, Ctrl::NAK);
}

int CalcCheckSum(const QByteArray &text) {
    int sum = 0;
    for (const char c : text)
        sum += static_cast<uchar>(c);
    return (256 - sum % 256) % 256;
}

bool FrameChecksumValid(const QByteArray &frame) {
    // ETX, two digits and the terminator end the frame.
    const qsizetype etx = frame.size() - 4;
    if (etx < 0 || frame.at(etx) != Ctrl::ETX)
        return false;
    const QByteArray digits = frame.mid(etx + 1, 2);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(uchar(c)); }))
        return false;
    return digits.toInt(nullptr, 16) == CalcCheckSum(frame.left(etx + 1));
}

QString ShowControlChars(const QByteArray &frame) {
    // Bytes below 32 and 0x7F never occur inside a double-byte character, so the text
    // between them decodes on its own; they themselves bypass the code page.
    QString shown;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= frame.size(); ++i) {
        const uchar code = i < frame.size() ? static_cast<uchar>(frame.at(i)) : 0;
        if (i < frame.size() && code >= 32 && code != 0x7F)
            continue;
        if (i > runStart)
            shown += DecodeDeviceText(frame.mid(runStart, i - runStart));
        if (i < frame.size())
            shown += isControl(code) ? controlName(code) : QString(QChar(code));
        runStart = i + 1;
    }
    return shown;
}

QByteArray StripControlChars(const QByteArray &text) {
    QByteArray kept;
    kept.reserve(text.size());
    for (const char c : text) {
        const uchar code = static_cast<uchar>(c);
        if (code >= 32 && code <= 127)
            kept += c;
    }
    return kept;
}

} // namespace tq
