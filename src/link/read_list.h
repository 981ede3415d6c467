#pragma once

#include <QString>

#include <array>

namespace tq {

// The commands of a full settings read, index 0 to 305, in the order they are sent; an
// empty entry is skipped. Entries 49 to 304 read the station names 0 to 255.
inline constexpr int kReadListSize = 306;
inline constexpr int kLastReadEntry = 304;
inline constexpr int kLastIdentityEntry = 4;
const std::array<QString, kReadListSize> &ReadList();

} // namespace tq
