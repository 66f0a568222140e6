#pragma once

class QWidget;

namespace store {
class Database;
}

namespace shell {

// Before the first login on a new database: asks for the administrator's password twice until
// the two agree and are not empty, then stores its hash. False when the user cancelled (the
// program then ends).
bool askFirstPassword(QWidget* parent, store::Database& db);

} // namespace shell
