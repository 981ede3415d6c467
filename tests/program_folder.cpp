#include "program_folder.h"

#include "core/log_schema.h"
#include "core/program_state.h"

#include <QDir>

namespace tq::test {

StoreContext StoreIn(const QString &folder) {
    const StoreContext store{folder, QDir(folder).filePath(QStringLiteral("Data")),
                             QDir(folder).filePath(QStringLiteral("TQ6200.mdb")), false};
    QDir().mkpath(store.DataFolder);
    return store;
}

void UseProgramFolder(const QString &folder) {
    const StoreContext store = StoreIn(folder);
    ProgramState &g = Globals();
    g.AppFolder = g.DataLocation = store.AppFolder;
    g.DataFolder = store.DataFolder;
    g.DatabasePath = store.DatabasePath;
    g.CondensedView = false;
    g.ExportRawData = store.ExportRawData;
}

NewProgramFolder::NewProgramFolder() {
    UseProgramFolder(m_dir.path());
    CreateLogDatabase(Globals().DatabasePath);
}

} // namespace tq::test
