#pragma once

#include "core/errors.h"
#include "core/store_context.h"
#include "test_support.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

namespace tq::test {

// One 26-byte gas block of a log header.
struct GasBlockSpec {
    quint8 code = 2; // slot 0
    QByteArray name = "CH4";
    quint16 full = 1000;
    quint16 desit = 500;
    quint8 format = 0x11;                                    // one decimal, %LEL
    std::array<quint16, 4> levels{100, 200, 0xFFFF, 0xFFFF}; // warning, alarm, STEL, TWA
    quint16 ratio = 10;
};

// An event block: header, two skipped bytes, then 2-byte records (gas byte, status byte).
struct EventBlockSpec {
    quint16 logNo = 7;
    QByteArray user = "USER1";
    QByteArray station = "ST1";
    QByteArray serial = "SN0001";
    quint16 interval = 60;
    QList<GasBlockSpec> gases{GasBlockSpec{}};
    quint8 endCode = 9;
    std::array<quint16, 6> ranges{1, 2, 3, 4, 5, 6}; // written only after end code 8, 40, 72
    QByteArray date = QByteArray("\x14\x03\x1F\x17\x3B\x00", 6); // 2020-03-31 23:59:00
    quint8 lunchBreak = 0;
    QList<std::array<quint8, 2>> records;
};

// The block's 256 bytes (erased where nothing is written; records past the end are cut).
QByteArray EventBlock(const EventBlockSpec &layout);
// The byte where the records of the block begin.
qint32 EventRecordStart(const EventBlockSpec &layout);
// A power-event block: counter, six date bytes, kind.
QByteArray PowerBlock(quint16 counter, const QByteArray &date, quint8 kind);

// A whole erased flash image and a way to put blocks into it.
QByteArray ErasedImage();
void PutBlock(QByteArray &image, qint32 offset, const QByteArray &block);

// A test with its own program folder: the store points into it, its database exists.
class EventDatabaseTest : public TempFolderTest {
protected:
    void SetUp() override;
    QString imageFile(const QByteArray &image);
    StoreContext store;
    QString dbPath;
};

} // namespace tq::test
