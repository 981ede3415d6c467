#pragma once

#include <QString>

#include <initializer_list>

namespace tq {

// One parameter of a message: a text, or a number in its ordinary text form.
class MessageParam {
public:
    MessageParam(const QString &text) : m_text(text) {}
    MessageParam(const char *text) : m_text(QString::fromUtf8(text)) {}
    MessageParam(int value) : m_text(QString::number(value)) {}
    MessageParam(long value) : m_text(QString::number(value)) {}
    MessageParam(long long value) : m_text(QString::number(value)) {}
    MessageParam(double value);
    MessageParam(float value);

    const QString &text() const { return m_text; }

private:
    QString m_text;
};

// The text of message `id` in the active language with its marks expanded: "~1".."~9"
// insert a parameter (nothing when the call has fewer), "~0" nothing, "~c"/"~C" a line
// break (CR LF), "~t"/"~T" a tab; a tilde with any other character is dropped with it.
// Parameter texts are copied as they are, never expanded. An id the table does not
// hold throws TqError(MissingResource).
QString LoadMessage(int id, std::initializer_list<MessageParam> params = {});

// The mark expansion of LoadMessage on a given text.
QString ExpandMessageText(const QString &text, std::initializer_list<MessageParam> params = {});

// True when the Japanese table is active (message 101 reads "JP").
bool JapaneseActive();

} // namespace tq
