#pragma once

#include <QString>

#include <functional>

namespace tq {

// Where the log store keeps its files, handed to the decoders and stores instead of being
// read from the program's variables: the caller decides which program folder they work in.
struct StoreContext {
    QString AppFolder;          // the serial log and the raw exports
    QString DataFolder;         // the trend files, in DataFolder/yy/mm
    QString DatabasePath;       // the log database
    bool ExportRawData = false; // a trend's reload also writes its raw CSV export
};

// Called now and then while a long reading runs, so that its caller can keep a window
// live; the reading itself guards nothing against what the call does.
using ProgressCallback = std::function<void()>;

} // namespace tq
