#pragma once

#include "core/errors.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>

namespace tq {

// The keyed list of log objects inside a log collection: items in insertion order,
// reachable by their position from 1 or by their unique key text.
template <typename Log> class LogList {
public:
    using Item = std::shared_ptr<Log>;

    // Appends a new log object under key; throws TqError(SubscriptOutOfRange) when the key
    // is taken (nothing is added then).
    Item add(const QString &key) {
        if (m_positions.contains(key))
            throw TqError(ErrorKind::SubscriptOutOfRange,
                          QStringLiteral("The key \"%1\" is already in the collection").arg(key));
        Item item = std::make_shared<Log>();
        m_positions.insert(key, m_items.size());
        m_keys.append(key);
        m_items.append(item);
        return item;
    }

    // nullptr when there is no item at that position or with that key.
    Item item(qint64 position) const {
        return position >= 1 && position <= m_items.size() ? m_items[position - 1] : nullptr;
    }
    Item item(const QString &key) const {
        const auto found = m_positions.constFind(key);
        return found == m_positions.cend() ? nullptr : m_items[*found];
    }

    qint64 count() const { return m_items.size(); }
    QString keyAt(qint64 position) const { return m_keys.value(position - 1); }

    // Throws TqError(SubscriptOutOfRange) when there is no such item.
    void remove(qint64 position) {
        if (position < 1 || position > m_items.size())
            throw TqError(ErrorKind::SubscriptOutOfRange,
                          QStringLiteral("The collection has no item %1").arg(position));
        m_keys.removeAt(position - 1);
        m_items.removeAt(position - 1);
        m_positions.clear();
        for (qsizetype i = 0; i < m_keys.size(); ++i)
            m_positions.insert(m_keys[i], i);
    }
    void remove(const QString &key) {
        const auto found = m_positions.constFind(key);
        if (found == m_positions.cend())
            throw TqError(ErrorKind::SubscriptOutOfRange,
                          QStringLiteral("The collection has no item \"%1\"").arg(key));
        remove(*found + 1);
    }

    auto begin() const { return m_items.cbegin(); }
    auto end() const { return m_items.cend(); }

private:
    QList<Item> m_items;
    QList<QString> m_keys;
    QHash<QString, qsizetype> m_positions;
};

} // namespace tq
