#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// A statement the engine refused. Carries the engine's own text, which windows show as is.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

} // namespace store
