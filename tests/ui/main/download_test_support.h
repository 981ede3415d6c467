#pragma once

#include "test_support.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tq::test {

// Puts the flash image of a fixture of the image builder at out.
void CopyFixtureImage(const QString &fixture, const QString &out);

// A run of tq6200-import.
struct ToolRun {
    int exitCode = -1;
    QStringList lines; // standard output, one entry per line
    QString errors;    // standard error
};
// Runs tq6200-import with arguments in folder.
ToolRun RunImportTool(const QString &folder, const QStringList &arguments = {});

// Pins $USER while it lives (the user name a lock file records); nullptr unsets it.
class UserName {
public:
    explicit UserName(const char *name);
    ~UserName();
    UserName(const UserName &) = delete;
    UserName &operator=(const UserName &) = delete;

private:
    QByteArray m_old;
    bool m_wasSet;
};

} // namespace tq::test
