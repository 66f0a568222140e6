#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <stdexcept>

// An external warehouse database: a database file of another warehouse program whose table
// `goods` holds the goods code `Good`, the name `Name`, the quantity `Q_2` and the purchase and
// selling prices `Price1_2` and `Price2_2`. Orders take goods from it and give them back.
namespace orders {

enum class ExternalFailure {
    CannotOpen,    // the file is missing or is not such a database
    GoodsNotFound, // no goods with this code
    NotEnough,     // fewer units than asked for
    Refused,       // the database refused the statement
};

class ExternalStoreError : public std::runtime_error {
public:
    ExternalStoreError(ExternalFailure failure, const QString& detail);
    ExternalFailure failure() const { return failure_; }

private:
    ExternalFailure failure_;
};

struct Goods {
    QString good;
    QString name;
    double quantity = 0;
    double purchasePrice = 0; // Price1_2
    double salePrice = 0;     // Price2_2
};

class ExternalStore {
public:
    // Opens an existing file; never creates one. Throws ExternalStoreError(CannotOpen).
    explicit ExternalStore(const QString& path);
    ~ExternalStore();
    ExternalStore(const ExternalStore&) = delete;
    ExternalStore& operator=(const ExternalStore&) = delete;

    QString path() const { return path_; }

    // Goods with a quantity above 0; a non-empty search text is matched against the name as
    // typed, "*" being the wildcard and letter case ignored.
    QList<Goods> goodsInStock(const QString& nameSearch = {});
    std::optional<Goods> find(const QString& good);

    // Q_2 down by quantity, refused (NotEnough) when fewer are there, GoodsNotFound for an
    // unknown code.
    void take(const QString& good, int quantity);
    // Q_2 up by quantity; GoodsNotFound for an unknown code.
    void giveBack(const QString& good, int quantity);

private:
    QSqlQuery run(const QString& sql, const QVariantMap& binds);

    QString path_;
    QString connectionName_;
    QSqlDatabase db_;
};

// The file of an order line's database index in the settings list, if there is one.
std::optional<QString> externalDatabasePath(const QStringList& paths, int index);

} // namespace orders
