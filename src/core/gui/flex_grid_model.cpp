#include "core/gui/flex_grid_model.h"

#include <algorithm>

namespace tq {

namespace {

const QString kEmpty;

Qt::Alignment qtAlignment(FlexAlign align, const QString &text) {
    switch (align) {
    case FlexAlign::LeftCenter:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case FlexAlign::CenterCenter:
        return Qt::AlignCenter;
    case FlexAlign::General:
        break;
    }
    bool number = false;
    text.trimmed().toDouble(&number);
    return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

} // namespace

FlexGridModel::FlexGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void FlexGridModel::Resize(int rows, int cols) {
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    if (rows < Rows() || cols < m_cols) {
        for (auto it = m_formats.begin(); it != m_formats.end();) {
            const int row = int(it.key() >> 32);
            const int col = int(it.key() & 0xFFFFFFFFu);
            it = (row >= rows || col >= cols) ? m_formats.erase(it) : std::next(it);
        }
    }
    if (rows < Rows())
        m_rowData.removeIf([rows](const auto &it) { return it.key() >= rows; });
    m_text.resize(std::size_t(rows));
    if (cols != m_cols) {
        for (auto &row : m_text)
            row.resize(std::size_t(cols));
    } else {
        // Only new rows need their cells.
        for (auto it = m_text.rbegin(); it != m_text.rend() && it->size() != std::size_t(cols);
             ++it)
            it->resize(std::size_t(cols));
    }
    m_cols = cols;
    m_colAlign.resize(std::size_t(cols), FlexAlign::General);
    m_mergeRow.resize(std::size_t(rows), 0);
    m_fixedRows = std::min(m_fixedRows, rows);
    m_fixedCols = std::min(m_fixedCols, cols);
}

const QString &FlexGridModel::Text(int row, int col) const {
    return Contains(row, col) ? m_text[std::size_t(row)][std::size_t(col)] : kEmpty;
}

void FlexGridModel::SetText(int row, int col, const QString &text) {
    if (!Contains(row, col))
        return;
    QString &cell = m_text[std::size_t(row)][std::size_t(col)];
    if (cell == text)
        return;
    cell = text;
    CellChanged(row, col);
    if (m_mergeRow[std::size_t(row)])
        emit MergeTextChanged();
}

void FlexGridModel::Clear() {
    for (auto &row : m_text)
        std::fill(row.begin(), row.end(), QString());
    m_formats.clear();
    m_rowData.clear();
    allChanged();
    emit MergeTextChanged();
}

void FlexGridModel::SetRowData(int row, const QVariant &value) {
    if (row >= 0 && row < Rows())
        m_rowData.insert(row, value);
}

const FlexCellFormat *FlexGridModel::Format(int row, int col) const {
    if (m_formats.isEmpty())
        return nullptr;
    const auto it = m_formats.constFind(key(row, col));
    return it == m_formats.cend() ? nullptr : &*it;
}

FlexCellFormat &FlexGridModel::FormatForWrite(int row, int col) {
    return m_formats[key(row, col)];
}

void FlexGridModel::CellChanged(int row, int col) {
    if (m_live && Published(row, col)) {
        const QModelIndex cell = index(row, col);
        emit dataChanged(cell, cell);
    }
}

void FlexGridModel::SetFixed(int rows, int cols) {
    m_fixedRows = std::clamp(rows, 0, Rows());
    m_fixedCols = std::clamp(cols, 0, m_cols);
    allChanged();
}

FlexAlign FlexGridModel::ColAlignment(int col) const {
    return col >= 0 && col < m_cols ? m_colAlign[std::size_t(col)] : FlexAlign::General;
}

void FlexGridModel::SetColAlignment(int col, FlexAlign align) {
    if (col < 0)
        std::fill(m_colAlign.begin(), m_colAlign.end(), align);
    else if (col < m_cols)
        m_colAlign[std::size_t(col)] = align;
    allChanged();
}

FlexAlign FlexGridModel::Alignment(int row, int col) const {
    const FlexCellFormat *format = Format(row, col);
    return format && format->align ? *format->align : ColAlignment(col);
}

void FlexGridModel::SetBackColors(const QColor &back, const QColor &backFixed) {
    m_back = back;
    m_backFixed = backFixed;
    allChanged();
}

bool FlexGridModel::MergeRow(int row) const {
    return row >= 0 && row < Rows() && m_mergeRow[std::size_t(row)];
}

void FlexGridModel::SetMergeRow(int row, bool merge) {
    if (row < 0 || row >= Rows() || bool(m_mergeRow[std::size_t(row)]) == merge)
        return;
    m_mergeRow[std::size_t(row)] = merge;
    emit MergeTextChanged();
}

std::vector<int> FlexGridModel::MergeRows() const {
    std::vector<int> rows;
    for (std::size_t r = 0; r < m_mergeRow.size(); ++r)
        if (m_mergeRow[r])
            rows.push_back(int(r));
    return rows;
}

void FlexGridModel::SetEditable(bool editable) {
    m_editable = editable;
    allChanged();
}

void FlexGridModel::SetLive(bool live) {
    m_live = live;
}

void FlexGridModel::Publish() {
    if (m_cols < m_shownCols) {
        beginRemoveColumns({}, m_cols, m_shownCols - 1);
        m_shownCols = m_cols;
        endRemoveColumns();
    }
    if (Rows() < m_shownRows) {
        beginRemoveRows({}, Rows(), m_shownRows - 1);
        m_shownRows = Rows();
        endRemoveRows();
    }
    if (m_cols > m_shownCols) {
        beginInsertColumns({}, m_shownCols, m_cols - 1);
        m_shownCols = m_cols;
        endInsertColumns();
    }
    if (Rows() > m_shownRows) {
        beginInsertRows({}, m_shownRows, Rows() - 1);
        m_shownRows = Rows();
        endInsertRows();
    }
    if (m_shownRows > 0 && m_shownCols > 0)
        emit dataChanged(index(0, 0), index(m_shownRows - 1, m_shownCols - 1));
}

void FlexGridModel::allChanged() {
    if (m_live && m_shownRows > 0 && m_shownCols > 0)
        emit dataChanged(index(0, 0), index(m_shownRows - 1, m_shownCols - 1));
}

int FlexGridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_shownRows;
}

int FlexGridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_shownCols;
}

QVariant FlexGridModel::data(const QModelIndex &index, int role) const {
    const int row = index.row();
    const int col = index.column();
    if (!Contains(row, col))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return Text(row, col);
    case Qt::BackgroundRole: {
        const FlexCellFormat *format = Format(row, col);
        if (format && format->back.isValid())
            return format->back;
        if (IsFixed(row, col))
            return m_backFixed;
        return m_back.isValid() ? QVariant(m_back) : QVariant();
    }
    case Qt::ForegroundRole: {
        const FlexCellFormat *format = Format(row, col);
        return format && format->fore.isValid() ? QVariant(format->fore) : QVariant();
    }
    case Qt::TextAlignmentRole:
        return int(qtAlignment(Alignment(row, col), Text(row, col)));
    default:
        return {};
    }
}

bool FlexGridModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole || !Contains(index.row(), index.column()))
        return false;
    SetText(index.row(), index.column(), value.toString());
    return true;
}

Qt::ItemFlags FlexGridModel::flags(const QModelIndex &index) const {
    if (!Contains(index.row(), index.column()))
        return Qt::NoItemFlags;
    if (IsFixed(index.row(), index.column()))
        return Qt::ItemIsEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_editable)
        flags |= Qt::ItemIsEditable;
    return flags;
}

} // namespace tq
