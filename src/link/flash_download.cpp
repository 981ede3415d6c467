// Copying the detector's flash memory into the image file, and the dump list.
#include "core/errors.h"
#include "core/flash_layout.h"
#include "core/messages.h"
#include "link/dump_list.h"
#include "link/hex_text.h"
#include "link/image_draft.h"
#include "link/serial_log.h"
#include "link/uclPvif.h"

#include <QFile>
#include <QScopeGuard>

namespace tq {

namespace {

constexpr qint32 kBlockBytes = 512;
constexpr qint16 kLastBlock = 1023;
constexpr int kEmptyBlocksToStop = 3;
constexpr qint16 kSectorBlocks = 24;

QString hex6(qint32 value) {
    return QStringLiteral("%1").arg(value, 6, 16, QLatin1Char('0')).toUpper();
}

QString now() {
    return Date::now().generalDate();
}

} // namespace

void uclPvif::createImage(const QString &path) {
    if (!infraredInUse()) {
        FillImageFile(path, kFlashImageSize);
        return;
    }
    m_infrared->setImagePath(path);
    if (!m_infrared->createErasedImage(kFlashImageSize))
        throw TqError(ErrorKind::File, QStringLiteral("Cannot write %1").arg(path));
}

bool uclPvif::readBlock(qint16 block) {
    m_blockAddress = block * kBlockBytes;
    m_blockCount = 0;
    m_infrared->setReceiveSize(kBlockBytes);
    const qint32 status =
        exchange(LinkStatus::BlockPending, QStringLiteral("EP,R,") + Hex4(block), {}, true);
    emit DumpMessage(QStringLiteral("Get FLASH Image ") + Hex4(block));
    const bool read = status == LinkStatus::Done && !m_cancel;
    if (!read)
        m_blockFailed = true;
    return read;
}

// Blocks sb to eb (sb always), ending early on a failed block or Cancel; with `recsize`
// also after three blocks in a row that hold an empty record or no data.
void uclPvif::readBlockRange(qint16 sb, qint16 eb, qint16 recsize, bool logEachBlock) {
    int emptyInRow = 0;
    qint16 block = sb;
    do {
        readBlock(block);
        if (logEachBlock)
            SetSerialLog(LoadMessage(5570, {now()}));
        if (m_status == LinkStatus::Failed || m_cancel)
            break;
        if (recsize != 0) {
            emptyInRow = inRecord(block * kBlockBytes, recsize, true) == 2 ? 0 : emptyInRow + 1;
            if (emptyInRow >= kEmptyBlocksToStop)
                break;
        }
        ++block;
    } while (block <= eb);
    // Text replies come in events of any size again.
    m_infrared->setReceiveSize(0);
    m_imageFile.reset();
}

bool uclPvif::rangeResult() {
    if (m_status == LinkStatus::Done && m_operationOk && !m_blockFailed)
        return true;
    setStatus(LinkStatus::Idle);
    return false;
}

// The shared frame of the two image downloads: the blocks go into a draft beside FilePath
// (fresh: an erased image, else a copy of FilePath), which `readBlocks` fills and which
// replaces FilePath only when it answers True.
bool uclPvif::downloadImage(const QString &FilePath, bool fresh,
                            const std::function<bool()> &readBlocks) {
    const SerialLogHold logHeld(m_serialLogFolder);
    m_cancel = false;
    emit DumpMessage(QStringLiteral("Initialize Local Image"));
    m_blockSize = kBlockBytes;
    ImageDraft draft(FilePath);
    // However the download ends, nothing is left writing to the draft.
    const auto imageAgain = qScopeGuard([&] {
        m_imageFile.reset();
        m_binDumpPath = FilePath;
        if (infraredInUse())
            m_infrared->setImagePath(FilePath);
    });
    if (fresh) {
        createImage(draft.path());
    } else {
        draft.copyImage();
        if (infraredInUse())
            m_infrared->setImagePath(draft.path());
    }
    emit DumpMessage(QStringLiteral("Get FLASH Image"));
    SetSerialLog(LoadMessage(5569, {now()}));
    m_operationOk = true;
    m_cancel = false;
    m_binDumpPath = draft.path();
    m_binaryRetry = false;
    m_blockFailed = false;
    if (!readBlocks())
        return false;
    draft.place();
    return true;
}

bool uclPvif::GetBinDump(const QString &FilePath, qint16 sb, qint16 eb) {
    const bool fresh = !QFile::exists(FilePath) || (sb == 0 && eb == kLastBlock);
    return downloadImage(FilePath, fresh, [&] {
        readBlockRange(sb, eb, 0, true);
        return rangeResult();
    });
}

bool uclPvif::GetBinDump2(qint16 sb, qint16 eb, qint16 recsize) {
    m_operationOk = true;
    m_cancel = false;
    const bool failedBefore = m_blockFailed;
    m_blockFailed = false;
    readBlockRange(sb, eb, recsize, false);
    const bool result = rangeResult();
    m_blockFailed = m_blockFailed || failedBefore;
    return result;
}

qint16 uclPvif::inRecord(qint32 address, qint16 recsize, bool stopAtEmpty) {
    if (recsize <= 0 || kBlockBytes % recsize != 0)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("Record size %1 does not divide a block").arg(recsize));
    QFile file(m_binDumpPath);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(address))
        throw TqError(ErrorKind::File, QStringLiteral("Cannot read %1").arg(m_binDumpPath));
    const QByteArray block = file.read(kBlockBytes).leftJustified(kBlockBytes, char(0xFF));
    bool hasData = false;
    bool hasEmpty = false;
    for (qsizetype offset = 0; offset < kBlockBytes && !(hasData && hasEmpty); offset += recsize) {
        const QByteArray record = block.mid(offset, recsize);
        if (record.count(char(0xFF)) != record.size()) {
            hasData = true;
        } else {
            hasEmpty = true;
            if (stopAtEmpty)
                break;
        }
    }
    return static_cast<qint16>(2 * int(hasData) + int(hasEmpty));
}

