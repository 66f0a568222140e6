#include "store/operation_paths.h"

#include "store/database.h"
#include "store/sql_helpers.h"

#include <QHash>
#include <functional>

namespace store {

QString operationIdentityPath(const QList<qint64>& chainIds) {
    QString path;
    for (const qint64 id : chainIds)
        path += QStringLiteral("$%1\\").arg(id, 5, 10, QLatin1Char('0'));
    return path;
}

QString operationNamePath(const QStringList& chainNames) {
    QString path;
    for (const QString& name : chainNames)
        path += name + QLatin1Char('\\');
    return path;
}

void assignTreePathsFromClassification(Database& db) {
    struct Node {
        qint64 id;
        QString name;
    };
    QHash<qint64, QList<Node>> children;
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT id, parent, Classification FROM opTree ORDER BY id"));
    QHash<qint64, bool> known;
    QList<std::pair<qint64, Node>> rows;
    while (q.next()) {
        const qint64 id = q.value(0).toLongLong();
        const qint64 parent = q.value(1).isNull() ? -1 : q.value(1).toLongLong();
        rows.append({parent, Node{id, q.value(2).toString()}});
        known.insert(id, true);
    }
    for (const auto& [parent, node] : rows) // a node whose parent is gone counts as top level
        children[known.contains(parent) ? parent : -1].append(node);

    const QString update = QStringLiteral("UPDATE operations SET tree_path = :path WHERE ") +
                           db.dialect().caseInsensitiveLike(QStringLiteral("Classification"),
                                                            QStringLiteral(":prefix"));
    std::function<void(qint64, QList<qint64>, QStringList)> visit =
        [&](qint64 parent, QList<qint64> ids, QStringList names) {
            for (const Node& node : children.value(parent)) {
                if (ids.contains(node.id)) // a cycle in damaged data; do not loop forever
                    continue;
                QList<qint64> chainIds = ids;
                QStringList chainNames = names;
                chainIds << node.id;
                chainNames << node.name;
                db.exec(update, {{QStringLiteral("path"), operationIdentityPath(chainIds)},
                                 {QStringLiteral("prefix"),
                                  literalPrefixPattern(operationNamePath(chainNames))}});
                visit(node.id, chainIds, chainNames);
            }
        };
    visit(-1, {}, {});
}

} // namespace store
