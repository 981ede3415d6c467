#pragma once

#include <QTextStream>

namespace tq {
class frmIntermittence;
}

namespace tq::report {

// The keys that WriteDataViewState writes, for the usage text.
QString DataViewDumpKeys();

// The shown data view window's state, one key=value a line: title, frame caption, view,
// Graph enabled, window icon, summary cells, table rows, coloured rows, top and bottom
// rows, zoom entries, then each control's geometry in twips, visibility and text.
void WriteDataViewState(const frmIntermittence &window, QTextStream &out);

} // namespace tq::report
