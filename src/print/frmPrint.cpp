#include "print/frmPrint.h"

#include "core/gui/dialogs.h"
#include "core/gui/flex_grid.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <array>

namespace tq {

namespace {

const QString kTitle = QStringLiteral("TQ-6200 Data Logger");
const QString kListTitle = QStringLiteral("  (Last Calibration)");

// Column 0 (the number) is narrow; the others share the rest of the line.
std::array<int, frmPrint::kListColumns> columnLefts(int width) {
    std::array<int, frmPrint::kListColumns> lefts{};
    const int first = width * 6 / 100;
    const int share = (width - first) / (frmPrint::kListColumns - 1);
    for (int col = 1; col < frmPrint::kListColumns; ++col)
        lefts[col] = first + (col - 1) * share;
    return lefts;
}

} // namespace

bool frmPrint::GoPrinter() {
    if (m_dataType != kLastCalibration || !m_grid)
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(kTitle + kListTitle);
    if (!CurrentDialogs().ChoosePrinter(printer))
        return false;
    return PrintLastCalibration(printer);
}

QList<QList<int>> frmPrint::PageRows(int rows, int linesPerPage) {
    const int perPage = std::max(linesPerPage - 1, 1);
    QList<QList<int>> pages;
    int row = 1;
    do {
        QList<int> page{0};
        for (int n = 0; n < perPage && row < rows; ++n)
            page.append(row++);
        pages.append(page);
    } while (row < rows);
    return pages;
}

bool frmPrint::PrintLastCalibration(QPrinter &printer) const {
    QPainter painter;
    if (!m_grid || !painter.begin(&printer))
        return false;
    painter.setFont(m_grid->font());
    const QRect page = painter.viewport();
    const int lineHeight = painter.fontMetrics().height() * 3 / 2;
    const auto lefts = columnLefts(page.width());
    const QString title = kTitle + kListTitle + QStringLiteral("   ") + Now().generalDate();
    // The title and a blank line above the rows of every page.
    const int linesPerPage = page.height() / lineHeight - 2;

    const QList<QList<int>> pages = PageRows(m_grid->Rows(), linesPerPage);
    for (int p = 0; p < pages.size(); ++p) {
        if (p > 0)
            printer.newPage();
        painter.drawText(QRect(0, 0, page.width(), lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         title);
        int y = lineHeight * 2;
        for (int row : pages[p]) {
            for (int col = 0; col < kListColumns; ++col) {
                const int right = col + 1 < kListColumns ? lefts[col + 1] : page.width();
                painter.drawText(QRect(lefts[col], y, right - lefts[col], lineHeight),
                                 Qt::AlignLeft | Qt::AlignVCenter, m_grid->TextMatrix(row, col));
            }
            y += lineHeight;
            if (row == 0)
                painter.drawLine(0, y, page.width(), y);
        }
    }
    return painter.end();
}

} // namespace tq
