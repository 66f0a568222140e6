#include "tools/demo_check.h"

#include "store/database.h"
#include "store/registration_number.h"
#include "store/sql_values.h"

#include <QHash>
#include <QSet>
#include <cmath>

namespace demo {

namespace {

using Sums = QHash<QString, double>;

// First column as the key, second as a number; rows with the same key are added.
Sums sumsBy(store::Database& db, const QString& sql, const store::Binds& binds = {}) {
    Sums sums;
    QSqlQuery q = db.exec(sql, binds);
    while (q.next())
        sums[q.value(0).toString()] += store::amountFromDb(q.value(1));
    return sums;
}

QSet<QString> textsOf(store::Database& db, const QString& sql) {
    QSet<QString> texts;
    QSqlQuery q = db.exec(sql);
    while (q.next())
        texts.insert(q.value(0).toString());
    return texts;
}

void integrity(store::Database& db, QStringList& problems) {
    const QString result = db.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
    if (result != QLatin1String("ok"))
        problems << QStringLiteral("integrity_check: ") + result;
}

// Stock is what came in with deliveries plus the signed movements of orders (no sales or
// returns are generated), and each part's order lines account for its movements.
void stock(store::Database& db, QStringList& problems) {
    const Sums delivered =
        sumsBy(db, QStringLiteral("SELECT partID, sum(amnt) FROM sprDost GROUP BY partID"));
    const Sums moved =
        sumsBy(db, QStringLiteral("SELECT idPart, sum(amnt) FROM Part_Moves GROUP BY idPart"));
    const Sums inOrders =
        sumsBy(db, QStringLiteral("SELECT idPart, sum(amnt) FROM PartsInPor GROUP BY idPart"));
    QSqlQuery q = db.exec(QStringLiteral("SELECT id, coalesce(amnt, 0) FROM parts"));
    int wrong = 0;
    while (q.next()) {
        const QString id = q.value(0).toString();
        const double expected = delivered.value(id) + moved.value(id);
        if (q.value(1).toInt() != qRound(expected) || inOrders.value(id) != -moved.value(id)) {
            if (++wrong <= 5)
                problems << QStringLiteral("part %1: stock %2, deliveries %3, movements %4, in "
                                           "orders %5")
                                .arg(id, q.value(1).toString())
                                .arg(delivered.value(id))
                                .arg(moved.value(id))
                                .arg(inOrders.value(id));
        }
    }
    if (wrong > 5)
        problems << QStringLiteral("... %1 parts with wrong stock").arg(wrong);
}

// Every paid order with an amount has its cash-book or client-account record.
void paidOrders(store::Database& db, QStringList& problems) {
    const QSet<QString> cash =
        textsOf(db, QStringLiteral("SELECT Notes FROM kasa WHERE Notes LIKE 'Плащане поръчка №%'"));
    const QSet<QString> account =
        textsOf(db, QStringLiteral("SELECT Notes FROM payClient WHERE Notes LIKE 'От поръчка №%'"));
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT idPor FROM porychka WHERE payed = :t AND sumall > 0"),
                {{QStringLiteral("t"), true}});
    int missing = 0;
    while (q.next()) {
        const QString number = q.value(0).toString();
        if (!cash.contains(QStringLiteral("Плащане поръчка №") + number) &&
            !account.contains(QStringLiteral("От поръчка №") + number) && ++missing <= 5)
            problems << QStringLiteral("paid order %1 has no cash or account record").arg(number);
    }
    if (missing > 5)
        problems << QStringLiteral("... %1 paid orders without their money record").arg(missing);
}

// Per day, the profit of the orders paid that day equals the profit rows (in leva at the
// day's rates) less the discounts booked as expenses plus the surcharges booked as income.
void profit(store::Database& db, QStringList& problems) {
    const store::Binds paid{{QStringLiteral("t"), true}};
    const Sums orders =
        sumsBy(db, QStringLiteral("SELECT payDate, Pech FROM porychka WHERE payed = :t"), paid);
    const Sums counts =
        sumsBy(db, QStringLiteral("SELECT payDate, 1 FROM porychka WHERE payed = :t"), paid);
    const Sums ledger = sumsBy(
        db, QStringLiteral("SELECT p.Data, p.Pech * CASE p.idVal WHEN 2 THEN v.USD WHEN 3 THEN "
                           "v.EUR ELSE 1 END FROM pech p LEFT JOIN valcourse v ON v.Data = p.Data "
                           "WHERE p.idNote IN (1, 2, 3)"));
    const Sums discounts = sumsBy(
        db, QStringLiteral("SELECT e.Data, e.Suma FROM expenses e JOIN typeexpenses t ON t.id = "
                           "e.TypeID WHERE t.Type = 'Отстъпки в поръчки'"));
    const Sums surcharges =
        sumsBy(db, QStringLiteral("SELECT i.Data, i.Suma FROM prihodi i JOIN typepr t ON t.id = "
                                  "i.TypeID WHERE t.Type = 'Корекции в поръчки'"));
    QSet<QString> days(orders.keyBegin(), orders.keyEnd());
    for (auto it = ledger.keyBegin(); it != ledger.keyEnd(); ++it)
        days.insert(*it);
    int wrong = 0;
    for (const QString& day : days) {
        const double booked = ledger.value(day) - discounts.value(day) + surcharges.value(day);
        // Each order rounds its own profit and its parts per currency: a cent or two each.
        const double tolerance = 0.03 * counts.value(day) + 0.05;
        if (std::abs(orders.value(day) - booked) > tolerance && ++wrong <= 5)
            problems << QStringLiteral("profit of %1: orders %2, ledger %3")
                            .arg(day)
                            .arg(orders.value(day), 0, 'f', 2)
                            .arg(booked, 0, 'f', 2);
    }
    if (wrong > 5)
        problems << QStringLiteral("... %1 days whose profit does not match").arg(wrong);
}

// A ready order credited each labour line to its technician.
void earnings(store::Database& db, QStringList& problems) {
    const Sums labour =
        sumsBy(db,
               QStringLiteral("SELECT j.idPor, j.Pr2 FROM Jobs_In_Por j JOIN porychka p ON "
                              "p.idPor = j.idPor WHERE p.ready = :t"),
               {{QStringLiteral("t"), true}});
    const Sums credited =
        sumsBy(db, QStringLiteral("SELECT noPor, suma FROM paymClerks WHERE noPor IS NOT NULL"));
    int wrong = 0;
    for (auto it = labour.cbegin(); it != labour.cend(); ++it) {
        if (std::abs(it.value() - credited.value(it.key())) > 0.005 && ++wrong <= 5)
            problems << QStringLiteral("order %1: labour %2, credited %3")
                            .arg(it.key())
                            .arg(it.value())
                            .arg(credited.value(it.key()));
    }
    if (wrong > 5)
        problems << QStringLiteral("... %1 orders with wrong earnings").arg(wrong);
}

// Registration numbers are kept in their one form, so that look-ups by either alphabet work.
void registrationNumbers(store::Database& db, QStringList& problems) {
    int wrong = 0;
    for (const auto& [table, column] : {std::pair{"porychka", "serial"}, {"cars", "RegNo"}}) {
        const QSet<QString> numbers = textsOf(
            db, QStringLiteral("SELECT DISTINCT %1 FROM %2 WHERE %1 IS NOT NULL")
                    .arg(QLatin1String(column), QLatin1String(table)));
        for (const QString& number : numbers) {
            if (number == store::normalRegistrationNumber(number))
                continue;
            if (++wrong <= 5)
                problems << QStringLiteral("%1: registration number \"%2\" not in its one form")
                                .arg(QLatin1String(table), number);
        }
    }
    if (wrong > 5)
        problems << QStringLiteral("... %1 registration numbers not in their one form").arg(wrong);
}

} // namespace

QStringList checkConsistency(store::Database& db) {
    QStringList problems;
    integrity(db, problems);
    stock(db, problems);
    paidOrders(db, problems);
    profit(db, problems);
    earnings(db, problems);
    registrationNumbers(db, problems);
    return problems;
}

} // namespace demo
