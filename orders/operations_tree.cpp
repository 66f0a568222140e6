#include "orders/operations_tree.h"

#include "store/database.h"
#include "store/operation_paths.h"
#include "store/sql_helpers.h"
#include "store/sql_values.h"
#include "store/transaction.h"

#include <QSet>

namespace orders {

namespace {

using store::Binds;

std::optional<TreeNode> loadNode(store::Database& db, qint64 id) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT id, parent, Classification FROM opTree "
                                         "WHERE id = :id"),
                          {{QStringLiteral("id"), id}});
    if (!q.next())
        return std::nullopt;
    return TreeNode{q.value(0).toLongLong(),
                    q.value(1).isNull() ? kNoParent : q.value(1).toLongLong(),
                    q.value(2).toString()};
}

bool siblingHasName(store::Database& db, qint64 parent, const QString& name, qint64 exceptId) {
    // Siblings compare without regard to letter case, as people read them.
    QSqlQuery q = db.exec(QStringLiteral("SELECT id, Classification FROM opTree "
                                         "WHERE coalesce(parent, -1) = :p AND id <> :id"),
                          {{QStringLiteral("p"), parent}, {QStringLiteral("id"), exceptId}});
    while (q.next()) {
        if (q.value(1).toString().trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

NodeResult refused(NodeRefusal refusal) {
    return NodeResult{std::nullopt, refusal};
}

// tree_path values begin with the node's path.
QString underPathCondition(store::Database& db, const QString& placeholder) {
    return db.dialect().caseInsensitiveLike(QStringLiteral("tree_path"), placeholder);
}

const QString kOperationColumns = QStringLiteral(
    "SELECT Code, operation, clientPrice, workerPrice, warrantyPrice, times, id FROM operations");

} // namespace

QList<TreeNode> treeNodes(store::Database& db) {
    QList<TreeNode> nodes;
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT id, parent, Classification FROM opTree ORDER BY id"));
    while (q.next())
        nodes.append({q.value(0).toLongLong(),
                      q.value(1).isNull() ? kNoParent : q.value(1).toLongLong(),
                      q.value(2).toString()});
    return nodes;
}

QList<TreeNode> nodeChain(store::Database& db, qint64 nodeId) {
    QList<TreeNode> chain;
    QSet<qint64> seen; // damaged data with a cycle must not loop forever
    std::optional<TreeNode> node = loadNode(db, nodeId);
    while (node && !seen.contains(node->id)) {
        seen.insert(node->id);
        chain.prepend(*node);
        node = node->parent == kNoParent ? std::nullopt : loadNode(db, node->parent);
    }
    return chain;
}

QString nodeIdentityPath(store::Database& db, qint64 nodeId) {
    QList<qint64> ids;
    for (const TreeNode& n : nodeChain(db, nodeId))
        ids << n.id;
    return store::operationIdentityPath(ids);
}

QString nodeNamePath(store::Database& db, qint64 nodeId) {
    QStringList names;
    for (const TreeNode& n : nodeChain(db, nodeId))
        names << n.name;
    return store::operationNamePath(names);
}

int nodeLevel(store::Database& db, qint64 nodeId) {
    return std::max<int>(0, int(nodeChain(db, nodeId).size()) - 1);
}

bool nodeHasChildren(store::Database& db, qint64 nodeId) {
    return !db.scalar(QStringLiteral("SELECT min(id) FROM opTree WHERE parent = :id"),
                      {{QStringLiteral("id"), nodeId}})
                .isNull();
}

bool nodeHasOperations(store::Database& db, qint64 nodeId) {
    const QString path = nodeIdentityPath(db, nodeId);
    if (path.isEmpty())
        return false;
    return !db.scalar(QStringLiteral("SELECT min(id) FROM operations WHERE ") +
                          underPathCondition(db, QStringLiteral(":p")),
                      {{QStringLiteral("p"), store::literalPrefixPattern(path)}})
                .isNull() ||
           !db.scalar(QStringLiteral("SELECT min(id) FROM operations WHERE idmarka = :id"),
                      {{QStringLiteral("id"), nodeId}})
                .isNull();
}

bool canDeleteNode(store::Database& db, qint64 nodeId) {
    return !nodeHasChildren(db, nodeId) && !nodeHasOperations(db, nodeId);
}

bool canAddChild(store::Database& db, qint64 nodeId) {
    return nodeLevel(db, nodeId) <= kDeepestParentLevel;
}

QString nodeNameRefusalText() {
    return QStringLiteral("Не сте въвели спецификация или \nтакава спецификация вече е въведена!");
}

NodeResult addNode(store::Database& db, qint64 parent, const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return refused(NodeRefusal::EmptyName);
    if (parent != kNoParent) {
        if (!loadNode(db, parent))
            return refused(NodeRefusal::UnknownNode);
        if (!canAddChild(db, parent))
            return refused(NodeRefusal::TooDeep);
    }
    store::Transaction tx(db);
    if (siblingHasName(db, parent, trimmed, 0))
        return refused(NodeRefusal::DuplicateName);
    const qint64 id = store::insertAndGetId(
        db, QStringLiteral("opTree"), QStringLiteral("id"),
        QStringLiteral("INSERT INTO opTree (parent, Classification) VALUES (:p, :n)"),
        {{QStringLiteral("p"), parent}, {QStringLiteral("n"), trimmed}});
    tx.commit();
    return NodeResult{id, std::nullopt};
}

NodeResult renameNode(store::Database& db, qint64 nodeId, const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return refused(NodeRefusal::EmptyName);
    const auto node = loadNode(db, nodeId);
    if (!node)
        return refused(NodeRefusal::UnknownNode);
    store::Transaction tx(db);
    if (siblingHasName(db, node->parent, trimmed, nodeId))
        return refused(NodeRefusal::DuplicateName);
    db.exec(QStringLiteral("UPDATE opTree SET Classification = :n WHERE id = :id"),
            {{QStringLiteral("n"), trimmed}, {QStringLiteral("id"), nodeId}});
    tx.commit();
    return NodeResult{nodeId, std::nullopt};
}

NodeResult deleteNode(store::Database& db, qint64 nodeId) {
    if (!loadNode(db, nodeId))
        return refused(NodeRefusal::UnknownNode);
    if (!canDeleteNode(db, nodeId))
        return refused(NodeRefusal::NotEmpty);
    db.exec(QStringLiteral("DELETE FROM opTree WHERE id = :id"), {{QStringLiteral("id"), nodeId}});
    return NodeResult{nodeId, std::nullopt};
}

NodeResult moveNode(store::Database& db, qint64 nodeId, qint64 newParent) {
    const auto node = loadNode(db, nodeId);
    if (!node || (newParent != kNoParent && !loadNode(db, newParent)))
        return refused(NodeRefusal::UnknownNode);
    if (node->parent == newParent)
        return NodeResult{nodeId, std::nullopt};
    if (newParent != kNoParent) {
        for (const TreeNode& n : nodeChain(db, newParent)) {
            if (n.id == nodeId)
                return refused(NodeRefusal::IntoItself);
        }
    }
    const QString oldPath = nodeIdentityPath(db, nodeId);
    store::Transaction tx(db);
    db.exec(QStringLiteral("UPDATE opTree SET parent = :p WHERE id = :id"),
            {{QStringLiteral("p"), newParent}, {QStringLiteral("id"), nodeId}});
    const QString newPath = nodeIdentityPath(db, nodeId);
    if (newPath != oldPath) {
        QSqlQuery q = db.exec(QStringLiteral("SELECT id, tree_path FROM operations WHERE ") +
                                  underPathCondition(db, QStringLiteral(":p")),
                              {{QStringLiteral("p"), store::literalPrefixPattern(oldPath)}});
        QList<std::pair<qint64, QString>> rewritten;
        while (q.next()) {
            QString path = q.value(1).toString();
            const qsizetype at = path.lastIndexOf(oldPath);
            path.replace(at, oldPath.size(), newPath);
            rewritten.append({q.value(0).toLongLong(), path});
        }
        for (const auto& [id, path] : rewritten)
            db.exec(QStringLiteral("UPDATE operations SET tree_path = :path WHERE id = :id"),
                    {{QStringLiteral("path"), path}, {QStringLiteral("id"), id}});
    }
    tx.commit();
    return NodeResult{nodeId, std::nullopt};
}

std::optional<Operation> loadOperation(store::Database& db, qint64 id) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT id, Code, operation, clientPrice, workerPrice, "
                                         "warrantyPrice, times, idmarka, tree_path "
                                         "FROM operations WHERE id = :id"),
                          {{QStringLiteral("id"), id}});
    if (!q.next())
        return std::nullopt;
    Operation op;
    op.id = q.value(0).toLongLong();
    op.code = q.value(1).toString();
    op.name = q.value(2).toString();
    op.clientPrice = store::amountFromDb(q.value(3));
    op.workerPrice = store::amountFromDb(q.value(4));
    op.warrantyPrice = store::amountFromDb(q.value(5));
    op.hours = store::amountFromDb(q.value(6));
    op.nodeId = q.value(7).toLongLong();
    op.treePath = q.value(8).toString();
    return op;
}

