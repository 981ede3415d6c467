#pragma once

#include "core/gui/flex_grid.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>

#include <optional>
#include <vector>

namespace tq {

// What a cell may carry besides its text; kept only for cells that have any.
struct FlexCellFormat {
    QColor back;
    QColor fore;
    std::optional<FlexAlign> align;
};

// The cells of a FlexGrid: one vector of texts per row and a sparse table of cell formats.
// The view learns new row and column counts only from Publish(), which tells it in one
// step; until then it sees the counts it was last told. While the model is not live the
// view is told nothing else either, and Publish() also repaints everything.
class FlexGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit FlexGridModel(QObject *parent = nullptr);

    int Rows() const { return int(m_text.size()); }
    int Cols() const { return m_cols; }
    void Resize(int rows, int cols);

    bool Contains(int row, int col) const {
        return row >= 0 && row < Rows() && col >= 0 && col < m_cols;
    }
    const QString &Text(int row, int col) const;
    void SetText(int row, int col, const QString &text);
    void Clear();

    // A value of the program's own kept with a row, never shown; Clear and fewer rows drop it.
    QVariant RowData(int row) const { return m_rowData.value(row); }
    void SetRowData(int row, const QVariant &value);

    const FlexCellFormat *Format(int row, int col) const;
    // The cell's format for writing (created when missing); call CellChanged afterwards.
    FlexCellFormat &FormatForWrite(int row, int col);
    void CellChanged(int row, int col);

    int FixedRows() const { return m_fixedRows; }
    int FixedCols() const { return m_fixedCols; }
    void SetFixed(int rows, int cols);
    bool IsFixed(int row, int col) const { return row < m_fixedRows || col < m_fixedCols; }

    FlexAlign ColAlignment(int col) const;
    void SetColAlignment(int col, FlexAlign align);
    FlexAlign Alignment(int row, int col) const;

    QColor BackColor() const { return m_back; }
    QColor BackColorFixed() const { return m_backFixed; }
    void SetBackColors(const QColor &back, const QColor &backFixed);

    bool MergeRow(int row) const;
    void SetMergeRow(int row, bool merge);
    // The rows whose MergeRow is set, ascending.
    std::vector<int> MergeRows() const;

    bool Editable() const { return m_editable; }
    void SetEditable(bool editable);

    // Whether the view is told of each change (Redraw on).
    bool Live() const { return m_live; }
    void SetLive(bool live);
    // Tells the view the current counts and repaints every cell.
    void Publish();
    // Whether the view already knows the cell.
    bool Published(int row, int col) const { return row < m_shownRows && col < m_shownCols; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    // A text of a row whose MergeRow is set changed, so the merges must be worked out again.
    void MergeTextChanged();

private:
    static quint64 key(int row, int col) { return (quint64(quint32(row)) << 32) | quint32(col); }
    void allChanged();

    std::vector<std::vector<QString>> m_text;
    int m_cols = 0;
    QHash<quint64, FlexCellFormat> m_formats;
    QHash<int, QVariant> m_rowData;
    std::vector<FlexAlign> m_colAlign;
    std::vector<char> m_mergeRow;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    QColor m_back;
    QColor m_backFixed;
    bool m_editable = false;
    bool m_live = true;
    int m_shownRows = 0; // the counts the view was told
    int m_shownCols = 0;
};

} // namespace tq
