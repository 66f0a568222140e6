#pragma once

#include <QString>
#include <optional>

namespace store {
class Database;
}

namespace shell {

// The workshop's own data: the owning company and the workshop itself (table myinfo).
struct OwnData {
    QString name;           // Name
    QString taxNumber;      // ndr, exactly 10 digits
    QString bulstat;        // bulstat, 9 or 13 characters
    QString address;        // Adres
    QString representative; // MOL
    QString serviceName;    // ServiceName
    QString serviceAddress; // ServiceAddress
    QString servicePhones;  // ServicePhones
};

// The fields in the order they are checked.
enum class OwnDataField {
    Name,
    TaxNumber,
    Bulstat,
    Address,
    Representative,
    ServiceName,
    ServiceAddress,
    ServicePhones
};

struct OwnDataProblem {
    OwnDataField field;
    QString message;
};

// Trims the texts that are trimmed on saving and returns the first problem, if any.
std::optional<OwnDataProblem> checkOwnData(OwnData& data);

// True once the own data has been saved.
bool hasOwnData(store::Database& db);
// The saved row; empty texts when there is none.
OwnData loadOwnData(store::Database& db);
// Writes the one row (creating it the first time).
void saveOwnData(store::Database& db, const OwnData& data);

} // namespace shell
