#pragma once

namespace store {

class Database;

// All or nothing: begins on construction, rolls back on destruction unless commit() was
// called. Nested transactions on one connection become savepoints, so a posting function can
// open its own and still be part of the caller's operation.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& db_;
    int level_;
    bool done_ = false;
};

} // namespace store
