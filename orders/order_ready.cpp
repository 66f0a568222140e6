#include "orders/order_ready.h"

#include "store/database.h"
#include "store/ledger.h"
#include "store/sql_helpers.h"
#include "store/sql_values.h"
#include "store/transaction.h"

#include <array>

namespace orders {

namespace {

constexpr std::array<int, 4> kResultStates{3, 4, 6, 7};

void creditTechnicians(store::Database& db, qint64 idPor, const QDate& today) {
    const store::Binds order{{QStringLiteral("o"), idPor}};
    if (store::sumOrZero(db, QStringLiteral("SELECT sum(Pr2) FROM Jobs_In_Por WHERE idPor = :o"),
                         order) <= 0)
        return;
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT idClerk, Pr2 FROM Jobs_In_Por WHERE idPor = :o ORDER BY id"), order);
    QList<store::Earning> earnings;
    while (q.next())
        earnings.append(store::Earning{q.value(0).toInt(), store::amountFromDb(q.value(1)),
                                       QStringLiteral("От поръчка"), idPor});
    for (const store::Earning& e : earnings)
        store::postEarning(db, e, today);
}

void closeHomeVisit(store::Database& db, qint64 idPor, const QDate& today) {
    const QVariant visit =
        db.scalar(QStringLiteral("SELECT min(id) FROM homevisit WHERE field1 = :no"),
                  {{QStringLiteral("no"), QString::number(idPor)}});
    if (visit.isNull())
        return;
    db.exec(QStringLiteral(
                "UPDATE homevisit SET visited = :v, idClerk = 0, field2 = :d WHERE id = :id"),
            {{QStringLiteral("v"), true},
             {QStringLiteral("d"), today.toString(QStringLiteral("dd.MM.yyyy"))},
             {QStringLiteral("id"), visit}});
}

} // namespace

QStringList resultTexts() {
    return {QStringLiteral("Поправена"), QStringLiteral("Поправена със замяна"),
            QStringLiteral("Отказан ремонт"), QStringLiteral("Непоправим дефект")};
}

int resultState(int item) {
    return item >= 0 && item < int(kResultStates.size()) ? kResultStates[item] : kResultStates[0];
}

int resultItem(int porState) {
    for (int i = 0; i < int(kResultStates.size()); ++i) {
        if (kResultStates[i] == porState)
            return i;
    }
    return 0;
}

ReadyOutcome markReady(store::Database& db, const ReadyValues& v, const QDate& today,
                       const StatusReport& status) {
    const auto show = [&status](const char* text) {
        if (status)
            status(QString::fromUtf8(text));
    };
    show("Запис отчет");
    store::Transaction tx(db);
    QSqlQuery changed = db.exec(
        QStringLiteral("UPDATE porychka SET ready = :t, readyDate = :d, idClerk = 0, taksa = :f, "
                       "sumtrud = :l, sumparts = :p, sumall = :a, porState = :s "
                       "WHERE idPor = :id AND (ready IS NULL OR ready = :no) "
                       "AND (payed IS NULL OR payed = :no)"),
        {{QStringLiteral("t"), true},
         {QStringLiteral("d"), today},
         {QStringLiteral("f"), v.fee},
         {QStringLiteral("l"), v.labourClient},
         {QStringLiteral("p"), v.parts},
         {QStringLiteral("a"), v.amount},
         {QStringLiteral("s"), resultState(v.resultItem)},
         {QStringLiteral("id"), v.idPor},
         {QStringLiteral("no"), false}});
    // Another workstation may have reported the order meanwhile: credit the work only once.
    if (changed.numRowsAffected() != 1)
        return ReadyOutcome::AlreadyReady;
    show("Запис на заработка");
    creditTechnicians(db, v.idPor, today);
    show("Проверка в ангажиментите");
    closeHomeVisit(db, v.idPor, today);
    tx.commit();
    return ReadyOutcome::Ready;
}

QString alreadyReportedText(qint64 idPor) {
    return QStringLiteral("Поръчка  №%1 вече е отчетена!").arg(idPor);
}

} // namespace orders
