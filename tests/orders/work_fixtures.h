#pragma once

#include "orders/order_test_data.h"
#include "store/database.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

// Parts, clients and external warehouse files for the tests of an order's work and money.
namespace work_fixtures {

struct PartRow {
    QString name = QStringLiteral("Филтър масло");
    int amnt = 10;
    double inPrice = 30;
    int ipVal = 1;
    double outPrice = 50;
    int opVal = 1;
};

inline qint64 addStockPart(store::Database& db, const PartRow& p) {
    db.exec("INSERT INTO typeParts (Type) VALUES ('Филтри')");
    const qint64 type = db.scalar("SELECT max(id) FROM typeParts").toLongLong();
    db.exec("INSERT INTO parts (Part, TypeID, idMarka, amnt, inPrice, ipVal, outPrice, opVal, "
            "salePrice) VALUES (:n, :t, 1, :a, :ip, :iv, :op, :ov, :op)",
            {{"n", p.name},
             {"t", type},
             {"a", p.amnt},
             {"ip", p.inPrice},
             {"iv", p.ipVal},
             {"op", p.outPrice},
             {"ov", p.opVal}});
    return db.scalar("SELECT max(id) FROM parts").toLongLong();
}

inline void addSerial(store::Database& db, qint64 part, const QString& sn) {
    db.exec("INSERT INTO PartSN (idPart, SN) VALUES (:p, :s)", {{"p", part}, {"s", sn}});
}

inline qint64 addFirm(store::Database& db, const QString& name, double reduction = 0,
                      double reductJobs = 0) {
    db.exec("INSERT INTO firms (Name, Reduction, ReductJobs) VALUES (:n, :r, :j)",
            {{"n", name}, {"r", reduction}, {"j", reductJobs}});
    return db.scalar("SELECT max(ID) FROM firms").toLongLong();
}

inline qint64 addTechnician(store::Database& db, const QString& name, int percent = 40,
                            double prN = 20, double prW = 10, bool active = true) {
    db.exec("INSERT INTO clerks (Name, Active, Nivo, worker, Percent, pr_n, pr_w) "
            "VALUES (:n, :a, 2, 0, :p, :pn, :pw)",
            {{"n", name}, {"a", active}, {"p", percent}, {"pn", prN}, {"pw", prW}});
    return db.scalar("SELECT id FROM clerks WHERE Name = :n", {{"n", name}}).toLongLong();
}

inline void addRates(store::Database& db, double usd, double eur,
                     const QDate& day = QDate::currentDate()) {
    db.exec("INSERT INTO valcourse (Data, USD, EUR) VALUES (:d, :u, :e)",
            {{"d", day}, {"u", usd}, {"e", eur}});
}

struct GoodsRow {
    QString good;
    QString name;
    double q2;
    double price1;
    double price2;
};

// An external warehouse database file with a goods table.
inline void writeGoodsFile(const QString& path, const QList<GoodsRow>& rows) {
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot create goods file");
        QSqlQuery q(db);
        q.exec("CREATE TABLE goods (Good TEXT, Name TEXT, Q_2 REAL, Price1_2 REAL, Price2_2 REAL)");
        for (const GoodsRow& r : rows) {
            q.prepare("INSERT INTO goods VALUES (?, ?, ?, ?, ?)");
            q.addBindValue(r.good);
            q.addBindValue(r.name);
            q.addBindValue(r.q2);
            q.addBindValue(r.price1);
            q.addBindValue(r.price2);
            q.exec();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

inline double goodsQuantity(const QString& path, const QString& good) {
    const QString name = QUuid::createUuid().toString();
    double q2 = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        q.prepare("SELECT Q_2 FROM goods WHERE Good = ?");
        q.addBindValue(good);
        q.exec();
        if (q.next())
            q2 = q.value(0).toDouble();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return q2;
}

inline int count(store::Database& db, const QString& sql, const store::Binds& binds = {}) {
    return db.scalar(sql, binds).toInt();
}

} // namespace work_fixtures
