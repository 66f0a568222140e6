#pragma once

#include "shell/session.h"

#include <QString>
#include <optional>

namespace store {
class Database;
}

namespace shell {

// The login name the dialog proposes the first time on a computer.
inline const QString kFirstLoginName = QStringLiteral("Administrator");

QString wrongLoginText();  // "Грешно име и/или парола. Опитайте пак"
QString lastFailureText(); // "Сгрешихте 3 пъти. Довиждане"

// The active employee whose login name and password are exactly these (letter case counts).
// When several employees match, the one read last (highest id) wins. A password still kept in
// plain text is replaced by its hash once it has matched.
std::optional<LoggedInUser> findLogin(store::Database& db, const QString& nick,
                                      const QString& password);

// The login of one run: empty fields are not counted; the third failure ends it.
class LoginAttempts {
public:
    static constexpr int kAllowedFailures = 3;

    enum class Outcome {
        EmptyPassword,   // nothing checked, focus the password
        EmptyName,       // nothing checked, focus the name
        LoggedIn,        // user() holds the employee
        Refused,         // wrong name or password, try again
        TooManyFailures, // the third failure: the program ends
    };

    // Blanks around both texts are ignored.
    Outcome submit(store::Database& db, const QString& nick, const QString& password);

    int failures() const { return failures_; }
    const std::optional<LoggedInUser>& user() const { return user_; }

private:
    int failures_ = 0;
    std::optional<LoggedInUser> user_;
};

// A database in which no employee has a password yet (a new one): the administrator's
// password is set before the first login.
bool needsFirstPassword(store::Database& db);

// Why the two typed passwords cannot become the first password; nothing when they can.
std::optional<QString> firstPasswordProblem(const QString& password, const QString& repeated);

// Stores the hash of the administrator's (clerks.id 1) first password and gives the
// administrator the login name "Administrator" when it has none. Returns false, writing
// nothing, when some employee already has a password.
bool setFirstPassword(store::Database& db, const QString& password);

} // namespace shell
