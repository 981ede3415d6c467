#pragma once

#include <QString>
#include <QTemporaryDir>

namespace tq::test {

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
