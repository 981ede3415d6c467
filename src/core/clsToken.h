#pragma once

#include <QString>

#include <array>

namespace tq {

// Splits one line of text into tokens by configurable character classes: up to ten
// delimiter, ten quote and ten comment characters. Assigning the line with setSource()
// splits it at once; the tokens are then read with TokenCount() and Tokens().
class clsToken {
public:
    // Each adds one entry to its set while the set holds fewer than ten; only an entry of
    // exactly one character ever matches a character of the line.
    void AddDelimiters(const QString &DelimChara);
    void AddStrings(const QString &DelimChara);
    void AddComments(const QString &DelimChara);

    void ClearDelimiters();
    void ClearStrings();
    void ClearComments();

    // Get: the entry at Index when it is below the set's count, else an empty text.
    // Set: stores the entry at Index 0..9 without changing the count; other indexes are
    // ignored.
    QString Delimiters(int Index) const;
    void setDelimiters(int Index, const QString &value);
    QString StringRanges(int Index) const;
    void setStringRanges(int Index, const QString &value);
    QString Comments(int Index) const;
    void setComments(int Index, const QString &value);

    qint16 TokenCount() const { return m_tokenCount; }
    void setTokenCount(qint16 value) { m_tokenCount = value; }

    // Get: slot IndexNo for 0..50, an empty text otherwise. Set: slot IndexNo for 0..50;
    // any other index throws TqError(SubscriptOutOfRange).
    QString Tokens(int IndexNo) const;
    void setTokens(int IndexNo, const QString &value);

    // Off by default. When on, a quote character written twice inside quotes stands for
    // one quote character of the token (how the settings file keeps a "'" in a text).
    void setDoubledQuotes(bool on) { m_doubledQuotes = on; }

    QString Source() const { return m_source; }
    // Stores the line and splits it. A split resets TokenCount but leaves the slots at and
    // after it as earlier splits left them; a 52nd token (or a comment text after 51
    // tokens) throws TqError(SubscriptOutOfRange) with the tokens stored so far kept.
    void setSource(const QString &line);

private:
    static constexpr int kSetSize = 10;
    static constexpr int kTokenSlots = 51;

    class CharSet {
    public:
        void add(const QString &entry);
        void clear();
        QString at(int index) const;
        void set(int index, const QString &entry);
        bool matches(QChar c) const;

    private:
        std::array<QString, kSetSize> m_slots;
        qint16 m_count = 0;
    };

    enum class CharKind { Ordinary, Delimiter, Quote, Comment };

    CharKind CharClass(QChar c) const;
    void Tokenize();

    QString m_source;
    std::array<QString, kTokenSlots> m_tokens;
    qint16 m_tokenCount = 0;
    bool m_doubledQuotes = false;
    CharSet m_delimiters;
    CharSet m_strings;
    CharSet m_comments;
};

} // namespace tq
