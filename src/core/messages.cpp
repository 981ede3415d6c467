#include "core/messages.h"

#include "core/errors.h"

#include <QFile>
#include <QHash>
#include <QLocale>

#include <utility>

// Resources of a static library are registered by hand, outside any namespace.
static void initMessageResource() {
    Q_INIT_RESOURCE(messages);
}

namespace tq {

namespace {

struct MessageTexts {
    QString english;
    QString japanese;
};

// The catalogue: "id<TAB>English<TAB>Japanese" lines, "#" lines are remarks.
QHash<int, MessageTexts> loadCatalogue() {
    initMessageResource();
    QHash<int, MessageTexts> table;
    QFile file(QStringLiteral(":/tq6200/messages.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList cells = line.split(QLatin1Char('\t'));
        bool ok = false;
        const int id = cells.value(0).toInt(&ok);
        if (ok && cells.size() >= 3)
            table.insert(id, {cells.at(1), cells.at(2)});
    }
    return table;
}

const QHash<int, MessageTexts> &catalogue() {
    static const QHash<int, MessageTexts> table = loadCatalogue();
    return table;
}

// The language is fixed for the run, chosen by the system locale.
bool japaneseLocale() {
    static const bool japanese = QLocale::system().language() == QLocale::Japanese;
    return japanese;
}

} // namespace

MessageParam::MessageParam(double value) : m_text(QLocale::system().toString(value, 'g', 15)) {
    m_text.remove(QLocale::system().groupSeparator());
}

MessageParam::MessageParam(float value) : m_text(QLocale::system().toString(value, 'g', 7)) {
    m_text.remove(QLocale::system().groupSeparator());
}

QString LoadMessage(int id, std::initializer_list<MessageParam> params) {
    const auto found = catalogue().constFind(id);
    const QString *text = nullptr;
    if (found != catalogue().constEnd())
        text = japaneseLocale() ? &found->japanese : &found->english;
    if (!text || text->isEmpty())
        throw TqError(ErrorKind::MissingResource,
                      QStringLiteral("Message %1 is not in the message table.").arg(id));

    return ExpandMessageText(*text, params);
}

QString ExpandMessageText(const QString &text, std::initializer_list<MessageParam> params) {
    QString result;
    result.reserve(text.size() + 32);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('~')) {
            result += c;
            continue;
        }
        if (++i >= text.size())
            break; // a tilde that ends the text is dropped
        const QChar mark = text.at(i);
        if (mark == QLatin1Char('c') || mark == QLatin1Char('C')) {
            result += QLatin1String("\r\n");
        } else if (mark == QLatin1Char('t') || mark == QLatin1Char('T')) {
            result += QLatin1Char('\t');
        } else if (mark.isDigit() && mark.unicode() < 128) {
            const int n = mark.unicode() - '0';
            if (n >= 1 && static_cast<size_t>(n) <= params.size())
                result += std::data(params)[n - 1].text();
        }
    }
    return result;
}

bool JapaneseActive() {
    return LoadMessage(101) == QLatin1String("JP");
}

} // namespace tq