CatalogueOperation toCatalogueOperation(const Operation& op) {
    CatalogueOperation c;
    c.id = op.id;
    if (!op.code.isEmpty())
        c.code = op.code;
    c.name = op.name;
    c.clientPrice = op.clientPrice;
    c.workerPrice = op.workerPrice;
    c.warrantyPrice = op.warrantyPrice;
    c.hours = op.hours;
    return c;
}

QString operationRefusalText(OperationRefusal refusal) {
    switch (refusal) {
    case OperationRefusal::NegativePrice:
        return QStringLiteral("Не може да въвеждате отрицателни стойности!");
    case OperationRefusal::CodeTaken:
        return QStringLiteral("Такъв код вече е въведен!");
    case OperationRefusal::EmptyName:
        return QStringLiteral("Въведете наименование на операцията!");
    }
    return {};
}

std::optional<OperationRefusal> saveOperation(store::Database& db, Operation& op, qint64 nodeId,
                                              OperationCheck check) {
    if (check.checkSigns && (op.clientPrice < 0 || op.workerPrice < 0))
        return OperationRefusal::NegativePrice;
    op.code = op.code.trimmed();
    op.name = op.name.trimmed();
    store::Transaction tx(db);
    if (!op.code.isEmpty() &&
        !db.scalar(QStringLiteral("SELECT min(id) FROM operations WHERE Code = :c AND id <> :id"),
                   {{QStringLiteral("c"), op.code}, {QStringLiteral("id"), op.id}})
             .isNull())
        return OperationRefusal::CodeTaken;
    if (op.name.isEmpty())
        return OperationRefusal::EmptyName;
    op.nodeId = nodeId;
    op.treePath = nodeIdentityPath(db, nodeId);
    const Binds values{{QStringLiteral("code"), op.code.isEmpty() ? QVariant() : QVariant(op.code)},
                       {QStringLiteral("name"), op.name},
                       {QStringLiteral("cp"), op.clientPrice},
                       {QStringLiteral("wp"), op.workerPrice},
                       {QStringLiteral("gp"), op.warrantyPrice},
                       {QStringLiteral("t"), op.hours},
                       {QStringLiteral("node"), nodeId},
                       {QStringLiteral("path"), op.treePath}};
    if (op.id == 0) {
        op.id = store::insertAndGetId(
            db, QStringLiteral("operations"), QStringLiteral("id"),
            QStringLiteral("INSERT INTO operations (Code, operation, clientPrice, workerPrice, "
                           "warrantyPrice, times, idmarka, tree_path) "
                           "VALUES (:code, :name, :cp, :wp, :gp, :t, :node, :path)"),
            values);
    } else {
        Binds binds = values;
        binds.insert(QStringLiteral("id"), op.id);
        db.exec(QStringLiteral("UPDATE operations SET Code = :code, operation = :name, "
                               "clientPrice = :cp, workerPrice = :wp, warrantyPrice = :gp, "
                               "times = :t, idmarka = :node, tree_path = :path WHERE id = :id"),
                binds);
    }
    tx.commit();
    return std::nullopt;
}

