#include "staff/employees.h"

#include "shell/password_hash.h"
#include "store/database.h"
#include "store/rights.h"
#include "store/sql_helpers.h"
#include "store/sql_values.h"

#include <QSqlQuery>

namespace staff {

namespace {

constexpr QChar kGranted = QLatin1Char('1');
constexpr QChar kNotGranted = QLatin1Char('2');
constexpr QChar kPartly = QLatin1Char('3');

const QString kColumns = QStringLiteral(
    "id, Name, Info, Nick, Pay, Percent, pr_n, pr_w, Active, Nivo, worker, preferences, "
    "Password");

Employee fromRow(const QSqlQuery& q) {
    Employee e;
    e.id = q.value(0).toLongLong();
    e.name = q.value(1).toString();
    e.info = q.value(2).toString();
    e.nick = q.value(3).toString();
    e.pay = q.value(4).toDouble();
    e.percent = q.value(5).toInt();
    e.rateNormal = q.value(6).toDouble();
    e.rateWarranty = q.value(7).toDouble();
    e.active = q.value(8).toBool();
    e.level = q.value(9).isNull() ? kNewEmployeeLevel : q.value(9).toInt();
    if (!q.value(10).isNull())
        e.worker = q.value(10).toInt();
    e.rights = q.value(11).toString();
    e.hasPassword = !q.value(12).toString().isEmpty();
    return e;
}

QVariant nullableInt(std::optional<int> value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<int>());
}

store::Binds bindsOf(const Employee& e) {
    return {
        {QStringLiteral("name"), e.name},        {QStringLiteral("info"), e.info},
        {QStringLiteral("nick"), e.nick},        {QStringLiteral("pay"), e.pay},
        {QStringLiteral("percent"), e.percent},  {QStringLiteral("prn"), e.rateNormal},
        {QStringLiteral("prw"), e.rateWarranty}, {QStringLiteral("active"), e.active},
        {QStringLiteral("nivo"), e.level},       {QStringLiteral("worker"), nullableInt(e.worker)},
        {QStringLiteral("rights"), e.rights}};
}

void insertEmployee(store::Database& db, Employee& e, const QString& hash) {
    store::Binds binds = bindsOf(e);
    binds.insert(QStringLiteral("password"),
                 hash.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(hash));
    e.id = store::insertAndGetId(
        db, QStringLiteral("clerks"), QStringLiteral("id"),
        QStringLiteral("INSERT INTO clerks (Name, Info, Nick, Pay, Percent, pr_n, pr_w, Active, "
                       "Nivo, worker, preferences, Password) VALUES (:name, :info, :nick, :pay, "
                       ":percent, :prn, :prw, :active, :nivo, :worker, :rights, :password)"),
        binds);
}

void updateEmployee(store::Database& db, const Employee& e, const QString& hash) {
    QString assignments = QStringLiteral("Name = :name, Info = :info, Nick = :nick, Pay = :pay, "
                                         "Percent = :percent, pr_n = :prn, pr_w = :prw");
    store::Binds binds = bindsOf(e);
    // The administrator stays working, keeps its kind and every right.
    if (e.id != kProtectedEmployeeId) {
        assignments += QStringLiteral(
            ", Active = :active, Nivo = :nivo, worker = :worker, preferences = :rights");
    } else {
        for (const char* key : {"active", "nivo", "worker", "rights"})
            binds.remove(QString::fromLatin1(key));
    }
    if (!hash.isEmpty()) {
        assignments += QStringLiteral(", Password = :password");
        binds.insert(QStringLiteral("password"), hash);
    }
    binds.insert(QStringLiteral("id"), e.id);
    db.exec(QStringLiteral("UPDATE clerks SET %1 WHERE id = :id").arg(assignments), binds);
}

} // namespace

QString statusText(bool active) {
    return active ? QStringLiteral("Работещ") : QStringLiteral("Напуснал");
}

QString kindText(std::optional<int> worker) {
    if (!worker)
        return {};
    if (*worker == kTechnician)
        return QStringLiteral("Техник");
    if (*worker == kOtherEmployee)
        return QStringLiteral("Служител");
    return {};
}

QString duplicateNameText() {
    return QStringLiteral("Служител с такова име вече е въведен!");
}

Employee newEmployee() {
    Employee e;
    e.active = true;
    e.level = kNewEmployeeLevel;
    e.rights = *store::rightsPresetForLevel(kNewEmployeeLevel);
    return e;
}

