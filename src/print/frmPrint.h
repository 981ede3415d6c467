#pragma once

#include <QList>
#include <QtGlobal>

class QPainter;
class QPrinter;

namespace tq {

class FlexGrid;

// The print form: never shown, it prints what its DataType names after the operator has
// chosen a printer. DataType 4 is the Last Calibration list, read from the grid handed in.
class frmPrint {
public:
    static constexpr qint32 kLastCalibration = 4;
    // Columns of the list that reach the paper.
    static constexpr int kListColumns = 6;

    void setDataType(qint32 type) { m_dataType = type; }
    void setGrid(const FlexGrid *grid) { m_grid = grid; }

    // Runs the print; false when no printer was chosen or nothing could be printed.
    bool GoPrinter();
    // The list onto a printer already set up (the render tool prints into a PDF file).
    bool PrintLastCalibration(QPrinter &printer) const;
    // The grid rows of each printed page: the heading row 0 first on every page, then as
    // many data rows (1 to rows - 1, in order) as the page holds beside it.
    static QList<QList<int>> PageRows(int rows, int linesPerPage);

private:
    qint32 m_dataType = 0;
    const FlexGrid *m_grid = nullptr;
};

} // namespace tq
