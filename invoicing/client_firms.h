#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace store {
class Database;
}

// The client firms (and private clients kept as firms) the workshop sells to on account.
namespace invoicing {

struct ClientFirm {
    qint64 id = 0; // 0 for a firm not saved yet
    QString name;
    QString dn;    // tax number: 10 digits when given
    QString bstat; // BULSTAT: 9 or 13 digits when given
    QString adres;
    QString mol;
    QString contact;
    QString phones;
    QString email;
    QString web;
    QString moreInfo;
    double reduction = 0;  // parts discount, percent
    double reductJobs = 0; // labour discount, percent
};

enum class FirmField { Name, TaxNumber, Bulstat };

struct FirmProblem {
    FirmField field;
    QString message;
};

// Name, address and representative without surrounding blanks.
ClientFirm trimmed(ClientFirm firm);

// Tax number and BULSTAT lengths, and a name to save the firm under.
std::optional<FirmProblem> checkFirm(const ClientFirm& firm);

// Appends (id 0) or changes the firm and offers its name for new orders (table clients), in
// one transaction. A name another firm already has is refused; firm.id is set on success.
std::optional<FirmProblem> saveFirm(store::Database& db, ClientFirm& firm);

// A firm with client-debt records stays: the records refer to it.
bool firmHasLedgerRecords(store::Database& db, qint64 id);
void deleteFirm(store::Database& db, qint64 id);

std::optional<ClientFirm> loadFirm(store::Database& db, qint64 id);
// The firm whose name is exactly this text (the last one, should there be several).
std::optional<ClientFirm> findFirmByName(store::Database& db, const QString& name);

struct FirmName {
    qint64 id;
    QString name;
};
QList<FirmName> firmNames(store::Database& db); // by name
bool hasClientFirms(store::Database& db);

} // namespace invoicing
