#pragma once

#include "core/errors.h"
#include "core/instrument/clsInstrument.h"
#include "core/store_context.h"
#include "logs/trend/log_list.h"

#include <QList>
#include <QString>

#include <memory>

namespace tq {

// The shape every log family's collection shares: the keyed list of its log objects, the
// instrument and the store given to new items, a selected item and two message texts. Log
// needs Key, setKey, setSeqNo, setInstrument and setContext.
template <typename Log> class TrendCollection {
public:
    using ItemPtr = std::shared_ptr<Log>;

    // clearKeepsUnkeyed: Clear passes over items whose Key is empty.
    explicit TrendCollection(bool clearKeepsUnkeyed = false)
        : m_clearKeepsUnkeyed(clearKeepsUnkeyed) {}

    // A new log object under key with SeqNo seqNos and the collection's store; it gets
    // Instruments when that is set.
    // Throws TqError(SubscriptOutOfRange) for a key already present (nothing is added).
    ItemPtr Add(const QString &key, qint64 seqNos) {
        ItemPtr item = m_items.add(key);
        item->setKey(key);
        item->setSeqNo(seqNos);
        item->setContext(m_context);
        if (m_instruments)
            item->setInstrument(m_instruments);
        return item;
    }

    // The item at position 1..Count or under key; nullptr when there is none.
    ItemPtr Item(qint64 position) const { return m_items.item(position); }
    ItemPtr Item(const QString &key) const { return m_items.item(key); }
    qint64 Count() const { return m_items.count(); }

    // Throws TqError(SubscriptOutOfRange) when the item is not there.
    void Remove(qint64 position) { m_items.remove(position); }
    void Remove(const QString &key) { m_items.remove(key); }

    // Removes the items from the last to the first.
    void Clear() {
        for (qint64 i = Count(); i >= 1; --i) {
            if (!(m_clearKeepsUnkeyed && Item(i)->Key().isEmpty()))
                Remove(i);
        }
    }

    // The items in order, for iteration.
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    std::shared_ptr<clsInstrument> Instruments() const { return m_instruments; }
    void setInstruments(std::shared_ptr<clsInstrument> instrument) {
        m_instruments = std::move(instrument);
    }
    // The store the items are decoded for; items added before a change keep theirs.
    const StoreContext &context() const { return m_context; }
    void setContext(const StoreContext &context) { m_context = context; }
    QString MessageString() const { return m_messageString; }
    void setMessageString(const QString &text) { m_messageString = text; }
    QString FailLine() const { return m_failLine; }
    void setFailLine(const QString &text) { m_failLine = text; }

    // The selected item; nullptr when none is selected. Throws TqError(SubscriptOutOfRange)
    // when the selected item has been removed.
    ItemPtr SelectedItem() const {
        if (m_selectedKey.isEmpty())
            return nullptr;
        ItemPtr item = Item(m_selectedKey);
        if (!item)
            throw TqError(ErrorKind::SubscriptOutOfRange,
                          QStringLiteral("The selected item %1 is gone").arg(m_selectedKey));
        return item;
    }
    void setSelectedItem(const ItemPtr &item) { m_selectedKey = item ? item->Key() : QString(); }

private:
    bool m_clearKeepsUnkeyed;
    LogList<Log> m_items;
    std::shared_ptr<clsInstrument> m_instruments;
    StoreContext m_context;
    QString m_messageString;
    QString m_failLine;
    QString m_selectedKey;
};

} // namespace tq