std::optional<Employee> loadEmployee(store::Database& db, qint64 id) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT %1 FROM clerks WHERE id = :id").arg(kColumns),
                          {{QStringLiteral("id"), id}});
    if (!q.next())
        return std::nullopt;
    return fromRow(q);
}

QList<Employee> employees(store::Database& db) {
    QList<Employee> list;
    QSqlQuery q = db.exec(QStringLiteral("SELECT %1 FROM clerks ORDER BY id").arg(kColumns));
    while (q.next())
        list.append(fromRow(q));
    return list;
}

bool nameTaken(store::Database& db, const QString& name, qint64 exceptId) {
    // A handful of rows: compared here so that Cyrillic letter case is ignored too.
    QSqlQuery q = db.exec(QStringLiteral("SELECT id, Name FROM clerks"));
    while (q.next()) {
        if (q.value(0).toLongLong() != exceptId &&
            q.value(1).toString().trimmed().compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

SaveOutcome saveEmployee(store::Database& db, Employee& employee, const QString& newPassword) {
    employee.name = employee.name.trimmed();
    employee.nick = employee.nick.trimmed();
    if (employee.name.isEmpty() || nameTaken(db, employee.name, employee.id))
        return SaveOutcome::DuplicateName;
    const QString password = newPassword.trimmed();
    const QString hash = password.isEmpty() ? QString() : shell::hashPassword(password);
    try {
        if (employee.id == 0)
            insertEmployee(db, employee, hash);
        else
            updateEmployee(db, employee, hash);
    } catch (const store::DbError&) {
        // Another workstation may have saved the name in the meantime.
        if (nameTaken(db, employee.name, employee.id))
            return SaveOutcome::DuplicateName;
        throw;
    }
    if (!hash.isEmpty())
        employee.hasPassword = true;
    return SaveOutcome::Saved;
}

int setRateOfWorkingTechnicians(store::Database& db, TechnicianRate rate, double value) {
    const QString column = rate == TechnicianRate::Normal     ? QStringLiteral("pr_n")
                           : rate == TechnicianRate::Warranty ? QStringLiteral("pr_w")
                                                              : QStringLiteral("Percent");
    const QVariant bound =
        rate == TechnicianRate::Percent ? QVariant(qRound(value)) : QVariant(value);
    QSqlQuery q = db.exec(
        QStringLiteral("UPDATE clerks SET %1 = :value WHERE Active = :working AND worker = :kind")
            .arg(column),
        {{QStringLiteral("value"), bound},
         {QStringLiteral("working"), true},
         {QStringLiteral("kind"), kTechnician}});
    return q.numRowsAffected();
}

const QList<RightsGroup>& rightsGroups() {
    using store::Right;
    // A group's items follow its own node up to its last item.
    auto group = [](Right node, Right last) {
        return RightsGroup{store::position(node), store::position(node) + 1, store::position(last)};
    };
    static const QList<RightsGroup> groups = {group(Right::AdministrationGroup, Right::Restore),
                                              group(Right::RegistersGroup, Right::OwnData),
                                              group(Right::WarehouseGroup, Right::Prices),
                                              group(Right::OrdersGroup, Right::InvoiceRegister),
                                              group(Right::ReportsGroup, Right::FinancialSummary),
                                              group(Right::SalariesGroup, Right::SalaryReport)};
    return groups;
}

bool isGroupPosition(int position) {
    for (const RightsGroup& g : rightsGroups()) {
        if (g.position == position)
            return true;
    }
    return false;
}

QString rightCaption(int position) {
    static const QStringList captions = {
        QStringLiteral("Администрация"),
        QStringLiteral("Настройки"),
        QStringLiteral("Възстановяване от архив"),
        QStringLiteral("Регистри и каталози"),
        QStringLiteral("Служители"),
        QStringLiteral("Доставчици"),
        QStringLiteral("Клиенти и автомобили"),
        QStringLiteral("Редакция на каталога на операциите"),
        QStringLiteral("Инструменти"),
        QStringLiteral("Собствени данни"),
        QStringLiteral("Склад и продажби"),
        QStringLiteral("Номенклатура на частите"),
        QStringLiteral("Доставка и отстъпки"),
        QStringLiteral("Продажби"),
        QStringLiteral("Промяна на цени"),
        QStringLiteral("Поръчки и фактури"),
        QStringLiteral("Нова поръчка, бързи услуги, технически преглед"),
        QStringLiteral("График на посещенията"),
        QStringLiteral("Части в поръчка"),
        QStringLiteral("Отчет на поръчка"),
        QStringLiteral("Плащане на поръчка"),
        QStringLiteral("Сервизни договори"),
        QStringLiteral("Резерв 1"),
        QStringLiteral("Резерв 2"),
        QStringLiteral("Нова фактура"),
        QStringLiteral("Нефактурирани плащания"),
        QStringLiteral("Регистър на фактурите"),
        QStringLiteral("Справки и финанси"),
        QStringLiteral("Наличности и движение на частите"),
        QStringLiteral("Части в поръчки"),
        QStringLiteral("Справка за доставките и доставни цени"),
        QStringLiteral("Справка за продажбите"),
        QStringLiteral("Сметки на доставчици"),
        QStringLiteral("Сметки на клиенти"),
        QStringLiteral("Разходи и допълнителни приходи"),
        QStringLiteral("Касова книга"),
        QStringLiteral("Печалба"),
        QStringLiteral("Финансова справка"),
        QStringLiteral("Заплати"),
        QStringLiteral("Удръжки, бонуси и награди"),
        QStringLiteral("Аванси"),
        QStringLiteral("Изплащане на заплати"),
        QStringLiteral("Справка за заплатите"),
    };
    return position >= 1 && position <= captions.size() ? captions.at(position - 1) : QString();
}

QString levelCaption(int level) {
    switch (level) {
    case 0:
        return QStringLiteral("Ниво 0 - всички права");
    case 1:
        return QStringLiteral("Ниво 1 - ограничени права");
    case 2:
        return QStringLiteral("Ниво 2 - основни права");
    default:
        return {};
    }
}

QString normalizedRights(const QString& stored) {
    QString rights(store::kRightsCount, kNotGranted);
    for (int i = 0; i < rights.size() && i < stored.size(); ++i) {
        const QChar c = stored.at(i);
        if (c == kGranted || c == kPartly)
            rights[i] = c;
    }
    return rights;
}

QString withRightSet(const QString& rights, int position, bool granted) {
    QString result = normalizedRights(rights);
    if (position < 1 || position > result.size())
        return result;
    const QChar state = granted ? kGranted : kNotGranted;
    for (const RightsGroup& g : rightsGroups()) {
        if (position < g.position || position > g.last)
            continue;
        if (position == g.position) {
            for (int p = g.position; p <= g.last; ++p)
                result[p - 1] = state;
        } else {
            result[position - 1] = state;
            const QString items = result.mid(g.first - 1, g.last - g.first + 1);
            result[g.position - 1] = items.count(kGranted) == items.size()      ? kGranted
                                     : items.count(kNotGranted) == items.size() ? kNotGranted
                                                                                : kPartly;
        }
    }
    return result;
}

QStringList activeEmployeeNames(store::Database& db) {
    QStringList names;
    QSqlQuery q = db.exec(QStringLiteral("SELECT Name FROM clerks WHERE Active = :t ORDER BY Name"),
                          {{QStringLiteral("t"), true}});
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QStringList activeTechnicianNames(store::Database& db) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT Name FROM clerks WHERE Active = :t AND worker = 0 "
                                         "ORDER BY id"),
                          {{QStringLiteral("t"), true}});
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QString employeeName(store::Database& db, qint64 id) {
    return db
        .scalar(QStringLiteral("SELECT Name FROM clerks WHERE id = :id"),
                {{QStringLiteral("id"), id}})
        .toString();
}

std::optional<qint64> employeeIdByName(store::Database& db, const QString& name) {
    const QVariant id = db.scalar(QStringLiteral("SELECT min(id) FROM clerks WHERE Name = :n"),
                                  {{QStringLiteral("n"), name}});
    if (id.isNull())
        return std::nullopt;
    return id.toLongLong();
}

std::optional<Technician> technicianByName(store::Database& db, const QString& name) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT id, Name, Percent, pr_n, pr_w FROM clerks "
                                         "WHERE Name = :n ORDER BY id"),
                          {{QStringLiteral("n"), name}});
    if (!q.next())
        return std::nullopt;
    return Technician{q.value(0).toLongLong(), q.value(1).toString(),
                      TechnicianRates{store::amountFromDb(q.value(2)),
                                      store::amountFromDb(q.value(3)),
                                      store::amountFromDb(q.value(4))}};
}

QList<TechnicianName> technicianNames(store::Database& db) {
    QList<TechnicianName> names;
    QSqlQuery q = db.exec(QStringLiteral("SELECT Name, Active FROM clerks WHERE worker = 0 "
                                         "ORDER BY Name"));
    while (q.next())
        names.append({q.value(0).toString(), store::boolFromDb(q.value(1))});
    return names;
}

} // namespace staff