bool uclPvif::GetFastBinDump(const QString &FilePath) {
    Date start;
    const bool read = downloadImage(FilePath, true, [&] { return fastBlockPlan(start); });
    if (read)
        SetSerialLog(TimedLogLine(5570, start, Date::now()));
    return read;
}

// The blocks that hold data, area by area; `start` is when the first was asked for.
bool uclPvif::fastBlockPlan(Date &start) {
    start = Date::now();
    const auto probe = [this](qint16 block) { return GetBinDump2(block, block); };
    const auto areaDone = [this] {
        if (m_cancel)
            return false;
        SetSerialLog(QStringLiteral("---"));
        return true;
    };
    // An area whose first block says which half holds its newest records.
    const auto ringArea = [&](qint16 first, qint16 size) {
        if (!probe(first))
            return false;
        const qint16 r = inRecord(first * kBlockBytes, 256, false);
        const qint16 half = size / 2;
        if (r == 1)
            GetBinDump2(first + half, first + size - 1, 256);
        else if (r == 2)
            GetBinDump2(first + 1, first + half - 1, 256);
        return areaDone();
    };
    // An area whose last block says whether it is full.
    const auto stackArea = [&](qint16 first, qint16 last) {
        if (!probe(last))
            return false;
        if (inRecord(last * kBlockBytes, 512, false) >= 2)
            GetBinDump2(first, last - 1);
        else
            GetBinDump2(first, last - 1, 256);
        return areaDone();
    };
    const auto trendSectors = [&] {
        for (qint16 s = 128; s <= 344; s += kSectorBlocks) {
            if (!probe(s))
                return false;
            if (inRecord(s * kBlockBytes, 256, true) < 2)
                continue;
            GetBinDump2(s + 1, s + 12);
            if (m_cancel)
                return false;
            GetBinDump2(s + 13, s + kSectorBlocks - 1, 16);
            if (m_cancel)
                return false;
        }
        return areaDone();
    };
    ringArea(0, 128) && trendSectors() && stackArea(384, 511) && stackArea(512, 639) &&
        ringArea(640, 128) && ringArea(768, 128) && ringArea(896, 128);

    if (m_status == LinkStatus::Done && m_operationOk && !m_blockFailed)
        return true;
    setStatus(LinkStatus::Idle);
    return false;
}

bool uclPvif::ReadBinDump(LogCollection *collection, const QString &FilePath) {
    SetSerialLog(LoadMessage(5569, {now()}));
    bool read = false;
    // The collection lives for one import only, so no reference to it is kept.
    if (collection)
        read = collection->ReadBinaryLog(FilePath);
    SetSerialLog(LoadMessage(5570, {now()}));
    return read;
}

// --- Dump list ------------------------------------------------------------------------

bool uclPvif::GetRomDump2(const QString &FileNames) {
    SetSerialLog(LoadMessage(5569, {now()}));
    const Date start = Date::now();
    m_dumpList = std::make_unique<QFile>(FileNames);
    if (!m_dumpList->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_dumpList.reset();
        throw TqError(ErrorKind::File, QStringLiteral("Cannot write %1").arg(FileNames));
    }
    m_dumpList->write(DumpListHeader(now()).toUtf8());
    m_context.DumpPage = DumpListPage{};

    m_operationOk = true;
    m_cancel = false;
    const qint32 status = exchange(LinkStatus::MultiFramePending, QStringLiteral("EF,R,"));

    DumpListPage &page = m_context.DumpPage;
    if (page.Count > 0) {
        for (int slot = page.Count; slot < DumpListPage::kLines; ++slot) {
            page.Lines[slot] = QString(32, 'F');
            page.Addresses[slot] = page.Addresses[slot - 1] + 16;
        }
        WriteDumpList();
        page.Count = 0;
    }
    m_dumpList->write((QStringLiteral("\r\n;\tTotal Download Time = ") +
                       ElapsedText(start, Date::now()) + QStringLiteral("\r\n"))
                          .toUtf8());
    const bool writeFailed = m_dumpList->error() != QFileDevice::NoError || !m_dumpList->flush();
    m_dumpList.reset();
    if (writeFailed)
        throw TqError(ErrorKind::File, QStringLiteral("Cannot write %1").arg(FileNames));

    if (status == LinkStatus::Done && m_operationOk)
        return true;
    setStatus(LinkStatus::Idle);
    return false;
}

// Runs inside the receive event: a write failure is noticed when the list is closed.
void uclPvif::WriteDumpList() {
    const DumpListPage &page = m_context.DumpPage;
    if (m_dumpList) {
        QString text =
            DumpPageHeading() + QStringLiteral("\r\n") + DumpPageRule() + QStringLiteral("\r\n");
        for (int slot = 0; slot < DumpListPage::kLines; ++slot)
            text += DumpListLine(page.Addresses[slot], page.Lines[slot]) + QStringLiteral("\r\n");
        m_dumpList->write((text + QStringLiteral("\r\n")).toUtf8());
    }
    emit DumpMessage(QStringLiteral("Get Dump ") + hex6(page.Addresses[0]) + '-' +
                     hex6(page.Addresses[DumpListPage::kLines - 1] + 15));
}

} // namespace tq
