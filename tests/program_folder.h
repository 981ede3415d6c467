#pragma once

#include <QString>

namespace tq::test {

// Points the program at `folder` as its program folder, as the start-up would: the settings
// and database there, the trend files in its Data folder (made), the condensed view and the
// raw-data export off. No database is made.
void UseProgramFolder(const QString &folder);

} // namespace tq::test
