#include "orders/order_register.h"

#include "orders/order_texts.h"
#include "staff/employees.h"
#include "store/registration_number.h"
#include "store/sql_helpers.h"
#include "store/sql_values.h"
#include "store/transaction.h"
#include "vehicles/vehicle_catalogue.h"

namespace orders {

namespace {

const QString kNoChoice = QStringLiteral("Без избор");
const QString kLeftSuffix = QStringLiteral(" - напуснал");

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

// Collects conditions and their words as the criteria are read.
struct Builder {
    store::Database& db;
    QStringList conditions;
    QStringList texts;
    store::Binds binds;

    void add(const QString& condition, const QString& text) {
        conditions << condition;
        texts << text;
    }
    // stored: the form the column keeps its values in, when that is not the text as typed.
    void contains(const QString& column, const QString& typed, const QString& words,
                  QString (*stored)(const QString&) = nullptr) {
        const QString t = typed.trimmed();
        if (t.size() < kMinCriterionLength)
            return;
        const QString name = QStringLiteral("p%1").arg(binds.size());
        binds.insert(name, store::containsPattern(stored ? stored(t) : t));
        add(db.dialect().caseInsensitiveLike(column, QLatin1Char(':') + name), words + quoted(t));
    }
    void compare(const QString& column, const QString& op, const QVariant& value,
                 const QString& text) {
        const QString name = QStringLiteral("p%1").arg(binds.size());
        binds.insert(name, value);
        add(QStringLiteral("%1 %2 :%3").arg(column, op, name), text);
    }
    Selection selection(const QString& separator) const {
        return {conditions.join(QStringLiteral(" AND ")), binds, texts.join(separator)};
    }
};

QString periodColumn(FixedReport report) {
    switch (report) {
    case FixedReport::Received:
        return QStringLiteral("PorDate");
    case FixedReport::Repaired:
        return QStringLiteral("readyDate");
    default:
        return QStringLiteral("payDate");
    }
}

QString periodPrefix(FixedReport report) {
    switch (report) {
    case FixedReport::Received:
        return QStringLiteral("Приети уреди");
    case FixedReport::Repaired:
        return QStringLiteral("Извършени ремонти");
    default:
        return QStringLiteral("Платени ремонти");
    }
}

bool exists(store::Database& db, const QString& table, qint64 idPor) {
    return !db.scalar(QStringLiteral("SELECT idPor FROM %1 WHERE idPor = :id").arg(table),
                      {{"id", idPor}})
                .isNull();
}

} // namespace

std::optional<Selection> criteriaSelection(store::Database& db, const RegisterCriteria& c) {
    Builder b{db, {}, {}, {}};
    const QString number = c.porNo.trimmed();
    if (!number.isEmpty()) {
        bool ok = false;
        const qint64 id = number.toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        b.compare(QStringLiteral("idPor"), QStringLiteral("="), id,
                  QStringLiteral("Номер на поръчка: ") + number);
        return b.selection(QStringLiteral(" и "));
    }
    b.contains(QStringLiteral("clientnames"), c.names, QStringLiteral("Kлиент съдържа "));
    b.contains(QStringLiteral("clientadres"), c.adres, QStringLiteral("Адрес съдържа "));
    b.contains(QStringLiteral("clientphones"), c.phone, QStringLiteral("Телефон съдържа "));
    if (!c.marka.isEmpty()) {
        const QString name = QStringLiteral("p%1").arg(b.binds.size());
        b.binds.insert(name, store::literalPattern(c.marka));
        b.add(db.dialect().caseInsensitiveLike(QStringLiteral("marka"), QLatin1Char(':') + name),
              QStringLiteral("Марка = ") + quoted(c.marka));
    }
    b.contains(QStringLiteral("model"), c.model, QStringLiteral("Модел съдържа "));
    b.contains(QStringLiteral("serial"), c.regNo, QStringLiteral("Рег. номер съдържа "),
               store::normalRegistrationNumber);
    if (!c.clerk.isEmpty()) {
        if (const auto id = technicianId(db, c.clerk)) {
            QString name = c.clerk;
            if (name.endsWith(kLeftSuffix))
                name.chop(kLeftSuffix.size());
            b.compare(QStringLiteral("idClerk"), QStringLiteral("="), *id,
                      QStringLiteral("Техник: ") + name);
        }
    }
    b.contains(QStringLiteral("fiscal"), c.couppe, QStringLiteral("No на щаси съдържа "));
    b.contains(QStringLiteral("warName"), c.engine, QStringLiteral("No на двигател съдържа "));
    if (c.from)
        b.compare(QStringLiteral("PorDate"), QStringLiteral(">="), *c.from,
                  QStringLiteral("след дата ") + dateText(*c.from));
    if (c.to)
        b.compare(QStringLiteral("PorDate"), QStringLiteral("<="), *c.to,
                  QStringLiteral("преди дата ") + dateText(*c.to));
    if (b.conditions.isEmpty())
        return std::nullopt;
    return b.selection(QStringLiteral(" и "));
}

bool usesPeriod(FixedReport report) {
    return report == FixedReport::Received || report == FixedReport::Repaired ||
           report == FixedReport::Paid;
}

Selection fixedReportSelection(FixedReport report, const std::optional<QDate>& from,
                               const std::optional<QDate>& to, const QDate& today) {
    switch (report) {
    case FixedReport::Unfinished:
        return {QStringLiteral("ready = false"),
                {},
                QStringLiteral("Неотчетени (неизпълнени) ремонти")};
    case FixedReport::Overdue:
        return {QStringLiteral("ready = false AND endDate <= :today"),
                {{"today", today}},
                QStringLiteral("Всички неотчетени поръчки с изтекъл срок на ремонт")};
    case FixedReport::ReadyNotCollected:
        return {QStringLiteral("ready = true AND payed = false"),
                {},
                QStringLiteral("Всички готови, но непредадени поръчки")};
    default:
        break;
    }
    const QString c = periodColumn(report);
    const QString prefix = periodPrefix(report);
    if (from && to)
        return {QStringLiteral("%1 >= :from AND %1 <= :to").arg(c),
                {{"from", *from}, {"to", *to}},
                prefix + QStringLiteral(" през периода ") + dateText(*from) +
                    QStringLiteral(" - ") + dateText(*to)};
    if (to)
        return {QStringLiteral("%1 <= :to").arg(c),
                {{"to", *to}},
                prefix + QStringLiteral(" до дата ") + dateText(*to)};
    if (from)
        return {QStringLiteral("%1 >= :from").arg(c),
                {{"from", *from}},
                prefix + QStringLiteral(" след ") + dateText(*from)};
    return {QString(), {}, prefix};
}

QStringList registerHeaders() {
    return {
        QStringLiteral("Поръчка №"),     QStringLiteral("Платена"),    QStringLiteral("Приета"),
        QStringLiteral("Готова на"),     QStringLiteral("Платена на"), QStringLiteral("Готова"),
        QStringLiteral("Километри"),     QStringLiteral("Марка"),      QStringLiteral("Модел"),
        QStringLiteral("Модификация"),   QStringLiteral("Година"),     QStringLiteral("Рег. номер"),
        QStringLiteral("Такса"),         QStringLiteral("Труд"),       QStringLiteral("Части"),
        QStringLiteral("Сума"),          QStringLiteral("Клиент"),     QStringLiteral("Адрес"),
        QStringLiteral("Телефон"),       QStringLiteral("Състояние"),  QStringLiteral("Тип"),
        QStringLiteral("Външен сервиз"), QStringLiteral("Печалба"),    QStringLiteral("Вид"),
        QStringLiteral("Техник"),        QStringLiteral("No на шаси"), QStringLiteral("Двигател"),
        QStringLiteral("Срок"),          QStringLiteral("Оплакване"),  QStringLiteral("Бележка"),
        QStringLiteral("codeGet"),       QStringLiteral("typeWarr"),   QStringLiteral("porState")};
}

QString registerQuery(const Selection& selection) {
    QString sql =
        QStringLiteral("SELECT idPor, payed, PorDate, readyDate, payDate, ready, SaveCode, marka, "
                       "model, Modify, YearMade, serial, taksa, sumtrud, sumparts, sumall, "
                       "clientnames, clientadres, clientphones, ") +
        stateCase(QStringLiteral("porState")) + QStringLiteral(", ") +
        registerTypeCase(QStringLiteral("typeWarr")) +
        QStringLiteral(", CASE WHEN EXISTS (SELECT 1 FROM externals WHERE externals.idPor = "
                       "porychka.idPor AND externals.back = false) THEN true ELSE false END, "
                       "Pech, ") +
        kindCase(QStringLiteral("codeGet"), QStringLiteral("typeWarr")) +
        QStringLiteral(", (SELECT Name FROM clerks WHERE clerks.id = porychka.idClerk), fiscal, "
                       "warName, endDate, defect, por_note, codeGet, typeWarr, porState "
                       "FROM porychka");
    if (!selection.condition.isEmpty())
        sql += QStringLiteral("\nWHERE ") + selection.condition;
    return sql + QStringLiteral("\nORDER BY idPor");
}

RegisterTotals registerTotals(store::Database& db, const Selection& selection) {
    QString sql = QStringLiteral(
        "SELECT sum(taksa), sum(sumtrud), sum(sumparts), sum(sumall), sum(Pech) FROM porychka");
    if (!selection.condition.isEmpty())
        sql += QStringLiteral(" WHERE ") + selection.condition;
    QSqlQuery q = db.exec(sql, selection.binds);
    RegisterTotals t;
    if (q.next()) {
        t.taksa = store::amountFromDb(q.value(0));
        t.sumTrud = store::amountFromDb(q.value(1));
        t.sumParts = store::amountFromDb(q.value(2));
        t.sumAll = store::amountFromDb(q.value(3));
        t.pech = store::amountFromDb(q.value(4));
    }
    return t;
}

QStringList technicianChoices(store::Database& db) {
    QStringList names{kNoChoice};
    for (const staff::TechnicianName& technician : staff::technicianNames(db))
        names << technician.name + (technician.active ? QString() : kLeftSuffix);
    return names;
}

std::optional<qint64> technicianId(store::Database& db, const QString& shown) {
    QString name = shown;
    if (name.endsWith(kLeftSuffix))
        name.chop(kLeftSuffix.size());
    return staff::employeeIdByName(db, name);
}

QStringList brandChoices(store::Database& db) {
    QStringList names{kNoChoice};
    for (const vehicles::NamedRow& row : vehicles::brands(db))
        names << row.name;
    return names;
}

bool orderHasLabour(store::Database& db, qint64 idPor) {
    return exists(db, QStringLiteral("Jobs_In_Por"), idPor);
}

bool orderHasWork(store::Database& db, qint64 idPor) {
    return orderHasLabour(db, idPor) || exists(db, QStringLiteral("PartsInPor"), idPor);
}

bool changeOrderType(store::Database& db, qint64 idPor, int type) {
    store::Transaction tx(db);
    if (orderHasWork(db, idPor))
        return false;
    db.exec(QStringLiteral("UPDATE porychka SET typeWarr = :t WHERE idPor = :id"),
            {{"t", type}, {"id", idPor}});
    tx.commit();
    return true;
}

void editOrderHeader(store::Database& db, qint64 idPor, const QString& clientName,
                     const QString& couppe, const QString& regNo) {
    QStringList sets;
    store::Binds binds{{"id", idPor}};
    const std::pair<const char*, QString> values[] = {
        {"clientnames", clientName.trimmed()},
        {"fiscal", couppe.trimmed()},
        {"serial", store::normalRegistrationNumber(regNo)}};
    for (const auto& [column, value] : values) {
        if (value.isEmpty())
            continue;
        sets << QStringLiteral("%1 = :%1").arg(QLatin1String(column));
        binds.insert(QLatin1String(column), value);
    }
    if (sets.isEmpty())
        return;
    db.exec(QStringLiteral("UPDATE porychka SET ") + sets.join(QStringLiteral(", ")) +
                QStringLiteral(" WHERE idPor = :id"),
            binds);
}

void setWaitingForParts(store::Database& db, qint64 idPor) {
    db.exec(QStringLiteral("UPDATE porychka SET porState = :s WHERE idPor = :id"),
            {{"s", kStateWaitingForParts}, {"id", idPor}});
}

bool earningsPaidOut(store::Database& db, qint64 idPor) {
    return !db.scalar(
                  QStringLiteral("SELECT min(id) FROM paymClerks WHERE noPor = :id AND payed = :t"),
                  {{QStringLiteral("id"), idPor}, {QStringLiteral("t"), true}})
                .isNull();
}

QString notRestoredText() {
    return QStringLiteral("Поръчката не може да бъде върната в работа.");
}

QString earningsPaidOutText(qint64 idPor) {
    return QStringLiteral("Заработката на техниците по поръчка №%1 вече е изплатена!\n")
               .arg(idPor) +
           notRestoredText();
}

void restoreToWork(store::Database& db, qint64 idPor) {
    store::Transaction tx(db);
    claimOrder(db, idPor, OrderStage::ReadyUnpaid, notRestoredText());
    if (earningsPaidOut(db, idPor))
        throw RestoreRefused(earningsPaidOutText(idPor));
    if (orderHasLabour(db, idPor))
        db.exec(QStringLiteral("DELETE FROM paymClerks WHERE noPor = :id"), {{"id", idPor}});
    db.exec(QStringLiteral("UPDATE porychka SET ready = false, readyDate = NULL, porState = :s "
                           "WHERE idPor = :id"),
            {{"s", kStateRegistered}, {"id", idPor}});
    tx.commit();
}

} // namespace orders
