#include "ui/main/window/comm_log.h"

#include <QTextCursor>

namespace tq {

CommLog::CommLog(QWidget *parent) : QTextEdit(parent) {
    setReadOnly(true);
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
}

void CommLog::AppendLine(const QString &text, const QColor &color) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(color);
    QString line = text + QLatin1Char('\n');
    line.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    cursor.insertText(line, format);
    setTextCursor(cursor);
    ensureCursorVisible();
}

} // namespace tq
