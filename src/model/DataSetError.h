#pragma once

#include <QString>
#include <stdexcept>

// A failure of a table operation: unknown field, bad conversion, forbidden state, file I/O.
// The message is Russian and meant for the user.
class DataSetError : public std::runtime_error {
public:
    explicit DataSetError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};
