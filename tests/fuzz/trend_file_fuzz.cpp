// Trend files as found on disk: read record by record, and record by index.
#include "fuzz_support.h"

#include "logs/trend/trend_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    tq::fuzz::SetUpOnce();
    const QByteArray bytes = tq::fuzz::Bytes(data, size);
    tq::TrendFileReader reader(tq::fuzz::WriteFile(QStringLiteral("fuzz.Dat"), bytes));
    qint64 records = 0;
    while (reader.next())
        ++records;
    for (qint64 n = 1; n <= records + 1; ++n) {
        tq::GetTrendPoint(bytes, n);
        tq::GetTrendTime(bytes, n);
    }
    return 0;
}
