#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace store {

class Database;

// Identity path of a node of the operations tree: for each node from the brand down,
// "$" + id (at least 5 digits, zero padded) + "\". Operations store it in tree_path.
QString operationIdentityPath(const QList<qint64>& chainIds);
// Name path: each node name from the brand down followed by "\".
QString operationNamePath(const QStringList& chainNames);

// One-time conversion for databases whose operations carry only their Classification name
// path: walks the tree from the first node down and gives every operation whose
// Classification begins with a node's name path that node's identity path (so the deepest
// matching node wins).
void assignTreePathsFromClassification(Database& db);

} // namespace store
