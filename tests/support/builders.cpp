#include "support/builders.h"

#include "invoicing/client_firms.h"
#include "orders/order_ready.h"
#include "orders/order_work.h"
#include "store/database.h"
#include "store/money.h"
#include "vehicles/vehicle_catalogue.h"
#include "warehouse/part_catalogue.h"
#include "warehouse/suppliers.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

namespace builders {

namespace {

QVariant dateOrNull(const QDate& d) {
    return d.isValid() ? QVariant(d) : QVariant();
}

// A builder that cannot build leaves the test without its data; nothing after it means much.
[[noreturn]] void refused(const char* what, const QString& why = {}) {
    qFatal("builders: %s refused %s", what, qPrintable(why));
}

qint64 nameId(store::Database& db, const warehouse::NameList& list, const QString& name) {
    const QVariant known =
        db.scalar(QStringLiteral("SELECT min(id) FROM %1 WHERE %2 = :name")
                      .arg(QString::fromLatin1(list.table), QString::fromLatin1(list.column)),
                  {{QStringLiteral("name"), name.trimmed()}});
    if (!known.isNull())
        return known.toLongLong();
    const auto id = warehouse::saveName(db, list, 0, name);
    if (!id)
        refused(list.table, name);
    return *id;
}

} // namespace

qint64 client(store::Database& db, const Client& c) {
    invoicing::ClientFirm firm;
    firm.name = c.name;
    firm.reduction = c.partsDiscount;
    firm.reductJobs = c.labourDiscount;
    if (const auto problem = invoicing::saveFirm(db, firm))
        refused("client", problem->message);
    return firm.id;
}

vehicles::Car completeCar() {
    vehicles::Car car;
    car.marka = QStringLiteral("VW");
    car.model = QStringLiteral("Golf");
    car.yearMade = QStringLiteral("2001");
    car.regNo = QStringLiteral("CA1234AB");
    car.couppe = QStringLiteral("WVWZZZ1JZ1W000001");
    car.engine = QStringLiteral("AGR");
    car.ownerName = QStringLiteral("Иван Петров");
    car.ownerAddress = QStringLiteral("София");
    car.ownerPhone = QStringLiteral("0888123456");
    return car;
}

qint64 car(store::Database& db, const vehicles::Car& car) {
    if (const auto problem = vehicles::checkCar(db, car))
        refused("car", problem->message);
    return vehicles::saveCar(db, car);
}

qint64 catalogueEntry(store::Database& db, const CatalogueEntry& e) {
    const auto knownBrand = vehicles::findBrand(db, e.brand);
    const qint64 brand = knownBrand ? *knownBrand : vehicles::addBrand(db, e.brand);
    const auto knownModel = vehicles::findModel(db, brand, e.model);
    const qint64 model = knownModel ? *knownModel : vehicles::addModel(db, brand, e.model);
    if (vehicles::findRows(db, brand, model, e.modification).isEmpty())
        vehicles::addModification(db, brand, model, e.modification);
    vehicles::addPeriod(db, brand, model, e.modification, e.period);
    const auto rows = vehicles::findRows(db, brand, model, e.modification, e.period);
    if (rows.isEmpty())
        refused("catalogue entry", e.modification + QLatin1Char(' ') + e.period);
    vehicles::updateEngineData(db, rows.last().id, e.engine, e.kw, e.ccm);
    return rows.last().id;
}

qint64 partType(store::Database& db, const QString& name) {
    return nameId(db, warehouse::kPartTypes, name);
}

qint64 partMaker(store::Database& db, const QString& name) {
    return nameId(db, warehouse::kPartMakers, name);
}

qint64 part(store::Database& db, const Part& p) {
    warehouse::Part part;
    part.part = p.name;
    part.partNo = p.partNo;
    part.barcode = p.barcode;
    part.catalogs = p.catalogs;
    part.typeId = partType(db, p.type);
    part.makerId = partMaker(db, p.maker);
    if (const auto problem = warehouse::savePart(db, part))
        refused("part", problem->message);
    db.exec(QStringLiteral("UPDATE parts SET amnt = :a, inPrice = :p, ipVal = :v WHERE id = :id"),
            {{QStringLiteral("a"), p.amount},
             {QStringLiteral("p"), p.inPrice},
             {QStringLiteral("v"), p.inCurrency},
             {QStringLiteral("id"), part.id}});
    if (p.outPrice) {
        db.exec(QStringLiteral("UPDATE parts SET outPrice = :o, opVal = :v, salePrice = :s "
                               "WHERE id = :id"),
                {{QStringLiteral("o"), *p.outPrice},
                 {QStringLiteral("v"), p.outCurrency},
                 {QStringLiteral("s"), p.salePrice.value_or(*p.outPrice)},
                 {QStringLiteral("id"), part.id}});
    } else if (p.salePrice) {
        db.exec(QStringLiteral("UPDATE parts SET salePrice = :s WHERE id = :id"),
                {{QStringLiteral("s"), *p.salePrice}, {QStringLiteral("id"), part.id}});
    }
    // The units are already counted in the amount; the serial numbers only name them.
    for (const QString& sn : p.serials)
        db.exec(QStringLiteral("INSERT INTO PartSN (idPart, SN) VALUES (:p, :s)"),
                {{QStringLiteral("p"), part.id}, {QStringLiteral("s"), sn}});
    return part.id;
}

qint64 supplier(store::Database& db, const QString& name) {
    warehouse::Supplier s{0, name, {}};
    if (!warehouse::saveSupplier(db, s))
        refused("supplier", name);
    return s.id;
}

void pastDelivery(store::Database& db, const PastDelivery& d) {
    db.exec(QStringLiteral("INSERT INTO sprDost (partID, Data, Price, idVal, amnt, idDost) "
                           "VALUES (:p, :d, :pr, :v, :a, :s)"),
            {{QStringLiteral("p"), d.part},
             {QStringLiteral("d"), d.date},
             {QStringLiteral("pr"), d.price},
             {QStringLiteral("v"), d.currency},
             {QStringLiteral("a"), d.amount},
             {QStringLiteral("s"), d.supplier}});
}

qint64 employee(store::Database& db, const Employee& e) {
    staff::Employee saved = staff::newEmployee();
    saved.name = e.name;
    saved.nick = e.nick;
    saved.active = e.active;
    saved.worker = e.kind;
    saved.percent = e.percent;
    saved.rateNormal = e.normalRate;
    saved.rateWarranty = e.warrantyRate;
    saved.level = e.level;
    saved.rights = e.rights.value_or(store::rightsPresetForLevel(e.level).value_or(QString()));
    if (staff::saveEmployee(db, saved, e.password) != staff::SaveOutcome::Saved)
        refused("employee", e.name);
    return saved.id;
}

orders::NewOrder completeOrder() {
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

qint64 registeredOrder(store::Database& db, const orders::NewOrder& order, qint64 number,
                       const QDate& today) {
    if (const auto problem = orders::checkNewOrder(order))
        refused("order", problem->message);
    return orders::registerOrder(db, order, number, today).number;
}

qint64 order(store::Database& db, const Order& o) {
    db.exec(QStringLiteral(
                "INSERT INTO porychka (idPor, PorDate, marka, model, Modify, serial, fiscal, "
                "warName, YearMade, SaveCode, clientnames, clientadres, clientphones, endDate, "
                "codeGet, typeWarr, porState, ready, readyDate, payed, payDate, idClerk, taksa, "
                "sumtrud, sumparts, sumall, Pech) VALUES (:id, :pd, :marka, :model, '1.9 TDI', "
                ":reg, :couppe, :engine, '2001', '150000', :client, :adres, :phone, :end, 'REP', "
                ":type, :state, :ready, :rd, :payed, :payd, :clerk, :taksa, :trud, :parts, :all, "
                ":pech)"),
            {{QStringLiteral("id"), o.id},
             {QStringLiteral("pd"), dateOrNull(o.porDate)},
             {QStringLiteral("marka"), o.marka},
             {QStringLiteral("model"), o.model},
             {QStringLiteral("reg"), o.regNo},
             {QStringLiteral("couppe"), o.couppe},
             {QStringLiteral("engine"), o.engine},
             {QStringLiteral("client"), o.client},
             {QStringLiteral("adres"), o.adres},
             {QStringLiteral("phone"), o.phone},
             {QStringLiteral("end"), dateOrNull(o.endDate)},
             {QStringLiteral("type"), o.type},
             {QStringLiteral("state"), o.state},
             {QStringLiteral("ready"), o.ready},
             {QStringLiteral("rd"), dateOrNull(o.readyDate)},
             {QStringLiteral("payed"), o.payed},
             {QStringLiteral("payd"), dateOrNull(o.payDate)},
             {QStringLiteral("clerk"), o.idClerk},
             {QStringLiteral("taksa"), o.taksa},
             {QStringLiteral("trud"), o.sumTrud},
             {QStringLiteral("parts"), o.sumParts},
             {QStringLiteral("all"), o.sumAll},
             {QStringLiteral("pech"), o.pech}});
    return o.id;
}

void partLine(store::Database& db, qint64 idPor, const PartLine& line) {
    db.exec(QStringLiteral("INSERT INTO PartsInPor (idPor, idPart, amnt, priceLV) "
                           "VALUES (:o, :p, :a, :price)"),
            {{QStringLiteral("o"), idPor},
             {QStringLiteral("p"), line.part},
             {QStringLiteral("a"), line.amount},
             {QStringLiteral("price"), line.price}});
}

void labourLine(store::Database& db, qint64 idPor, const LabourLine& line) {
    db.exec(QStringLiteral("INSERT INTO Jobs_In_Por (idPor, idOp, Trud, Pr1, Pr2, idClerk) "
                           "VALUES (:o, :op, :work, :client, :technician, :clerk)"),
            {{QStringLiteral("o"), idPor},
             {QStringLiteral("op"), line.operation ? QVariant(*line.operation) : QVariant()},
             {QStringLiteral("work"), line.work},
             {QStringLiteral("client"), line.clientPrice},
             {QStringLiteral("technician"), line.technicianAmount},
             {QStringLiteral("clerk"), line.technician}});
}

void makeReady(store::Database& db, qint64 idPor, const Ready& ready) {
    const orders::WorkTotals totals = orders::workTotals(db, idPor);
    const double amount =
        store::roundMoney(ready.fee + totals.parts + totals.labourClient - ready.discount);
    if (orders::markReady(
            db, {idPor, ready.fee, totals.labourClient, totals.parts, amount, ready.resultItem},
            ready.day) != orders::ReadyOutcome::Ready)
        refused("ready order", QString::number(idPor));
}

orders::PaymentResult makePaid(store::Database& db, qint64 idPor, const Payment& payment) {
    const auto head = orders::loadOrderHead(db, idPor);
    if (!head)
        refused("payment of a missing order", QString::number(idPor));
    const orders::WorkTotals totals = orders::workTotals(db, idPor);
    orders::PaymentInput in;
    in.idPor = idPor;
    in.orderNumberText = QString::number(idPor);
    in.clientNames = head->clientNames;
    in.clientId = orders::clientDiscounts(db, head->clientNames).firmId;
    in.fee = head->taksa;
    in.labourClient = totals.labourClient;
    in.labourClerk = totals.labourClerk;
    in.parts = totals.parts;
    in.amount = head->sumAll;
    in.discount =
        head->type == 0 ? store::roundMoney(in.fee + in.parts + in.labourClient - in.amount) : 0;
    in.method = payment.method;
    in.foreignCurrencies = payment.foreignCurrencies;
    in.rates = payment.rates;
    in.userId = payment.userId;
    const orders::PaymentResult result = orders::payOrder(db, in, payment.at);
    if (!result.paid)
        refused("payment", QString::number(idPor));
    return result;
}

void goodsFile(const QString& path, const QList<GoodsRow>& rows) {
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            refused("goods file", path);
        QSqlQuery q(db);
        q.exec(QStringLiteral(
            "CREATE TABLE goods (Good TEXT, Name TEXT, Q_2 REAL, Price1_2 REAL, Price2_2 REAL)"));
        for (const GoodsRow& r : rows) {
            q.prepare(QStringLiteral("INSERT INTO goods VALUES (?, ?, ?, ?, ?)"));
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

double goodsQuantity(const QString& path, const QString& good) {
    const QString name = QUuid::createUuid().toString();
    double q2 = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT Q_2 FROM goods WHERE Good = ?"));
        q.addBindValue(good);
        q.exec();
        if (q.next())
            q2 = q.value(0).toDouble();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return q2;
}

store::Rates rates(store::Database& db, const DayRates& r) {
    const store::Rates stored{r.day, r.usd, r.eur};
    store::addRates(db, stored);
    return stored;
}

QString allRights() {
    return QString(store::kRightsCount, QLatin1Char('1'));
}

QString rightsWith(std::initializer_list<store::Right> granted) {
    QString rights(store::kRightsCount, QLatin1Char('0'));
    for (store::Right r : granted)
        rights[store::position(r) - 1] = QLatin1Char('1');
    return rights;
}

QString allRightsBut(std::initializer_list<store::Right> withheld) {
    QString rights = allRights();
    for (store::Right r : withheld)
        rights[store::position(r) - 1] = QLatin1Char('0');
    return rights;
}

shell::Session session(const QString& rights, const User& user) {
    return shell::Session(shell::LoggedInUser{user.id, user.nick, user.name, rights},
                          user.workstation);
}

shell::Session session(store::Database& db, const QString& rights, const User& user) {
    return shell::Session(shell::LoggedInUser{user.id, user.nick, user.name, rights},
                          user.workstation, shell::BusinessSettings::load(db));
}

} // namespace builders
