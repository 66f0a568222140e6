#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace store {
class Database;
}

// Everybody who works in the workshop or logs in to the program. Employees are never deleted:
// one who leaves is marked as left, so that earnings and orders keep pointing at them.
namespace staff {

// Kinds of employee (clerks.worker).
inline constexpr int kTechnician = 0;
inline constexpr int kOtherEmployee = 1;

// The administrator created with the database: always working, always with every right.
inline constexpr qint64 kProtectedEmployeeId = 1;

// The level a new employee starts with.
inline constexpr int kNewEmployeeLevel = 2;

QString statusText(bool active);             // "Работещ" / "Напуснал"
QString kindText(std::optional<int> worker); // "Техник" / "Служител" / empty
QString duplicateNameText(); // "Служител с такова име вече е въведен!"

struct Employee {
    qint64 id = 0; // 0 until saved
    QString name;
    QString info;
    QString nick;
    double pay = 0;
    int percent = 0;
    double rateNormal = 0;   // pr_n
    double rateWarranty = 0; // pr_w
    bool active = true;
    int level = kNewEmployeeLevel;
    std::optional<int> worker;
    QString rights;
    // Whether a password is stored; the stored text itself never leaves the database layer.
    bool hasPassword = false;
};

// Working, level 2 and the level-2 rights.
Employee newEmployee();

std::optional<Employee> loadEmployee(store::Database& db, qint64 id);
// Working and departed alike, in the order they were entered.
QList<Employee> employees(store::Database& db);
// clerks.Percent, pr_n and pr_w; a null rate counts as 0.
struct TechnicianRates {
    double percent = 0;
    double normalHour = 0;   // client price of one norm hour of normal work
    double warrantyHour = 0; // credited for one norm hour the client does not pay
};

struct Technician {
    qint64 id = 0;
    QString name;
    TechnicianRates rates;
};

// The employee whose name is exactly this text.
std::optional<Technician> technicianByName(store::Database& db, const QString& name);

struct TechnicianName {
    QString name;
    bool active = false;
};
// Every technician (worker 0), working or departed, by name.
QList<TechnicianName> technicianNames(store::Database& db);

// Names of the active employees by name, for the one who made a visit.
QStringList activeEmployeeNames(store::Database& db);
// Active technicians (active, worker 0) by name, in the employee list's order.
QStringList activeTechnicianNames(store::Database& db);
QString employeeName(store::Database& db, qint64 id);
std::optional<qint64> employeeIdByName(store::Database& db, const QString& name);

// Another employee already has this name (letter case ignored).
bool nameTaken(store::Database& db, const QString& name, qint64 exceptId);

enum class SaveOutcome { Saved, DuplicateName };

// Appends (id 0; the new id is set) or changes the employee. Name and login name are saved
// without surrounding blanks; an empty or taken name is refused. A non-empty newPassword
// becomes the stored hash, an empty one keeps the stored password. The protected employee
// keeps its status, level, kind and rights whatever the record says.
SaveOutcome saveEmployee(store::Database& db, Employee& employee, const QString& newPassword);

enum class TechnicianRate { Normal, Warranty, Percent };

// Sets one rate on every working technician; departed employees and other staff keep theirs.
// Returns the number of employees changed.
int setRateOfWorkingTechnicians(store::Database& db, TechnicianRate rate, double value);

// The rights tree: one node per position of the rights string, six groups of items.
struct RightsGroup {
    int position; // the group's own node
    int first;    // its items
    int last;
};
const QList<RightsGroup>& rightsGroups();
bool isGroupPosition(int position);
QString rightCaption(int position); // positions 1..43
QString levelCaption(int level);    // levels 0..2

// Node states: '1' granted, '2' not granted, '3' a group with some items granted.
// A stored string as the tree shows it: as long as the tree, a missing or unknown state
// reading as not granted.
QString normalizedRights(const QString& stored);

// A click on a node: the node and all its items take the new state, and its group follows
// its items (all granted, none granted, or partly).
QString withRightSet(const QString& rights, int position, bool granted);

} // namespace staff
