#include "core/clsToken.h"

#include "core/errors.h"

namespace tq {

void clsToken::CharSet::add(const QString &entry) {
    if (m_count < kSetSize)
        m_slots[m_count++] = entry;
}

void clsToken::CharSet::clear() {
    m_slots.fill(QString());
    m_count = 0;
}

QString clsToken::CharSet::at(int index) const {
    return index >= 0 && index < m_count ? m_slots[index] : QString();
}

void clsToken::CharSet::set(int index, const QString &entry) {
    if (index >= 0 && index < kSetSize)
        m_slots[index] = entry;
}

bool clsToken::CharSet::matches(QChar c) const {
    for (int i = 0; i < m_count; ++i) {
        if (m_slots[i].size() == 1 && m_slots[i].at(0) == c)
            return true;
    }
    return false;
}

void clsToken::AddDelimiters(const QString &DelimChara) {
    m_delimiters.add(DelimChara);
}
void clsToken::AddStrings(const QString &DelimChara) {
    m_strings.add(DelimChara);
}
void clsToken::AddComments(const QString &DelimChara) {
    m_comments.add(DelimChara);
}

void clsToken::ClearDelimiters() {
    m_delimiters.clear();
}
void clsToken::ClearStrings() {
    m_strings.clear();
}
void clsToken::ClearComments() {
    m_comments.clear();
}

QString clsToken::Delimiters(int Index) const {
    return m_delimiters.at(Index);
}
void clsToken::setDelimiters(int Index, const QString &value) {
    m_delimiters.set(Index, value);
}
QString clsToken::StringRanges(int Index) const {
    return m_strings.at(Index);
}
void clsToken::setStringRanges(int Index, const QString &value) {
    m_strings.set(Index, value);
}
QString clsToken::Comments(int Index) const {
    return m_comments.at(Index);
}
void clsToken::setComments(int Index, const QString &value) {
    m_comments.set(Index, value);
}

QString clsToken::Tokens(int IndexNo) const {
    // Every slot a split can fill is handed out, the 51st token of a full line too.
    return IndexNo >= 0 && IndexNo < kTokenSlots ? m_tokens[IndexNo] : QString();
}

void clsToken::setTokens(int IndexNo, const QString &value) {
    if (IndexNo < 0 || IndexNo >= kTokenSlots)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("Token index %1 is out of range").arg(IndexNo));
    m_tokens[IndexNo] = value;
}

void clsToken::setSource(const QString &line) {
    m_source = line;
    Tokenize();
}

// A character in several sets counts as comment before quote before delimiter.
clsToken::CharKind clsToken::CharClass(QChar c) const {
    if (m_comments.matches(c))
        return CharKind::Comment;
    if (m_strings.matches(c))
        return CharKind::Quote;
    if (m_delimiters.matches(c))
        return CharKind::Delimiter;
    return CharKind::Ordinary;
}

void clsToken::Tokenize() {
    m_tokenCount = 0;
    QString pending;
    bool inQuotes = false;

    const auto store = [this](const QString &token) {
        setTokens(m_tokenCount, token);
        ++m_tokenCount;
    };

    for (qsizetype i = 0; i < m_source.size(); ++i) {
        const QChar c = m_source.at(i);
        const CharKind kind = CharClass(c);
        if (inQuotes && kind != CharKind::Quote) {
            pending += c;
            continue;
        }
        switch (kind) {
        case CharKind::Delimiter:
            if (!pending.isEmpty())
                store(pending);
            pending.clear();
            break;
        case CharKind::Quote:
            if (inQuotes && m_doubledQuotes && i + 1 < m_source.size() && m_source.at(i + 1) == c) {
                pending += c; // a doubled quote inside quotes stands for itself
                ++i;
                break;
            }
            // Any quote character closes; a closing quote always ends a token, even an
            // empty one. Text gathered before an opening quote is dropped.
            if (inQuotes)
                store(pending);
            inQuotes = !inQuotes;
            pending.clear();
            break;
        case CharKind::Comment:
            // The comment text goes into the next slot without counting as a token.
            setTokens(m_tokenCount, m_source.mid(i + 1));
            return;
        case CharKind::Ordinary:
            pending += c;
            break;
        }
    }
    if (!pending.isEmpty())
        store(pending);
}

} // namespace tq
