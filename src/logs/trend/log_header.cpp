#include "logs/trend/log_header.h"

#include "core/errors.h"
#include "core/gas_format.h"
#include "core/id_helpers.h"
#include "core/messages.h"
#include "logs/trend/flash_image.h"
#include "logs/trend/powers_of_ten.h"

namespace tq {

namespace {

constexpr float kNoValue = ReadingCode::NoValue;
constexpr qint32 kSerialCut = 12;
constexpr QChar kEtx(3);

QString unitText(quint8 unitCode) {
    switch (unitCode) {
    case 0:
        return QStringLiteral("vol%");
    case 1:
        return QStringLiteral("%LEL");
    case 2:
        return QStringLiteral("ppm");
    case 3:
        return QStringLiteral("ppb");
    default:
        return QStringLiteral(" ");
    }
}

float scaled(double raw, qint32 decimals) {
    return static_cast<float>(raw / PowerOfTen(decimals));
}

void decodeGasBlock(const QByteArray &block, qint32 g, GasInfo &gas) {
    // Read the whole block first, so one that runs past the buffer changes nothing.
    ReadBE16(block, g + kGasBlockSize - 2);
    const quint8 format = ByteAt(block, g + 15);
    const qint32 p = format & 0x0F;
    gas.Name = BytesToText(block, g + 1, 10).trimmed();
    gas.Point = static_cast<qint16>(p);
    gas.Unit = unitText(format >> 4);
    gas.Full = scaled(ReadBE16(block, g + 11), p);
    gas.Desit = scaled(ReadBE16(block, g + 13), p);
    gas.Warning = ReadCodedValue(block, g + 16, p);
    gas.Alarm = ReadCodedValue(block, g + 18, p);
    gas.Stel = ReadCodedValue(block, g + 20, p);
    gas.Twa = ReadCodedValue(block, g + 22, p);
    const quint16 ratio = ReadBE16(block, g + 24);
    gas.Ratio = ratio == 0xDDDD ? float(ReadingCode::RawDdDd) : scaled(DecodeRawCount(ratio), p);
    gas.Enable = true;
}

QString serialNumber(const QByteArray &block, qint32 st, bool fixUp) {
    QString serial = BlankToDashes(BytesToText(block, st + 38, 20), IdFieldKind::Serial);
    if (fixUp && serial.size() > kSerialCut && serial.at(kSerialCut) == kEtx)
        serial = serial.left(kSerialCut) + QString(8, QChar(' '));
    return serial;
}

bool hasRangeBlock(quint8 endCode) {
    return endCode == 8 || endCode == 40 || endCode == 72;
}

} // namespace

void LogHeader::clear() {
    const qint32 logNo = LogNo;
    *this = LogHeader{};
    LogNo = logNo;
    UserID = BlankToDashes(QString(), IdFieldKind::User);
    StationID = BlankToDashes(QString(), IdFieldKind::Station);
    SerialNo = BlankToDashes(QString(), IdFieldKind::Serial);
}

void GasInfo::clear() {
    *this = GasInfo{};
    Full = Desit = Avr = Max = Min = Warning = Alarm = Stel = Twa = Ratio = kNoValue;
    Point = ReadingCode::NoValue;
    MaxDate = MinDate = Date::emptyLogDate();
}

GasCode ClassifyGasCode(quint8 code, const LogHeaderOptions &options) {
    const auto effect = [&](SamplingEffect e) {
        return options.gasCodeSetsSampling ? e : SamplingEffect::Keep;
    };
    if (code >= 2 && code <= 7)
        return {code - 2, effect(SamplingEffect::Clear)};
    if (code >= 34 && code <= 39)
        return {code - 34, SamplingEffect::Keep};
    if (options.acceptsCodes50 && code >= 50 && code <= 55)
        return {code - 50, SamplingEffect::Keep};
    if (code >= 66 && code <= 71)
        return {code - 66, effect(SamplingEffect::Set)};
    return {};
}

void DecodeLogHeader(const QByteArray &block, qint32 &st, LogHeader &header, GasSlots &gas,
                     const LogHeaderOptions &options) {
    header.LogNo = ReadBE16(block, st + 2);
    header.UserID = BlankToDashes(BytesToText(block, st + 5, 16), IdFieldKind::User);
    header.StationID = BlankToDashes(BytesToText(block, st + 21, 16), IdFieldKind::Station);
    header.SerialNo = serialNumber(block, st, options.serialFixUp);
    header.Interval = ReadBE16(block, st + 58);

    qint32 pos = st + 60;
    for (GasCode code = ClassifyGasCode(ByteAt(block, pos), options); code.slot >= 0;
         code = ClassifyGasCode(ByteAt(block, pos), options)) {
        if (code.sampling == SamplingEffect::Clear)
            header.Sampling = 0;
        else if (code.sampling == SamplingEffect::Set)
            header.Sampling = 1;
        if (code.slot >= kLogGasSlots)
            throw TqError(ErrorKind::SubscriptOutOfRange,
                          QStringLiteral("The log header names gas slot %1").arg(code.slot));
        decodeGasBlock(block, pos, gas[code.slot]);
        pos += kGasBlockSize;
    }

    if (hasRangeBlock(ByteAt(block, pos))) {
        ReadBE16(block, pos + 11); // the whole block must be in the buffer
        std::array<qint32 *, 6> ranges{&header.LEL_lo, &header.LEL_hi, &header.ppm_lo,
                                       &header.ppm_hi, &header.vol_lo, &header.vol_hi};
        for (qsizetype i = 0; i < qsizetype(ranges.size()); ++i) {
            const quint16 raw = ReadBE16(block, pos + 1 + 2 * qint32(i));
            *ranges[i] = options.rangeCodes && raw == 0xDDDD ? ReadingCode::RawDdDd : raw;
        }
        pos += 13;
    }
    pos += 1;
    ByteAt(block, pos + 6); // date and LunchBreak must be in the buffer
    header.Dates = BytesToDate(block, pos);
    pos += 6;
    header.LunchBreak = ByteAt(block, pos);
    pos += 1;

    if (!options.namePrefix.isEmpty()) {
        header.Names = options.namePrefix + header.Dates.format(QStringLiteral("ddhhmmss")) +
                       QLatin1Char('_') + header.SerialNo;
        header.FolderID = header.Dates.format(QStringLiteral("MM/yy"));
    }
    st = pos;
}

QString SamplingPeriodText(const Date &start, const Date &end) {
    QString text = start.generalDate() + LoadMessage(5676);
    if (end != Date::emptyLogDate())
        text += end.generalDate();
    return text;
}

} // namespace tq
