#pragma once

#include "core/database.h"

#include <QString>

namespace tq {

// The texts of head and detail columns as the summary and the record lists show them. A
// Null column gives an empty text (a value, a word, a gas title), 0 decimals or a gas that
// is off; so does a value that does not fit its field.
struct SummaryRow {
    const DbRow &row;

    // "General Date"; empty for Null or a text that is no date.
    QString date(const QString &column) const;
    // FormatGasValue with the row's Gas1Point; empty for Null.
    QString gas(const QString &column) const;
    qint16 decimals() const;
    bool gasEnabled() const;
    // The texts the exports write (EntryGasTitle, EntryEventWord, EntryPowerWord): the
    // row's gas title, the word of its Alarm_Type, "ON" or "OFF" by its Power_Type.
    QString gasTitle() const;
    QString eventWord() const;
    QString power() const;
    float fullScale() const;
    QString text(const QString &column) const { return row.text(column); }
    // A number column as the grid shows it; empty for Null.
    QString number(const QString &column) const;
};

} // namespace tq
