#include "store/transaction.h"

#include "store/database.h"

namespace store {

namespace {
QString savepointName(int level) {
    return QStringLiteral("sp_%1").arg(level);
}
} // namespace

Transaction::Transaction(Database& db) : db_(db), level_(db.transactionDepth()) {
    if (level_ == 0)
        db_.exec(db_.dialect().beginTransaction());
    else
        db_.exec(QStringLiteral("SAVEPOINT ") + savepointName(level_));
    ++db_.transactionDepth();
}

Transaction::~Transaction() {
    if (done_)
        return;
    --db_.transactionDepth();
    try {
        if (level_ == 0) {
            db_.exec(QStringLiteral("ROLLBACK"));
        } else {
            db_.exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + savepointName(level_));
            db_.exec(QStringLiteral("RELEASE SAVEPOINT ") + savepointName(level_));
        }
    } catch (const DbError&) {
        // The engine may already have ended the transaction after an error; nothing to undo.
    }
}

void Transaction::commit() {
    if (done_)
        return;
    if (level_ == 0)
        db_.exec(QStringLiteral("COMMIT"));
    else
        db_.exec(QStringLiteral("RELEASE SAVEPOINT ") + savepointName(level_));
    done_ = true;
    --db_.transactionDepth();
}

} // namespace store
