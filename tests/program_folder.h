#pragma once

#include "core/store_context.h"

#include <QString>
#include <QTemporaryDir>

namespace tq::test {

// The store of a program folder: its database, its Data folder (made) and its serial log,
// the raw-data export off. No database is made.
StoreContext StoreIn(const QString &folder);

// Points the program at `folder` as its program folder, as the start-up would: the settings
// and database there, the trend files in its Data folder (made), the condensed view and the
// raw-data export off. No database is made.
void UseProgramFolder(const QString &folder);

// A temporary program folder of its own with a fresh log database, the program pointed at
// it.
class NewProgramFolder {
public:
    NewProgramFolder();
    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

} // namespace tq::test
