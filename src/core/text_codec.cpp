#include "core/text_codec.h"

#include "core/messages.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tq {

namespace {

const char *deviceCodePage() {
    return JapaneseActive() ? "Shift_JIS" : "windows-1252";
}

} // namespace

QString DecodeDeviceText(const QByteArray &bytes) {
    QStringDecoder decoder(deviceCodePage());
    return decoder.decode(bytes);
}

QByteArray EncodeDeviceText(const QString &text) {
    QStringEncoder encoder(deviceCodePage());
    return encoder.encode(text);
}

QString DecodeTextFile(const QByteArray &bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? DecodeDeviceText(bytes) : text;
}

} // namespace tq
