#pragma once

#include <QTextEdit>

namespace tq {

// The on-screen communication log: read-only coloured lines. Every line goes to the end,
// whatever the user has selected or where the caret stands, and the view follows it.
class CommLog : public QTextEdit {
    Q_OBJECT
public:
    explicit CommLog(QWidget *parent = nullptr);

    void AppendLine(const QString &text, const QColor &color);
};

} // namespace tq
