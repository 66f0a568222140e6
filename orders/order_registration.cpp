#include "orders/order_registration.h"

#include "orders/order_texts.h"
#include "store/database.h"
#include "store/registration_number.h"
#include "store/sql_helpers.h"
#include "store/sql_values.h"
#include "store/transaction.h"
#include "vehicles/car_register.h"

namespace orders {

namespace {

const QString kColumns = QStringLiteral(
    "(idPor, PorDate, marka, model, modify, serial, aks, defect, ready, payed, fiscal, SaveCode, "
    "YearMade, por_note, clientnames, clientadres, clientphones, endDate, warName, codeGet, "
    "porState, typeWarr)");

const QString kValues = QStringLiteral(
    "values (:idPor, :PorDate, :marka, :model, :modify, :serial, :aks, :defect, false, false, "
    ":fiscal, :SaveCode, :YearMade, :por_note, :clientnames, :clientadres, :clientphones, "
    ":endDate, :warName, 'REP', 1, :typeWarr)");

store::Binds orderBinds(const NewOrder& o, qint64 number, const QDate& today) {
    return {{"idPor", number},
            {"PorDate", today},
            {"marka", o.marka},
            {"model", o.model},
            {"modify", o.modify},
            {"serial", o.regNo},
            {"aks", o.aks},
            {"defect", o.defect},
            {"fiscal", o.couppe},
            {"SaveCode", o.km},
            {"YearMade", o.year},
            {"por_note", o.note},
            {"clientnames", o.clientName},
            {"clientadres", o.clientAdres},
            {"clientphones", o.clientPhone},
            {"endDate", o.dueDate},
            {"warName", o.engine},
            {"typeWarr", o.type}};
}

void insertOrderRow(store::Database& db, const NewOrder& order, qint64 number, const QDate& today) {
    db.exec(QStringLiteral("INSERT INTO porychka ") + kColumns + QLatin1Char(' ') + kValues,
            orderBinds(order, number, today));
}

void insertHomeVisit(store::Database& db, const NewOrder& order, qint64 number) {
    db.exec(QStringLiteral("INSERT INTO homevisit (DateVisit, Notes, ClientName, ClientAdres, "
                           "visited, idContract, idClerk, field1) VALUES (:d, '', :name, "
                           ":adres, false, 0, 0, :por)"),
            {{"d", order.dueDate},
             {"name", order.clientName},
             {"adres", order.clientAdres},
             {"por", QString::number(number)}});
}

QString quotedText(const QString& text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString textOrEmpty(const QVariant& value) {
    return value.isNull() ? QString() : value.toString();
}

} // namespace

NewOrder trimmed(NewOrder order) {
    for (QString* text : {&order.clientName, &order.clientAdres, &order.clientPhone, &order.regNo,
                          &order.couppe, &order.engine})
        *text = text->trimmed();
    order.regNo = store::normalRegistrationNumber(order.regNo);
    return order;
}

std::optional<OrderProblem> checkNewOrder(const NewOrder& order, const QDate& today) {
    const std::pair<const QString*, OrderProblem> required[] = {
        {&order.clientName,
         {OrderField::ClientName, QStringLiteral("Трябва да въведете имената на клиента!")}},
        {&order.clientAdres,
         {OrderField::ClientAdres, QStringLiteral("Трябва да въведете адреса на клиента!")}},
        {&order.clientPhone,
         {OrderField::ClientPhone, QStringLiteral("Трябва да въведете телефон на клиента!")}},
        {&order.marka, {OrderField::Marka, QStringLiteral("Трябва да въведете марка!")}},
        {&order.model, {OrderField::Model, QStringLiteral("Трябва да въведете модела!")}},
        {&order.year,
         {OrderField::Year, QStringLiteral("Трябва да въведете годината на производство!")}},
        {&order.regNo,
         {OrderField::RegNo,
          QStringLiteral("Трябва да въведете регистрационния номер на автомобила!")}},
        {&order.km, {OrderField::Km, QStringLiteral("Трябва да въведете километрите!")}},
    };
    for (const auto& [text, problem] : required) {
        if (text->trimmed().isEmpty())
            return problem;
    }
    if (const auto year = vehicles::productionYearProblem(order.year, today.year()))
        return OrderProblem{OrderField::Year, *year};
    // A car promised back, or a visit booked, more than a year ahead is a typing slip.
    if (order.dueDate.isValid() && order.dueDate > today.addYears(1))
        return OrderProblem{OrderField::DueDate,
                            QStringLiteral("Датата трябва да е до %1!")
                                .arg(today.addYears(1).toString(QStringLiteral("dd.MM.yyyy")))};
    return std::nullopt;
}

std::optional<qint64> proposedOrderNumber(store::Database& db) {
    return store::nextNumber(db, QStringLiteral("porychka"), QStringLiteral("idPor"));
}

bool orderNumberTaken(store::Database& db, qint64 number) {
    return !db.scalar(QStringLiteral("SELECT idPor FROM porychka WHERE idPor = :n"),
                      {{"n", number}})
                .isNull();
}

QDate dueDateForType(const QDate& today, int type) {
    return today.addDays(2 - type);
}

QString insertStatementText(const NewOrder& o, qint64 number, const QDate& today) {
    const QString dateForm = QStringLiteral("yyyy-MM-dd");
    const QStringList values = {QString::number(number),   quotedText(today.toString(dateForm)),
                                quotedText(o.marka),       quotedText(o.model),
                                quotedText(o.modify),      quotedText(o.regNo),
                                quotedText(o.aks),         quotedText(o.defect),
                                QStringLiteral("false"),   QStringLiteral("false"),
                                quotedText(o.couppe),      quotedText(o.km),
                                quotedText(o.year),        quotedText(o.note),
                                quotedText(o.clientName),  quotedText(o.clientAdres),
                                quotedText(o.clientPhone), quotedText(o.dueDate.toString(dateForm)),
                                quotedText(o.engine),      QStringLiteral("'REP'"),
                                QStringLiteral("1"),       QString::number(o.type)};
    return QStringLiteral("insert into porychka\n") + kColumns + QStringLiteral("\nvalues (") +
           values.join(QStringLiteral(", ")) + QLatin1Char(')');
}

RegisteredOrder registerOrder(store::Database& db, const NewOrder& order, qint64 wantedNumber,
                              const QDate& today) {
    const auto insert = [&](qint64 number) { insertOrderRow(db, order, number, today); };
    store::Transaction tx(db);
    qint64 number = wantedNumber;
    bool inserted = false;
    if (!orderNumberTaken(db, wantedNumber)) {
        try {
            store::Transaction attempt(db);
            insert(wantedNumber);
            attempt.commit();
            inserted = true;
        } catch (const store::DbError&) {
            // Only a number taken meanwhile is worth another try; any other refusal stands.
            if (!orderNumberTaken(db, wantedNumber))
                throw;
        }
    }
    if (!inserted)
        number = store::insertWithNextNumber(db, QStringLiteral("porychka"),
                                             QStringLiteral("idPor"), wantedNumber, insert);
    if (order.place == RepairPlace::HomeVisit)
        insertHomeVisit(db, order, number);
    tx.commit();
    return {number, insertStatementText(order, number, today)};
}

std::optional<EarlierOrder> latestOrderOfCar(store::Database& db, const QString& regNo) {
    if (regNo.isEmpty())
        return std::nullopt;
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT marka, model, Modify, warName, YearMade, clientnames, clientadres, "
                       "clientphones, fiscal FROM porychka WHERE serial = :reg "
                       "ORDER BY idPor DESC"),
        // Numbers are stored in their one form: an exact match, found through the index.
        {{"reg", store::normalRegistrationNumber(regNo)}});
    if (!q.next())
        return std::nullopt;
    EarlierOrder o;
    QString* fields[] = {&o.marka,      &o.model,       &o.modify,      &o.engine, &o.year,
                         &o.clientName, &o.clientAdres, &o.clientPhone, &o.couppe};
    for (int i = 0; i < int(std::size(fields)); ++i)
        *fields[i] = textOrEmpty(q.value(i));
    return o;
}

