#pragma once

#include <QString>

namespace tq {

class Database;
class FlexGrid;

// What the Data page's summary grid shows for a tree or list key: the folder form of a
// grouping node or type folder, the property/value summary of a stored trend or snapshot,
// or the newest records of a stored event, power-event, sensor-change, calibration or
// bump-test log. The grid is reset first ("Property"/"Value" and one empty row); any other
// letter leaves it so. Returns false when the two buttons under the grid are to be
// disabled (the folder form). Failures of the database pass to the caller as TqError.
bool FillLogSummary(FlexGrid &grid, Database &db, const QString &key);

// The empty-folder form: "Property"/"Value" and "Type"/"Folder".
void FillFolderSummary(FlexGrid &grid);

} // namespace tq
