#include "fuzz_support.h"

#include "program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace tq::fuzz {

namespace {

struct Process {
    int argc = 1;
    char name[8] = "fuzz";
    char *argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    test::NewProgramFolder folder;
};

// Made on first use and never destroyed: the fuzzer ends the process from its own exit
// handlers, after which Qt's globals may already be gone.
Process &process() {
    static Process *instance = new Process;
    return *instance;
}

} // namespace

void SetUpOnce() {
    process();
}

QString ProgramFolder() {
    return process().folder.path(QString());
}

QString WriteFile(const QString &name, const QByteArray &bytes) {
    const QString path = QDir(ProgramFolder()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace tq::fuzz
