#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

namespace store {
class Database;
}

// Registering a new repair order.
namespace orders {

enum class RepairPlace { Workshop = 0, HomeVisit = 1 };

// What the new-order window collects; texts as typed.
struct NewOrder {
    QString clientName;
    QString clientAdres;
    QString clientPhone;
    QString marka;
    QString model;
    QString modify;
    QString engine;
    QString year;
    QString regNo;
    QString couppe;
    QString km;
    QString aks;
    QString defect;
    QString note;
    int type = 0; // typeWarr: 0 non-warranty, 1 own warranty, 2 outside warranty
    QDate dueDate;
    RepairPlace place = RepairPlace::Workshop;
};

enum class OrderField {
    ClientName,
    ClientAdres,
    ClientPhone,
    Marka,
    Model,
    Year,
    RegNo,
    Km,
    DueDate
};

struct OrderProblem {
    OrderField field;
    QString message;
};

// Client texts, registration and chassis number and engine without surrounding blanks.
NewOrder trimmed(NewOrder order);

// The first required field that is empty (blanks alone count as empty), in the order the
// window checks them.
std::optional<OrderProblem> checkNewOrder(const NewOrder& order,
                                          const QDate& today = QDate::currentDate());

// Largest order number plus one; nothing on an empty table, where the user gives the first.
std::optional<qint64> proposedOrderNumber(store::Database& db);
bool orderNumberTaken(store::Database& db, qint64 number);

// Promised date for an order type: the quicker the warranty case, the sooner (today + 2 for a
// normal repair, today + 1 own warranty, today for an outside warranty).
QDate dueDateForType(const QDate& today, int type);

struct RegisteredOrder {
    qint64 number = 0;
    // The insert statement as run, with its values, for the statement viewer.
    QString statement;
};

// Inserts the order (and, for a home visit, its visit row) in one transaction. The wanted
// number is used when it is free; a taken one, or one another workstation takes meanwhile, is
// replaced by the largest number plus one. Throws store::DbError; nothing is written then.
RegisteredOrder registerOrder(store::Database& db, const NewOrder& order, qint64 wantedNumber,
                              const QDate& today);

// The statement registerOrder runs, with its values written out (read-only display).
QString insertStatementText(const NewOrder& order, qint64 number, const QDate& today);

// Fields of the most recent order of a car, used to fill a new order for the same car.
struct EarlierOrder {
    QString marka;
    QString model;
    QString modify;
    QString engine;
    QString year;
    QString clientName;
    QString clientAdres;
    QString clientPhone;
    QString couppe;
};

// The most recent order whose registration number equals regNo, ignoring letter case.
std::optional<EarlierOrder> latestOrderOfCar(store::Database& db, const QString& regNo);

struct PreviousRepair {
    qint64 number = 0;
    QDate porDate;
    QDate readyDate;
    QString typeText;
    QString state;
    QString km;
    QString defect;
    double amount = 0;
};

// Earlier orders of the car with this brand, model and registration number (letter case
// ignored), oldest first.
QList<PreviousRepair> previousRepairs(store::Database& db, const QString& marka,
                                      const QString& model, const QString& regNo);

// One line of the complaint made from a symptom code: the description, then the group and
// the code when they have a value, then ";".
QString symptomLine(const QString& description, const QVariant& group, const QVariant& code);
// The complaint with the line appended on a line of its own.
QString appendLine(const QString& text, const QString& line);

// Empties the engine-number field of every order (a maintenance command).
void blankEngineNumbers(store::Database& db);

} // namespace orders
