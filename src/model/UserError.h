#pragma once

#include <QString>
#include <stdexcept>

// The base of every failure whose text is meant for the user: the message is Russian and
// shown as it is, so no handler has to guess the encoding of what().
class UserError : public std::runtime_error {
public:
    explicit UserError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};
