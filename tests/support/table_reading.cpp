#include "support/table_reading.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace testing {

int count(store::Database& db, const QString& sql, const store::Binds& binds) {
    return db.scalar(sql, binds).toInt();
}

int rowCount(store::Database& db, const QString& table) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM ") + table).toInt();
}

QList<QVariantList> rows(store::Database& db, const QString& sql) {
    QSqlQuery q = db.exec(sql);
    QList<QVariantList> all;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i);
        all << row;
    }
    return all;
}

int stockOf(store::Database& db, qint64 partId) {
    return db
        .scalar(QStringLiteral("SELECT amnt FROM parts WHERE id = :id"),
                {{QStringLiteral("id"), partId}})
        .toInt();
}

} // namespace testing