QList<PreviousRepair> previousRepairs(store::Database& db, const QString& marka,
                                      const QString& model, const QString& regNo) {
    const store::Dialect& d = db.dialect();
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT idPor, PorDate, readyDate, typeWarr, porState, SaveCode, defect, "
                       "sumall FROM porychka WHERE ") +
            QStringLiteral("serial = :reg AND ") +
            d.caseInsensitiveLike(QStringLiteral("marka"), QStringLiteral(":marka")) +
            QStringLiteral(" AND ") +
            d.caseInsensitiveLike(QStringLiteral("model"), QStringLiteral(":model")) +
            QStringLiteral(" ORDER BY PorDate, idPor"),
        {{"marka", store::literalPattern(marka)},
         {"model", store::literalPattern(model)},
         {"reg", store::normalRegistrationNumber(regNo)}});
    QList<PreviousRepair> rows;
    while (q.next()) {
        PreviousRepair r;
        r.number = q.value(0).toLongLong();
        r.porDate = store::dateFromDb(q.value(1));
        r.readyDate = store::dateFromDb(q.value(2));
        r.typeText = newOrderTypeText(q.value(3));
        r.state = stateText(q.value(4));
        r.km = textOrEmpty(q.value(5));
        r.defect = textOrEmpty(q.value(6));
        r.amount = store::amountFromDb(q.value(7));
        rows << r;
    }
    return rows;
}

QString symptomLine(const QString& description, const QVariant& group, const QVariant& code) {
    QString line = description;
    if (!group.isNull() && !group.toString().isEmpty())
        line += QStringLiteral(", група: ") + group.toString();
    if (!code.isNull() && !code.toString().isEmpty())
        line += QStringLiteral(", код: ") + code.toString();
    return line + QLatin1Char(';');
}

QString appendLine(const QString& text, const QString& line) {
    if (text.isEmpty())
        return line;
    return text.endsWith(QLatin1Char('\n')) ? text + line : text + QLatin1Char('\n') + line;
}

void blankEngineNumbers(store::Database& db) {
    db.exec(QStringLiteral("UPDATE porychka SET warName = :empty"),
            {{QStringLiteral("empty"), QString()}});
}

} // namespace orders
