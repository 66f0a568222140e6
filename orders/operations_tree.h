#pragma once

#include "orders/labour_pricing.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace store {
class Database;
}

// The catalogue of work operations: a tree of classifications under the car brands, each
// operation hanging at one node and carrying that node's identity path in tree_path.
namespace orders {

inline constexpr qint64 kNoParent = -1;
// A node at this level (brand = 0) takes no children.
inline constexpr int kDeepestParentLevel = 4;

struct TreeNode {
    qint64 id = 0;
    qint64 parent = kNoParent;
    QString name;
};

// Every node, children after their parents are not guaranteed: ordered by id.
QList<TreeNode> treeNodes(store::Database& db);

// The chain from the brand down to the node (the node last). Empty for an unknown node.
QList<TreeNode> nodeChain(store::Database& db, qint64 nodeId);
QString nodeIdentityPath(store::Database& db, qint64 nodeId);
QString nodeNamePath(store::Database& db, qint64 nodeId);
// Brand level is 0.
int nodeLevel(store::Database& db, qint64 nodeId);

bool nodeHasChildren(store::Database& db, qint64 nodeId);
// Operations at the node or anywhere below it.
bool nodeHasOperations(store::Database& db, qint64 nodeId);
bool canDeleteNode(store::Database& db, qint64 nodeId);
bool canAddChild(store::Database& db, qint64 nodeId);

enum class NodeRefusal {
    EmptyName,
    DuplicateName, // a sibling already has the name
    NotEmpty,      // children or operations
    TooDeep,
    IntoItself, // a node cannot move under itself or its own descendants
    UnknownNode,
};

// "Не сте въвели спецификация или \nтакава спецификация вече е въведена!"
QString nodeNameRefusalText();

struct NodeResult {
    std::optional<qint64> id;
    std::optional<NodeRefusal> refusal;
    bool ok() const { return !refusal.has_value(); }
};

// The name is trimmed; an empty name or one a sibling has is refused.
NodeResult addNode(store::Database& db, qint64 parent, const QString& name);
NodeResult renameNode(store::Database& db, qint64 nodeId, const QString& name);
NodeResult deleteNode(store::Database& db, qint64 nodeId);
// Re-parents the node; every operation of its subtree gets the node's new identity path in
// place of the old one, in one transaction.
NodeResult moveNode(store::Database& db, qint64 nodeId, qint64 newParent);

// Operations --------------------------------------------------------------------------------

struct Operation {
    qint64 id = 0;  // 0: not saved yet
    QString code{}; // empty: no code
    QString name{};
    double clientPrice = 0;
    double workerPrice = 0;
    double warrantyPrice = 0;
    double hours = 0;
    qint64 nodeId = 0;
    QString treePath{};
};

std::optional<Operation> loadOperation(store::Database& db, qint64 id);
CatalogueOperation toCatalogueOperation(const Operation& op);

enum class OperationRefusal { NegativePrice, CodeTaken, EmptyName };

struct OperationCheck {
    // Prices are checked for sign only while the technician price can be typed.
    bool checkSigns = true;
};

// Trims code and name, checks them and saves the operation under the node (new or moved
// there). op.id is set on success.
std::optional<OperationRefusal> saveOperation(store::Database& db, Operation& op, qint64 nodeId,
                                              OperationCheck check = {});
QString operationRefusalText(OperationRefusal refusal);

void deleteOperations(store::Database& db, const QList<qint64>& ids);
// Operations dropped on a node move to it.
void moveOperations(store::Database& db, const QList<qint64>& ids, qint64 nodeId);

// The price columns that can be typed into the list.
enum class PriceColumn { Client, Worker, Warranty, Hours };
void setOperationPrice(store::Database& db, qint64 id, PriceColumn column, double value);

// The statement of the list and its values: the operations at and below a node, every
// operation, or the codes matching a search text ("*" is the wildcard, none is added).
struct OperationsQuery {
    QString sql;
    QVariantMap binds;
};
OperationsQuery operationsUnderNode(store::Database& db, qint64 nodeId);
OperationsQuery allOperations();
OperationsQuery operationsByCode(store::Database& db, const QString& text);

} // namespace orders
