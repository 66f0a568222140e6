#pragma once

#include <QDate>
#include <QString>
#include <functional>

namespace store {
class Database;
}

// Builds a living workshop in an empty database through the program's own operations: the
// same functions the windows call, with dates of the past. The same seed and sizes give the
// same database.
namespace demo {

struct DemoOptions {
    quint64 seed = 1;
    int years = 1;
    int ordersPerDay = 20; // on an ordinary working day; Saturdays get half
    int parts = 5000;      // size of the nomenclature
    QDate lastDay = QDate::currentDate();
};

// A login of the demo database, documented for newcomers.
struct DemoUser {
    const char* nick;
    const char* password;
    const char* role;
};
inline constexpr DemoUser kDemoUsers[] = {
    {"Administrator", "demo", "администратор, всички права"},
    {"upravitel", "demo", "управител, ниво 1"},
    {"priemna", "demo", "приемчик, ниво 2"},
};

struct Progress {
    QDate day;
    qint64 orders = 0;
    qint64 expectedOrders = 0;
};

struct GenerationSummary {
    qint64 orders = 0;
    qint64 partLines = 0;
    qint64 labourLines = 0;
    qint64 deliveries = 0;
    qint64 deliveryLines = 0;
    qint64 cars = 0;
    qint64 parts = 0;
};

// Fills db (a new, empty database) and reports progress once per simulated day.
GenerationSummary generateDemo(store::Database& db, const DemoOptions& options,
                               const std::function<void(const Progress&)>& progress = {});

} // namespace demo
