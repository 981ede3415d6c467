#include "program_folder.h"

#include "core/log_schema.h"
#include "core/program_state.h"

#include <QDir>

namespace tq::test {

void UseProgramFolder(const QString &folder) {
    ProgramState &g = Globals();
    g.AppFolder = g.DataLocation = folder;
    g.DataFolder = QDir(folder).filePath(QStringLiteral("Data"));
    g.DatabasePath = QDir(folder).filePath(QStringLiteral("TQ6200.mdb"));
    g.CondensedView = false;
    g.ExportRawData = false;
    QDir().mkpath(g.DataFolder);
}

NewProgramFolder::NewProgramFolder() {
    UseProgramFolder(m_dir.path());
    CreateLogDatabase(Globals().DatabasePath);
}

} // namespace tq::test
