#include "shell/own_data.h"

#include "store/database.h"
#include "store/transaction.h"

namespace shell {

namespace {

store::Binds bindsOf(const OwnData& d) {
    return {{QStringLiteral("name"), d.name},
            {QStringLiteral("ndr"), d.taxNumber},
            {QStringLiteral("bulstat"), d.bulstat},
            {QStringLiteral("adres"), d.address},
            {QStringLiteral("mol"), d.representative},
            {QStringLiteral("sname"), d.serviceName},
            {QStringLiteral("saddress"), d.serviceAddress},
            {QStringLiteral("sphones"), d.servicePhones}};
}

std::optional<OwnDataProblem> requireText(QString& text, OwnDataField field, const char* message) {
    text = text.trimmed();
    if (text.isEmpty())
        return OwnDataProblem{field, QString::fromUtf8(message)};
    return std::nullopt;
}

} // namespace

std::optional<OwnDataProblem> checkOwnData(OwnData& d) {
    using F = OwnDataField;
    d.name = d.name.trimmed();
    if (d.name.isEmpty())
        return OwnDataProblem{F::Name, QStringLiteral("Внимание - не сте въвели име на фирмата!")};
    if (d.taxNumber.size() != 10)
        return OwnDataProblem{
            F::TaxNumber, QStringLiteral("Внимание - грешно въведен данъчен номер на фирмата!")};
    if (d.bulstat.size() != 9 && d.bulstat.size() != 13)
        return OwnDataProblem{F::Bulstat,
                              QStringLiteral("Внимание - грешно въведен БУЛСТАТ на фирмата!")};
    if (auto p = requireText(d.address, F::Address, "Внимание - не сте въвели адрес на фирмата!"))
        return p;
    if (auto p = requireText(d.representative, F::Representative,
                             "Внимание - не сте въвели материално отговорно лице на фирмата!"))
        return p;
    if (auto p = requireText(d.serviceName, F::ServiceName, "Внимание - не сте име на сервиза!"))
        return p;
    if (auto p =
            requireText(d.serviceAddress, F::ServiceAddress, "Внимание - не сте адрес на сервиза!"))
        return p;
    if (auto p = requireText(d.servicePhones, F::ServicePhones,
                             "Внимание - не сте телефоните на сервиза!"))
        return p;
    return std::nullopt;
}

bool hasOwnData(store::Database& db) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM myinfo")).toInt() > 0;
}

OwnData loadOwnData(store::Database& db) {
    QSqlQuery q = db.exec(QStringLiteral(
        "SELECT Name, ndr, bulstat, Adres, MOL, ServiceName, ServiceAddress, ServicePhones "
        "FROM myinfo ORDER BY ID"));
    OwnData d;
    if (q.next()) {
        d = {q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
             q.value(3).toString(), q.value(4).toString(), q.value(5).toString(),
             q.value(6).toString(), q.value(7).toString()};
    }
    return d;
}

void saveOwnData(store::Database& db, const OwnData& data) {
    store::Transaction transaction(db);
    const QVariant id = db.scalar(QStringLiteral("SELECT min(ID) FROM myinfo"));
    if (id.isNull()) {
        db.exec(QStringLiteral("INSERT INTO myinfo (Name, ndr, bulstat, Adres, MOL, ServiceName, "
                               "ServiceAddress, ServicePhones) VALUES (:name, :ndr, :bulstat, "
                               ":adres, :mol, :sname, :saddress, :sphones)"),
                bindsOf(data));
    } else {
        store::Binds binds = bindsOf(data);
        binds.insert(QStringLiteral("id"), id);
        db.exec(QStringLiteral("UPDATE myinfo SET Name = :name, ndr = :ndr, bulstat = :bulstat, "
                               "Adres = :adres, MOL = :mol, ServiceName = :sname, "
                               "ServiceAddress = :saddress, ServicePhones = :sphones "
                               "WHERE ID = :id"),
                binds);
    }
    transaction.commit();
}

} // namespace shell
