#pragma once

#include <QString>

#include <stdexcept>

namespace tq {

// What went wrong, for callers that react to a particular failure (a missing message,
// an index out of range, a number that does not fit its type, ...).
enum class ErrorKind {
    Overflow,            // a number does not fit the type it is converted to
    SubscriptOutOfRange, // an index outside an indexed member's range
    TypeMismatch,        // a text that had to be a number is not one
    MissingResource,     // a message id that the message table does not hold
    File,                // a file could not be created, opened, written or found in time
    Database,            // the database refused a statement or could not be opened
};

// The one exception type of the program's non-GUI code. Functions that "pass a failure
// to the caller" throw it; the boundaries that trap failures catch it.
class TqError : public std::runtime_error {
public:
    TqError(ErrorKind kind, const QString &message)
        : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message) {}

    ErrorKind kind() const { return m_kind; }
    const QString &message() const { return m_message; }

private:
    ErrorKind m_kind;
    QString m_message;
};

// The reason a failure gives, for a message that reports it.
inline QString ErrorText(const std::exception &e) {
    if (const auto *error = dynamic_cast<const TqError *>(&e))
        return error->message();
    return QString::fromLocal8Bit(e.what());
}

} // namespace tq
