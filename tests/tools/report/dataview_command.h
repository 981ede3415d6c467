#pragma once

#include <QSizeF>
#include <QString>

#include <optional>

namespace tq::report {

class ReportSession;

// What `dataview` does with the opened data view window.
enum class DataViewAction { Dump, Export, Print, Shot };

struct DataViewRequest {
    qint64 seqNo = 0;
    bool graph = false;         // the Data View page's Graph option on
    bool noSummary = false;     // the page's summary grid hidden
    std::optional<QSizeF> size; // the main window's size in twips
    DataViewAction action = DataViewAction::Dump;
};

// Opens the data view window on alarm trend `seqNo` as the main window's openers do, acts on
// it once it is shown and closes it with its Return button; the exit status.
int RunDataView(ReportSession &session, const DataViewRequest &request);

} // namespace tq::report
