#include "store/ledger.h"

#include "store/currency.h"
#include "store/database.h"
#include "store/money.h"
#include "store/transaction.h"

#include <QSqlQuery>
#include <array>
#include <cmath>

namespace store {

namespace {

constexpr std::array<ProfitSourceText, 6> kProfitSources{{
    {0, "От продажба части"},
    {1, "От части в поръчка"},
    {2, "От труд в поръчка"},
    {3, "От такса в поръчка"},
    {4, "От гаранционни поръчки"},
    {6, "От абонаментни договори"},
}};

// Refused here rather than stored: a NaN or a stray code would spoil every later balance.
void checkAmount(double amount) {
    if (!std::isfinite(amount))
        throw DbError(QStringLiteral("Invalid amount in a ledger posting"));
}

void checkCurrency(int currency) {
    if (!isCurrencyCode(currency))
        throw DbError(QStringLiteral("Invalid currency code %1 in a ledger posting").arg(currency));
}

// kasa, payments and payClient share one form; only the table and the party column differ.
void postMovement(Database& db, const QString& table, const QString& partyColumn,
                  const QVariant& party, double amount, int currency, const QString& notes,
                  const QDateTime& at) {
    checkAmount(amount);
    checkCurrency(currency);
    Transaction tx(db);
    db.exec(QStringLiteral("INSERT INTO %1 (Data, Chas, Suma, idVal, Notes, %2) "
                           "VALUES (:d, :t, :s, :v, :n, :p)")
                .arg(table, partyColumn),
            {{QStringLiteral("d"), at.date()},
             {QStringLiteral("t"), at.time()},
             {QStringLiteral("s"), roundMoney(amount)},
             {QStringLiteral("v"), currency},
             {QStringLiteral("n"), notes},
             {QStringLiteral("p"), party}});
    tx.commit();
}

int typeId(Database& db, const QString& typeTable, const QString& type) {
    if (type.isEmpty())
        throw DbError(QStringLiteral("A ledger posting needs a type"));
    const QString find = QStringLiteral("SELECT min(id) FROM %1 WHERE Type = :type").arg(typeTable);
    const Binds binds{{QStringLiteral("type"), type}};
    QVariant id = db.scalar(find, binds);
    if (id.isNull()) {
        db.exec(QStringLiteral("INSERT INTO %1 (Type) VALUES (:type)").arg(typeTable), binds);
        id = db.scalar(find, binds);
    }
    return id.toInt();
}

int postTyped(Database& db, const QString& typeTable, const QString& table, const QString& type,
              double amount, const QString& notes, const QDate& day) {
    checkAmount(amount);
    Transaction tx(db);
    const int id = typeId(db, typeTable, type);
    db.exec(QStringLiteral("INSERT INTO %1 (TypeID, Data, Suma, Notes) VALUES (:id, :d, :s, :n)")
                .arg(table),
            {{QStringLiteral("id"), id},
             {QStringLiteral("d"), day},
             {QStringLiteral("s"), amount},
             {QStringLiteral("n"), notes}});
    tx.commit();
    return id;
}

} // namespace

void postCash(Database& db, const CashMovement& m, const QDateTime& at) {
    postMovement(db, QStringLiteral("kasa"), QStringLiteral("UserID"), m.userId, m.amount,
                 m.currency, m.notes, at);
}

void postSupplierDebt(Database& db, const SupplierDebt& d, const QDateTime& at) {
    postMovement(db, QStringLiteral("payments"), QStringLiteral("idDost"), d.supplierId, d.amount,
                 d.currency, d.notes, at);
}

void postClientDebt(Database& db, const ClientDebt& d, const QDateTime& at) {
    postMovement(db, QStringLiteral("payClient"), QStringLiteral("idName"), d.clientId, d.amount,
                 d.currency, d.notes, at);
}

std::span<const ProfitSourceText> profitSourceTexts() {
    return kProfitSources;
}

QString profitSourceText(int idNote) {
    for (const ProfitSourceText& source : kProfitSources) {
        if (source.idNote == idNote)
            return QString::fromUtf8(source.text);
    }
    return {};
}

void postProfit(Database& db, ProfitSource source, int currency, double amount, const QDate& day) {
    checkAmount(amount);
    checkCurrency(currency);
    const Binds key{{QStringLiteral("d"), day},
                    {QStringLiteral("note"), static_cast<int>(source)},
                    {QStringLiteral("v"), currency}};
    Transaction tx(db);
    const QVariant id =
        db.scalar(QStringLiteral("SELECT min(id) FROM pech "
                                 "WHERE Data = :d AND idNote = :note AND idVal = :v"),
                  key);
    if (id.isNull()) {
        Binds row = key;
        row.insert(QStringLiteral("a"), amount);
        db.exec(QStringLiteral("INSERT INTO pech (Data, idNote, idVal, Pech) "
                               "VALUES (:d, :note, :v, :a)"),
                row);
    } else {
        db.exec(QStringLiteral("UPDATE pech SET Pech = coalesce(Pech, 0) + :a WHERE id = :id"),
                {{QStringLiteral("a"), amount}, {QStringLiteral("id"), id}});
    }
    tx.commit();
}

int expenseTypeId(Database& db, const QString& type) {
    Transaction tx(db);
    const int id = typeId(db, QStringLiteral("typeexpenses"), type);
    tx.commit();
    return id;
}

int incomeTypeId(Database& db, const QString& type) {
    Transaction tx(db);
    const int id = typeId(db, QStringLiteral("typepr"), type);
    tx.commit();
    return id;
}

int postExpense(Database& db, const QString& type, double amount, const QString& notes,
                const QDate& day) {
    return postTyped(db, QStringLiteral("typeexpenses"), QStringLiteral("expenses"), type, amount,
                     notes, day);
}

int postIncome(Database& db, const QString& type, double amount, const QString& notes,
               const QDate& day) {
    return postTyped(db, QStringLiteral("typepr"), QStringLiteral("prihodi"), type, amount, notes,
                     day);
}

void postEarning(Database& db, const Earning& e, const QDate& day) {
    checkAmount(e.amount);
    Binds binds{{QStringLiteral("clerk"), e.clerkId},
                {QStringLiteral("d"), day},
                {QStringLiteral("m"), day.month()},
                {QStringLiteral("y"), day.year()},
                {QStringLiteral("s"), roundMoney(e.amount)},
                {QStringLiteral("paid"), false},
                {QStringLiteral("n"), e.notes}};
    QString columns = QStringLiteral("idClerk, data, mesec, godina, suma, payed, notes");
    QString values = QStringLiteral(":clerk, :d, :m, :y, :s, :paid, :n");
    if (e.orderNo) {
        columns += QStringLiteral(", noPor");
        values += QStringLiteral(", :order");
        binds.insert(QStringLiteral("order"), *e.orderNo);
    }
    Transaction tx(db);
    db.exec(QStringLiteral("INSERT INTO paymClerks (%1) VALUES (%2)").arg(columns, values), binds);
    tx.commit();
}

} // namespace store
