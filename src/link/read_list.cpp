#include "link/read_list.h"

#include "link/hex_text.h"

namespace tq {

namespace {

constexpr int kFirstStationEntry = 49;
constexpr int kStationCount = 256;

std::array<QString, kReadListSize> buildReadList() {
    const struct {
        int index;
        const char *command;
    } fixed[] = {
        {0, "VP,R,"},  {1, "XZ,R,"},  {2, "XS,R,****"}, {3, "IN,R,"},  {5, "HC,R,"},  {6, "BS,R,"},
        {7, "AP,R,"},  {8, "XP,R,"},  {10, "SD,R,"},    {11, "SM,R,"}, {12, "SC,R,"}, {15, "XB,R,"},
        {16, "XW,R,"}, {17, "XT,R,"}, {19, "HF,R,"},    {20, "GJ,R,"}, {21, "A1,R,"}, {22, "A2,R,"},
        {23, "AS,R,"}, {24, "AW,R,"}, {25, "HA,R,"},    {26, "VS,R,"}, {28, "SA,R,"}, {30, "AT,R,"},
        {39, "SJ,R,"}, {40, "SG,R,"}, {43, "CP,R,"},    {44, "AM,R,"}, {45, "UQ,R,"}, {46, "BU,R,"},
        {48, "AF,R,"},
    };
    std::array<QString, kReadListSize> list;
    for (const auto &entry : fixed)
        list[entry.index] = QString::fromLatin1(entry.command);
    for (int n = 0; n < kStationCount; ++n)
        list[kFirstStationEntry + n] = QStringLiteral("XS,R,") + Hex4(n);
    return list;
}

} // namespace

const std::array<QString, kReadListSize> &ReadList() {
    static const std::array<QString, kReadListSize> list = buildReadList();
    return list;
}

} // namespace tq
