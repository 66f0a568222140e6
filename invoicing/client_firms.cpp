#include "invoicing/client_firms.h"

#include "store/database.h"
#include "store/sql_helpers.h"
#include "store/sql_values.h"
#include "store/transaction.h"

#include <QSqlQuery>

namespace invoicing {

namespace {

const QString kColumns = QStringLiteral("ID, Name, DN, BStat, Adres, MOL, Contact, phones, email, "
                                        "web, MoreInfo, Reduction, ReductJobs");

ClientFirm firmFrom(const QSqlQuery& q) {
    ClientFirm f;
    f.id = q.value(0).toLongLong();
    f.name = q.value(1).toString();
    f.dn = q.value(2).toString();
    f.bstat = q.value(3).toString();
    f.adres = q.value(4).toString();
    f.mol = q.value(5).toString();
    f.contact = q.value(6).toString();
    f.phones = q.value(7).toString();
    f.email = q.value(8).toString();
    f.web = q.value(9).toString();
    f.moreInfo = q.value(10).toString();
    f.reduction = store::amountFromDb(q.value(11));
    f.reductJobs = store::amountFromDb(q.value(12));
    return f;
}

store::Binds firmBinds(const ClientFirm& f) {
    return {{QStringLiteral("name"), f.name},     {QStringLiteral("dn"), f.dn},
            {QStringLiteral("bstat"), f.bstat},   {QStringLiteral("adres"), f.adres},
            {QStringLiteral("mol"), f.mol},       {QStringLiteral("contact"), f.contact},
            {QStringLiteral("phones"), f.phones}, {QStringLiteral("email"), f.email},
            {QStringLiteral("web"), f.web},       {QStringLiteral("more"), f.moreInfo},
            {QStringLiteral("red"), f.reduction}, {QStringLiteral("redJobs"), f.reductJobs}};
}

bool nameTaken(store::Database& db, const ClientFirm& f) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM firms WHERE Name = :n AND ID <> :id"),
                     {{QStringLiteral("n"), f.name}, {QStringLiteral("id"), f.id}})
               .toInt() > 0;
}

void offerNameForOrders(store::Database& db, const QString& name) {
    const bool known = db.scalar(QStringLiteral("SELECT count(*) FROM clients WHERE Name = :n"),
                                 {{QStringLiteral("n"), name}})
                           .toInt() > 0;
    if (!known)
        db.exec(QStringLiteral("INSERT INTO clients (Name) VALUES (:n)"),
                {{QStringLiteral("n"), name}});
}

} // namespace

ClientFirm trimmed(ClientFirm firm) {
    firm.name = firm.name.trimmed();
    firm.adres = firm.adres.trimmed();
    firm.mol = firm.mol.trimmed();
    return firm;
}

std::optional<FirmProblem> checkFirm(const ClientFirm& firm) {
    if (!firm.dn.isEmpty() && firm.dn.size() != 10)
        return FirmProblem{FirmField::TaxNumber,
                           QStringLiteral("Данъчният номер трябва да е с дължина 10 символа")};
    if (!firm.bstat.isEmpty() && firm.bstat.size() != 9 && firm.bstat.size() != 13)
        return FirmProblem{FirmField::Bulstat,
                           QStringLiteral("БУЛСТАТ трябва да е с дължина 9 или 13 символа")};
    if (firm.name.trimmed().isEmpty())
        return FirmProblem{FirmField::Name, QStringLiteral("Въведете име на клиента!")};
    return std::nullopt;
}

std::optional<FirmProblem> saveFirm(store::Database& db, ClientFirm& input) {
    ClientFirm firm = trimmed(input);
    if (auto problem = checkFirm(firm))
        return problem;
    const FirmProblem duplicate{FirmField::Name, QStringLiteral("Вече е въведено такова име!")};
    store::Transaction tx(db);
    if (nameTaken(db, firm))
        return duplicate;
    store::Binds binds = firmBinds(firm);
    if (firm.id == 0) {
        firm.id = store::insertAndGetId(
            db, QStringLiteral("firms"), QStringLiteral("ID"),
            QStringLiteral("INSERT INTO firms (Name, DN, BStat, Adres, MOL, Contact, phones, "
                           "email, web, MoreInfo, Reduction, ReductJobs) VALUES (:name, :dn, "
                           ":bstat, :adres, :mol, :contact, :phones, :email, :web, :more, :red, "
                           ":redJobs)"),
            binds);
    } else {
        binds.insert(QStringLiteral("id"), firm.id);
        db.exec(QStringLiteral("UPDATE firms SET Name = :name, DN = :dn, BStat = :bstat, "
                               "Adres = :adres, MOL = :mol, Contact = :contact, phones = :phones, "
                               "email = :email, web = :web, MoreInfo = :more, Reduction = :red, "
                               "ReductJobs = :redJobs WHERE ID = :id"),
                binds);
    }
    offerNameForOrders(db, firm.name);
    tx.commit();
    input = firm;
    return std::nullopt;
}

bool firmHasLedgerRecords(store::Database& db, qint64 id) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM payClient WHERE idName = :id"),
                     {{QStringLiteral("id"), id}})
               .toInt() > 0;
}

void deleteFirm(store::Database& db, qint64 id) {
    db.exec(QStringLiteral("DELETE FROM firms WHERE ID = :id"), {{QStringLiteral("id"), id}});
}

std::optional<ClientFirm> loadFirm(store::Database& db, qint64 id) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT %1 FROM firms WHERE ID = :id").arg(kColumns),
                          {{QStringLiteral("id"), id}});
    if (!q.next())
        return std::nullopt;
    return firmFrom(q);
}

std::optional<ClientFirm> findFirmByName(store::Database& db, const QString& name) {
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT %1 FROM firms WHERE Name = :n ORDER BY ID DESC").arg(kColumns),
        {{QStringLiteral("n"), name}});
    if (!q.next())
        return std::nullopt;
    return firmFrom(q);
}

QList<FirmName> firmNames(store::Database& db) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT ID, Name FROM firms ORDER BY Name, ID"));
    QList<FirmName> names;
    while (q.next())
        names.append({q.value(0).toLongLong(), q.value(1).toString()});
    return names;
}

bool hasClientFirms(store::Database& db) {
    return !db.scalar(QStringLiteral("SELECT min(ID) FROM firms")).isNull();
}

} // namespace invoicing