void deleteOperations(store::Database& db, const QList<qint64>& ids) {
    store::Transaction tx(db);
    for (const qint64 id : ids)
        db.exec(QStringLiteral("DELETE FROM operations WHERE id = :id"),
                {{QStringLiteral("id"), id}});
    tx.commit();
}

void moveOperations(store::Database& db, const QList<qint64>& ids, qint64 nodeId) {
    const QString path = nodeIdentityPath(db, nodeId);
    if (path.isEmpty())
        return;
    store::Transaction tx(db);
    for (const qint64 id : ids)
        db.exec(QStringLiteral("UPDATE operations SET idmarka = :node, tree_path = :path "
                               "WHERE id = :id"),
                {{QStringLiteral("node"), nodeId},
                 {QStringLiteral("path"), path},
                 {QStringLiteral("id"), id}});
    tx.commit();
}

void setOperationPrice(store::Database& db, qint64 id, PriceColumn column, double value) {
    static const char* const columns[] = {"clientPrice", "workerPrice", "warrantyPrice", "times"};
    db.exec(QStringLiteral("UPDATE operations SET %1 = :v WHERE id = :id")
                .arg(QString::fromLatin1(columns[static_cast<int>(column)])),
            {{QStringLiteral("v"), value}, {QStringLiteral("id"), id}});
}

OperationsQuery operationsUnderNode(store::Database& db, qint64 nodeId) {
    return {kOperationColumns + QStringLiteral(" WHERE ") +
                underPathCondition(db, QStringLiteral(":p")) +
                QStringLiteral(" ORDER BY operation, id"),
            {{QStringLiteral("p"), store::literalPrefixPattern(nodeIdentityPath(db, nodeId))}}};
}

OperationsQuery allOperations() {
    return {kOperationColumns + QStringLiteral(" ORDER BY tree_path, operation, id"), {}};
}

OperationsQuery operationsByCode(store::Database& db, const QString& text) {
    return {kOperationColumns + QStringLiteral(" WHERE ") +
                db.dialect().caseInsensitiveLike(QStringLiteral("Code"), QStringLiteral(":c")) +
                QStringLiteral(" ORDER BY Code, id"),
            {{QStringLiteral("c"), store::asTypedPattern(text)}}};
}

} // namespace orders
