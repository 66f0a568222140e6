#include "shell/login.h"

#include "shell/password_hash.h"
#include "store/database.h"
#include "store/transaction.h"

namespace shell {

QString wrongLoginText() {
    return QStringLiteral("Грешно име и/или парола. Опитайте пак");
}

QString lastFailureText() {
    return QStringLiteral("Сгрешихте 3 пъти. Довиждане");
}

std::optional<LoggedInUser> findLogin(store::Database& db, const QString& nick,
                                      const QString& password) {
    // Names are compared here rather than in SQL so that letter case counts on every engine.
    QSqlQuery q = db.exec(QStringLiteral("SELECT id, Nick, Password, Name, preferences FROM clerks "
                                         "WHERE Active = :active ORDER BY id"),
                          {{QStringLiteral("active"), true}});
    std::optional<LoggedInUser> found;
    QString foundStored;
    while (q.next()) {
        if (q.value(1).toString() != nick)
            continue;
        const QString stored = q.value(2).toString();
        if (!passwordMatches(stored, password))
            continue;
        found = LoggedInUser{q.value(0).toInt(), q.value(1).toString(), q.value(3).toString(),
                             q.value(4).toString()};
        foundStored = stored;
    }
    if (found && hashNeedsRenewal(foundStored)) {
        db.exec(
            QStringLiteral("UPDATE clerks SET Password = :hash WHERE id = :id"),
            {{QStringLiteral("hash"), hashPassword(password)}, {QStringLiteral("id"), found->id}});
    }
    return found;
}

LoginAttempts::Outcome LoginAttempts::submit(store::Database& db, const QString& nick,
                                             const QString& password) {
    const QString name = nick.trimmed();
    const QString pass = password.trimmed();
    if (pass.isEmpty())
        return Outcome::EmptyPassword;
    if (name.isEmpty())
        return Outcome::EmptyName;
    user_ = findLogin(db, name, pass);
    if (user_)
        return Outcome::LoggedIn;
    ++failures_;
    return failures_ >= kAllowedFailures ? Outcome::TooManyFailures : Outcome::Refused;
}

bool needsFirstPassword(store::Database& db) {
    const int withPassword =
        db.scalar(QStringLiteral("SELECT count(*) FROM clerks "
                                 "WHERE Password IS NOT NULL AND Password <> ''"))
            .toInt();
    const int administrators =
        db.scalar(QStringLiteral("SELECT count(*) FROM clerks WHERE id = 1")).toInt();
    return withPassword == 0 && administrators == 1;
}

std::optional<QString> firstPasswordProblem(const QString& password, const QString& repeated) {
    if (password.trimmed().isEmpty())
        return QStringLiteral("Паролата не може да бъде празна!");
    if (password.trimmed() != repeated.trimmed())
        return QStringLiteral("Двете пароли не съвпадат. Опитайте пак");
    return std::nullopt;
}

bool setFirstPassword(store::Database& db, const QString& password) {
    const QString hash = hashPassword(password.trimmed());
    store::Transaction transaction(db);
    // Checked inside the transaction so that two computers starting a new database at once
    // cannot both set it.
    if (!needsFirstPassword(db))
        return false;
    db.exec(QStringLiteral("UPDATE clerks SET Password = :hash, "
                           "Nick = CASE WHEN Nick IS NULL OR Nick = '' THEN :nick ELSE Nick END "
                           "WHERE id = 1"),
            {{QStringLiteral("hash"), hash}, {QStringLiteral("nick"), kFirstLoginName}});
    transaction.commit();
    return true;
}

} // namespace shell
