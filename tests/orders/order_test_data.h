#pragma once

#include "orders/order_registration.h"
#include "store/database.h"

#include <QDate>

// Rows the order tests build on, written straight into the tables.
namespace order_test_data {

struct OrderRow {
    qint64 id = 0;
    QString client = QStringLiteral("Иван Петров");
    QString adres = QStringLiteral("София, ул. Шипка 5");
    QString phone = QStringLiteral("0888123456");
    QString marka = QStringLiteral("VW");
    QString model = QStringLiteral("Golf");
    QString regNo = QStringLiteral("CA1234AB");
    QString couppe = QStringLiteral("WVWZZZ1JZ1W000001");
    QString engine = QStringLiteral("AGR");
    QDate porDate = QDate::currentDate();
    QDate endDate = QDate::currentDate().addDays(2);
    bool ready = false;
    QDate readyDate{};
    bool payed = false;
    QDate payDate{};
    int type = 0;
    int state = 1;
    qint64 idClerk = 0;
    double taksa = 0;
    double sumTrud = 0;
    double sumParts = 0;
    double sumAll = 0;
    double pech = 0;
};

inline QVariant dateOrNull(const QDate& d) {
    return d.isValid() ? QVariant(d) : QVariant();
}

inline void addOrder(store::Database& db, const OrderRow& o) {
    db.exec("INSERT INTO porychka (idPor, PorDate, marka, model, Modify, serial, fiscal, warName, "
            "YearMade, SaveCode, clientnames, clientadres, clientphones, endDate, codeGet, "
            "typeWarr, porState, ready, readyDate, payed, payDate, idClerk, taksa, sumtrud, "
            "sumparts, sumall, Pech) VALUES (:id, :pd, :marka, :model, '1.9 TDI', :reg, "
            ":couppe, :engine, '2001', '150000', :client, :adres, :phone, :end, 'REP', :type, "
            ":state, :ready, :rd, :payed, :payd, :clerk, :taksa, :trud, :parts, :all, :pech)",
            {{"id", o.id},
             {"pd", dateOrNull(o.porDate)},
             {"marka", o.marka},
             {"model", o.model},
             {"reg", o.regNo},
             {"couppe", o.couppe},
             {"engine", o.engine},
             {"client", o.client},
             {"adres", o.adres},
             {"phone", o.phone},
             {"end", dateOrNull(o.endDate)},
             {"type", o.type},
             {"state", o.state},
             {"ready", o.ready},
             {"rd", dateOrNull(o.readyDate)},
             {"payed", o.payed},
             {"payd", dateOrNull(o.payDate)},
             {"clerk", o.idClerk},
             {"taksa", o.taksa},
             {"trud", o.sumTrud},
             {"parts", o.sumParts},
             {"all", o.sumAll},
             {"pech", o.pech}});
}

inline qint64 addClerk(store::Database& db, const QString& name, bool active, int worker = 0) {
    db.exec("INSERT INTO clerks (Name, Active, Nivo, worker) VALUES (:n, :a, 1, :w)",
            {{"n", name}, {"a", active}, {"w", worker}});
    return db.scalar("SELECT id FROM clerks WHERE Name = :n", {{"n", name}}).toLongLong();
}

inline void addPartLine(store::Database& db, qint64 idPor, qint64 idPart, int amount) {
    db.exec("INSERT INTO PartsInPor (idPor, idPart, amnt, priceLV) VALUES (:o, :p, :a, 10)",
            {{"o", idPor}, {"p", idPart}, {"a", amount}});
}

inline void addLabourLine(store::Database& db, qint64 idPor, qint64 idClerk) {
    db.exec("INSERT INTO Jobs_In_Por (idPor, idOp, Trud, Pr1, Pr2, idClerk) VALUES (:o, 0, "
            "'Смяна на масло', 20, 10, :c)",
            {{"o", idPor}, {"c", idClerk}});
}

inline qint64 addPart(store::Database& db, const QString& type, const QString& part,
                      const QString& partNo) {
    db.exec("INSERT INTO typeParts (Type) VALUES (:t)", {{"t", type}});
    const qint64 typeId = db.scalar("SELECT max(id) FROM typeParts").toLongLong();
    db.exec("INSERT INTO parts (Part, TypeID, PartNo, amnt) VALUES (:p, :t, :n, 5)",
            {{"p", part}, {"t", typeId}, {"n", partNo}});
    return db.scalar("SELECT max(id) FROM parts").toLongLong();
}

// A complete new order as the window would hand it over.
inline orders::NewOrder completeOrder() {
    orders::NewOrder o;
    o.clientName = QStringLiteral("Иван Петров");
    o.clientAdres = QStringLiteral("София");
    o.clientPhone = QStringLiteral("0888123456");
    o.marka = QStringLiteral("VW");
    o.model = QStringLiteral("Golf");
    o.modify = QStringLiteral("1.9 TDI");
    o.engine = QStringLiteral("AGR");
    o.year = QStringLiteral("2001");
    o.regNo = QStringLiteral("CA1234AB");
    o.couppe = QStringLiteral("WVWZZZ1JZ1W000001");
    o.km = QStringLiteral("150000");
    o.aks = QStringLiteral("резервна гума");
    o.defect = QStringLiteral("Тракане отпред;");
    o.note = QStringLiteral("спешно");
    o.dueDate = QDate::currentDate().addDays(2);
    return o;
}

} // namespace order_test_data
