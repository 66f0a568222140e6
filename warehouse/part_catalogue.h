#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace store {
class Database;
}

// The nomenclature: one row per kind of part, with its type and maker. Stock and prices are
// not edited here (see stock.h and delivery.h).
namespace warehouse {

struct Part {
    qint64 id = 0;  // 0 for a part not saved yet
    QString part{}; // designation
    QString partNo{};
    QString catalogs{};
    QString opis{};
    QString barcode{};
    std::optional<qint64> typeId{};
    std::optional<qint64> makerId{};
    // Read-only here.
    int amnt = 0;
    double inPrice = 0;
    int ipVal = 1;
    double outPrice = 0;
    double salePrice = 0;
    int opVal = 1;
    QString type{}; // looked-up names, for display
    QString maker{};
};

enum class PartField { Designation, Type, Maker, Barcode };
enum class PartProblemKind { NoDesignation, NoType, NoMaker, BarcodeTaken, AlreadyEntered };

struct PartProblem {
    PartProblemKind kind;
    PartField field;
    QString message;
};

// Mandatory fields, a barcode no other part has, and no other part with the same designation,
// maker and type. The part's own row does not count against it.
std::optional<PartProblem> checkPart(store::Database& db, const Part& part);

// Trims the designation, checks the part and appends (id 0) or changes it; part.id is set on
// success. Stock and prices are left as they are. Throws DbError when the database refuses.
std::optional<PartProblem> savePart(store::Database& db, Part& part);

std::optional<Part> loadPart(store::Database& db, qint64 id);
std::optional<qint64> partIdByBarcode(store::Database& db, const QString& barcode,
                                      bool inStockOnly = false);

// Part types (typeParts.Type) and part makers (partMarka.Marka): short lists of unique names.
struct NameList {
    const char* table;
    const char* column;
};
inline constexpr NameList kPartTypes{"typeParts", "Type"};
inline constexpr NameList kPartMakers{"partMarka", "Marka"};

struct NamedEntry {
    qint64 id = 0;
    QString name;
};

QList<NamedEntry> namesOf(store::Database& db, const NameList& list); // by name
// Appends (id 0) or renames an entry; std::nullopt when another entry has that name. The name
// is trimmed; an empty name is the caller's to refuse.
std::optional<qint64> saveName(store::Database& db, const NameList& list, qint64 id,
                               const QString& name);
QString nameOf(store::Database& db, const NameList& list, qint64 id);

} // namespace warehouse
