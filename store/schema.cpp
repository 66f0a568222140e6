#include "store/schema.h"

#include "store/database.h"
#include "store/rights.h"

namespace store {

namespace {

using T = ColumnType;

ColumnDef col(const char* name, ColumnType type, int size = 0) {
    return ColumnDef{QString::fromLatin1(name), type, size, false, false};
}
ColumnDef key(const char* name) {
    return ColumnDef{QString::fromLatin1(name), T::AutoNumber, 0, true, false};
}
ColumnDef plainKey(const char* name, ColumnType type) {
    return ColumnDef{QString::fromLatin1(name), type, 0, true, false};
}
ColumnDef uniqueText(const char* name, int size = 0) {
    return ColumnDef{QString::fromLatin1(name), T::Text, size, false, true};
}

std::vector<TableDef> buildTables() {
    std::vector<TableDef> t;
    // Orders
    t.push_back(
        {"porychka",
         {plainKey("idPor", T::Long),   col("PorDate", T::Date),     col("marka", T::Text),
          col("model", T::Text),        col("Modify", T::Text, 30),  col("serial", T::Text),
          col("fiscal", T::Text),       col("warName", T::Text),     col("YearMade", T::Text),
          col("SaveCode", T::Text),     col("aks", T::Text),         col("defect", T::Memo),
          col("por_note", T::Text),     col("clientnames", T::Text), col("clientadres", T::Text),
          col("clientphones", T::Text), col("endDate", T::Date),     col("codeGet", T::Text),
          col("typeWarr", T::Long),     col("porState", T::Long),    col("ready", T::Bool),
          col("readyDate", T::Date),    col("idClerk", T::Long),     col("taksa", T::Float),
          col("sumtrud", T::Float),     col("sumparts", T::Float),   col("sumall", T::Float),
          col("payed", T::Bool),        col("payDate", T::Date),     col("Art", T::Text),
          col("Trud", T::Text),         col("HardwareID", T::Text),  col("SoftVersion", T::Text),
          col("HardVersion", T::Text),  col("Delivery", T::Text),    col("codeRep", T::Text),
          col("codeWar", T::Text),      col("Priority", T::Short),   col("Pech", T::Float),
          col("idPriel", T::Short)}});
    t.push_back({"PartsInPor",
                 {key("id"), col("idPor", T::Long), col("idPart", T::Long), col("amnt", T::Long),
                  col("priceLV", T::Float), col("closed", T::Bool), col("serial", T::Text, 25),
                  col("microPart", T::Text, 6), col("microBase", T::Long)}});
    t.push_back({"Jobs_In_Por",
                 {key("id"), col("idPor", T::Long), col("idOp", T::Long), col("Trud", T::Text),
                  col("Pr1", T::Float), col("Pr2", T::Float), col("idClerk", T::Long)}});
    t.push_back({"externals",
                 {key("id"), col("DateSend", T::Date), col("DateBack", T::Date),
                  col("back", T::Bool), col("Price", T::Float), col("idVal", T::Long),
                  col("Contragent", T::Text), col("idPor", T::Long), col("payed", T::Bool)}});
    t.push_back({"replaceSN",
                 {key("id"), col("idPor", T::Long), col("oldSN", T::Text), col("newSN", T::Text)}});
    t.push_back({"homevisit",
                 {key("id"), col("DateVisit", T::Date), col("TimeVisit", T::Time),
                  col("Notes", T::Text), col("ClientName", T::Text), col("ClientAdres", T::Text),
                  col("idContract", T::Long), col("visited", T::Bool), col("idClerk", T::Long),
                  col("field1", T::Text), col("field2", T::Text)}});
    t.push_back({"contracts",
                 {key("id"), col("DogNo", T::Long), col("DateDog", T::Date),
                  col("idClient", T::Long), col("opisUredi", T::Text), col("freqVisit", T::Long),
                  col("endDate", T::Date), col("Taksa", T::Float)}});
    t.push_back({"paycontracts",
                 {key("id"), col("DogNo", T::Long), col("data", T::DateTime), col("suma", T::Float),
                  col("payed", T::Bool)}});
    t.push_back(
        {"otchet_warranties",
         {key("id"), col("idDost", T::Long), col("idPor", T::Long), col("sumParts", T::Single),
          col("sumTrud", T::Single), col("otchParts", T::Single), col("otchTrud", T::Single),
          col("otchDate", T::DateTime), col("ready", T::Bool)}});
    t.push_back({"Sympt_Codes",
                 {key("ID"), col("description", T::Text), col("marka", T::Text),
                  col("code_add", T::Text), col("value", T::Float)}});
    t.push_back({"opTree", {key("id"), col("parent", T::Long), col("Classification", T::Text)}});
    t.push_back(
        {"operations",
         {key("id"), col("Classification", T::Text), col("Code", T::Text),
          col("operation", T::Text), col("clientPrice", T::Float), col("workerPrice", T::Float),
          col("warrantyPrice", T::Float), col("fromGarant", T::Float), col("idmarka", T::Long),
          col("times", T::Single), col("tree_path", T::Text, 30)}});
    t.push_back({"clerks_hours",
                 {key("id"), col("Data", T::DateTime), col("h1", T::Single), col("h2", T::Single),
                  col("idPor", T::Long), col("idClerk", T::Long), col("idOp", T::Long),
                  col("Suma", T::Single)}});
    t.push_back({"Part_Moves",
                 {key("id"), col("idPart", T::Long), col("idClerk", T::Long), col("amnt", T::Long),
                  col("serial", T::Text, 25), col("data", T::Date), col("chas", T::DateTime),
                  col("idPor", T::Long)}});
    // Warehouse
    t.push_back({"parts",
                 {key("id"), col("Part", T::Text), col("TypeID", T::Long), col("idMarka", T::Short),
                  col("PartNo", T::Text), col("catalogs", T::Text, 200),
                  col("barcode", T::Text, 13), col("Opis", T::Text), col("inPrice", T::Float),
                  col("ipVal", T::Long), col("outPrice", T::Float), col("opVal", T::Long),
                  col("salePrice", T::Float), col("amnt", T::Long)}});
    t.push_back({"typeParts", {key("id"), col("Type", T::Text)}});
    // A brand name is the identity of a part brand; the number stays the row's handle.
    t.push_back({"partMarka", {key("id"), uniqueText("Marka", 20)}});
    t.push_back(
        {"PartSN", {key("id"), col("idPart", T::Long), col("SN", T::Text), col("SN2", T::Text)}});
    t.push_back({"delivers",
                 {key("id"), col("Name", T::Text), col("Info", T::Text), col("Garant", T::Bool)}});
    t.push_back({"sprDost",
                 {key("id"), col("partID", T::Long), col("Data", T::Date), col("Price", T::Float),
                  col("idVal", T::Long), col("amnt", T::Long), col("serial", T::Text),
                  col("idDost", T::Long)}});
    t.push_back({"payments",
                 {key("id"), col("Data", T::Date), col("Chas", T::Time), col("idDost", T::Long),
                  col("Suma", T::Float), col("idVal", T::Long), col("Notes", T::Text)}});
    t.push_back({"discounts",
                 {key("id"), col("idMarka", T::Long), col("idType", T::Long),
                  col("discDlvr", T::Single), col("discSale", T::Single)}});
    // Sales. Receipt and sale-contract numbers are 32-bit so numbering cannot overflow.
    t.push_back({"sprSales",
                 {key("id"), col("idPart", T::Long), col("Data", T::Date), col("Price", T::Float),
                  col("idVal", T::Long), col("amnt", T::Long), col("notes", T::Text),
                  col("idClient", T::Long), col("RazpNo", T::Long)}});
    t.push_back({"payClient",
                 {key("id"), col("Data", T::Date), col("Chas", T::Time), col("idName", T::Long),
                  col("Suma", T::Float), col("idVal", T::Long), col("Notes", T::Text)}});
    t.push_back({"tmpSales",
                 {key("id"), col("station", T::Text), col("idPart", T::Long), col("Data", T::Date),
                  col("Price", T::Float), col("idVal", T::Long), col("amnt", T::Long),
                  col("notes", T::Text), col("idClient", T::Long)}});
    t.push_back({"sndhand",
                 {key("id"),
                  col("DogNo", T::Long),
                  col("DlvNames", T::Text, 35),
                  col("dlvAdres", T::Text, 50),
                  col("dlvLK", T::Text, 9),
                  col("dlvEGN", T::Text, 10),
                  col("dlvInfo", T::Text, 50),
                  col("art", T::Text, 50),
                  col("ArtNote", T::Text, 50),
                  col("Serial", T::Text, 25),
                  col("dateGet", T::DateTime),
                  col("dlvPrice", T::Single),
                  col("salePrice", T::Single),
                  col("saled", T::Bool),
                  col("dateSale", T::DateTime),
                  col("saleDog", T::Long),
                  col("saleInfo", T::Text, 50),
                  col("clientNames", T::Text, 50),
                  col("clientAdres", T::Text, 50),
                  col("clientInfo", T::Text, 50),
                  col("payed", T::Bool),
                  col("datePay", T::DateTime)}});
    // Finance
    t.push_back({"kasa",
                 {key("id"), col("Data", T::Date), col("Chas", T::Time), col("Suma", T::Float),
                  col("idVal", T::Long), col("Notes", T::Text), col("UserID", T::Long)}});
    t.push_back({"pech",
                 {key("id"), col("Data", T::Date), col("Pech", T::Float), col("idVal", T::Long),
                  col("idNote", T::Long)}});
    t.push_back({"valcourse", {col("Data", T::Date), col("USD", T::Float), col("EUR", T::Float)}});
    t.push_back({"currencies", {plainKey("idCur", T::Long), col("Currency", T::Text)}});
    t.push_back({"prihodi",
                 {key("id"), col("Data", T::Date), col("TypeID", T::Long), col("Suma", T::Float),
                  col("Notes", T::Text)}});
    t.push_back({"typepr", {key("id"), col("Type", T::Text)}});
    t.push_back({"expenses",
                 {key("id"), col("Data", T::Date), col("TypeID", T::Long), col("Suma", T::Float),
                  col("Notes", T::Text)}});
    t.push_back({"typeexpenses", {key("id"), col("Type", T::Text)}});
    // Invoicing
    t.push_back(
        {"firms",
         {key("ID"), uniqueText("Name"), col("DN", T::Text), col("BStat", T::Text),
          col("Adres", T::Text), col("MOL", T::Text), col("Contact", T::Text),
          col("phones", T::Text), col("email", T::Text), col("web", T::Text),
          col("MoreInfo", T::Memo), col("Reduction", T::Float), col("ReductJobs", T::Single)}});
    t.push_back({"clients", {key("id"), col("Name", T::Text)}});
    t.push_back(
        {"FactData",
         {key("id"), col("FactNo", T::Text), col("data", T::DateTime), col("ClientName", T::Text),
          col("ClientAdres", T::Text), col("ClientMOL", T::Text), col("ClientNDR", T::Text),
          col("ClientBul", T::Text), col("EndSum", T::Float), col("sumBank", T::Single),
          col("sumBroy", T::Single), col("Deleted", T::Text, 25)}});
    t.push_back({"factopis",
                 {key("id"), col("FactNo", T::Text), col("Stooka", T::Text), col("Amnt", T::Float),
                  col("EUPrice", T::Float), col("Merka", T::Text)}});
    t.push_back({"payNoFact",
                 {key("id"), col("idClient", T::Long), col("data", T::Date), col("opis", T::Text),
                  col("suma", T::Float)}});
    t.push_back({"banks",
                 {key("id"), col("Name", T::Text), col("Kod", T::Text), col("Smetka", T::Text),
                  col("ddsSmetka", T::Text)}});
    // Staff
    t.push_back({"clerks",
                 {key("id"), uniqueText("Name"), col("Info", T::Text), col("Nick", T::Text),
                  col("Password", T::Text), col("Pay", T::Float), col("Percent", T::Long),
                  col("pr_n", T::Single), col("pr_w", T::Single), col("Active", T::Bool),
                  col("Nivo", T::Long), col("worker", T::Long), col("preferences", T::Text, 60)}});
    t.push_back({"paymClerks",
                 {key("id"), col("idClerk", T::Long), col("data", T::Date), col("mesec", T::Long),
                  col("godina", T::Long), col("suma", T::Float), col("notes", T::Text),
                  col("noPor", T::Long), col("payed", T::Bool)}});
    t.push_back({"zaplati",
                 {key("id"), col("idClerk", T::Long), col("data", T::Date), col("mesec", T::Long),
                  col("godina", T::Long), col("minus", T::Float), col("percent", T::Long),
                  col("zaplata", T::Float)}});
    t.push_back({"Instruments",
                 {key("id"), col("Ured", T::Text, 50), col("serial", T::Text, 25),
                  col("Price", T::Single), col("idClerk", T::Long), col("amnt", T::Long),
                  col("Data", T::Date), col("OnStock", T::Long), col("notes", T::Text, 150)}});
    t.push_back(
        {"short_service",
         {key("id"), col("Service", T::Text, 60), col("pr1", T::Single), col("pr2", T::Single)}});
    t.push_back({"spr_shorts",
                 {key("id"), col("Service", T::Text, 60), col("idClerk", T::Long),
                  col("servDate", T::DateTime)}});
    // Vehicles
    t.push_back({"marka", {key("id"), col("Marka", T::Text)}});
    t.push_back({"models", {key("id"), col("idMarka", T::Long), col("Model", T::Text)}});
    t.push_back({"car_modifications",
                 {key("ID"), col("idMarka", T::Long), col("idModel", T::Long),
                  col("Modification", T::Text), col("period", T::Text), col("engine", T::Text),
                  col("kw", T::Text), col("ccm", T::Text)}});
    t.push_back(
        {"cars",
         {key("id"), col("Marka", T::Text, 20), col("Model", T::Text, 25),
          col("Modify", T::Text, 30), col("Period", T::Text, 15), col("Engine", T::Text, 30),
          col("kw", T::Text, 4), col("ccm", T::Text, 4), col("RegNo", T::Text, 35),
          col("Couppe", T::Text, 25), col("YearMade", T::Text, 8), col("OwnerName", T::Text, 40),
          col("OwnerAddress", T::Text, 60), col("OwnerPhone", T::Text, 30)}});
    t.push_back({"carsGTP",
                 {key("id"), col("dateGTP", T::Date), col("marka", T::Text), col("model", T::Text),
                  col("modify", T::Text), col("RegNo", T::Text), col("Couppe", T::Text),
                  col("Engine", T::Text), col("YearMade", T::Text), col("OwnerName", T::Text),
                  col("OwnerAddress", T::Text), col("OwnerPhone", T::Text), col("Taksa", T::Float),
                  col("Notes", T::Text), col("idClerk", T::Long)}});
    t.push_back({"art", {key("idArt"), col("Art", T::Text)}});
    // Settings and own data
    t.push_back({"myinfo",
                 {key("ID"), col("Name", T::Text), col("bulstat", T::Text), col("ndr", T::Text),
                  col("Adres", T::Text), col("MOL", T::Text), col("ServiceName", T::Text),
                  col("ServiceAddress", T::Text), col("ServicePhones", T::Text)}});
    t.push_back({"connect", {plainKey("id", T::Long), col("Special", T::Memo)}});
    return t;
}

std::vector<IndexDef> buildIndexes() {
    auto ix = [](const char* table, const char* columns, bool unique = false) {
        QString name = QStringLiteral("ix_%1_%2")
                           .arg(QString::fromLatin1(table), QString::fromLatin1(columns));
        name.remove(QLatin1Char(' '));
        name.replace(QLatin1Char(','), QLatin1Char('_'));
        return IndexDef{name.toLower(), QString::fromLatin1(table), QString::fromLatin1(columns),
                        unique};
    };
    return {
        ix("porychka", "serial"),
        ix("porychka", "PorDate"),
        ix("porychka", "clientnames"),
        ix("porychka", "payed, ready"),
        ix("porychka", "readyDate"),
        ix("porychka", "payDate"),
        ix("PartsInPor", "idPor"),
        ix("PartsInPor", "idPart"),
        ix("Jobs_In_Por", "idPor"),
        ix("Jobs_In_Por", "idClerk"),
        ix("externals", "idPor"),
        ix("homevisit", "DateVisit"),
        ix("contracts", "DogNo"),
        ix("paycontracts", "DogNo"),
        ix("operations", "tree_path"),
        ix("clerks_hours", "idPor"),
        ix("Part_Moves", "idPart"),
        ix("Part_Moves", "idPor"),
        ix("Part_Moves", "data"),
        ix("parts", "Part"),
        ix("parts", "PartNo"),
        ix("parts", "barcode"),
        ix("PartSN", "idPart"),
        ix("sprDost", "partID"),
        ix("sprDost", "Data"),
        ix("payments", "idDost"),
        ix("payments", "Data"),
        ix("sprSales", "idPart"),
        ix("sprSales", "Data"),
        ix("sprSales", "RazpNo"),
        ix("payClient", "idName"),
        ix("payClient", "Data"),
        ix("tmpSales", "station"),
        ix("sndhand", "DogNo"),
        ix("kasa", "Data"),
        ix("pech", "Data, idNote, idVal"),
        ix("valcourse", "Data", true),
        ix("prihodi", "Data"),
        ix("expenses", "Data"),
        ix("FactData", "FactNo"),
        ix("factopis", "FactNo"),
        ix("payNoFact", "idClient"),
        ix("paymClerks", "idClerk"),
        ix("paymClerks", "godina, mesec"),
        ix("zaplati", "idClerk"),
        ix("spr_shorts", "servDate"),
        ix("cars", "RegNo"),
        ix("carsGTP", "RegNo"),
        ix("carsGTP", "dateGTP"),
        ix("models", "idMarka"),
        ix("car_modifications", "idModel"),
    };
}

} // namespace

const std::vector<TableDef>& schemaTables() {
    static const std::vector<TableDef> tables = buildTables();
    return tables;
}

const TableDef* findTable(const QString& name) {
    for (const TableDef& t : schemaTables()) {
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

const std::vector<IndexDef>& schemaIndexes() {
    static const std::vector<IndexDef> indexes = buildIndexes();
    return indexes;
}

QStringList coreTableNames() {
    return {QStringLiteral("porychka"), QStringLiteral("parts"), QStringLiteral("clerks"),
            QStringLiteral("kasa"), QStringLiteral("firms")};
}

QString createTableStatement(const Dialect& dialect, const TableDef& table) {
    QStringList parts;
    for (const ColumnDef& c : table.columns) {
        QString line = c.name + QLatin1Char(' ') + dialect.columnType(c.type, c.size);
        if (c.primaryKey && c.type != ColumnType::AutoNumber)
            line += QStringLiteral(" NOT NULL PRIMARY KEY");
        if (c.unique)
            line += QStringLiteral(" NOT NULL UNIQUE");
        if (c.type == ColumnType::Bool)
            line += QStringLiteral(" DEFAULT ") + dialect.booleanLiteral(false);
        parts << line;
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(table.name, parts.join(QStringLiteral(", ")));
}

QString addColumnStatement(const Dialect& dialect, const QString& table, const ColumnDef& column) {
    QString type = dialect.columnType(column.type, column.size);
    if (column.type == ColumnType::AutoNumber) // never added to an existing table as a key
        type = dialect.columnType(ColumnType::Long);
    QString statement =
        QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(table, column.name, type);
    if (column.type == ColumnType::Bool)
        statement += QStringLiteral(" DEFAULT ") + dialect.booleanLiteral(false);
    return statement;
}

void createSchema(Database& db) {
    for (const TableDef& table : schemaTables())
        db.exec(createTableStatement(db.dialect(), table));
    for (const IndexDef& index : schemaIndexes())
        db.exec(db.dialect().createIndex(index.name, index.table, index.columns, index.unique));
}

void seedNewDatabase(Database& db) {
    const QStringList currencies = {QStringLiteral("лв."), QStringLiteral("USD"),
                                    QStringLiteral("EUR")};
    for (int code = 1; code <= 3; ++code) {
        db.exec(QStringLiteral("INSERT INTO currencies (idCur, Currency) VALUES (:code, :text)"),
                {{QStringLiteral("code"), code}, {QStringLiteral("text"), currencies[code - 1]}});
    }
    db.exec(QStringLiteral("INSERT INTO clerks (id, Name, Active, Nivo, worker, preferences) "
                           "VALUES (1, :name, :active, 0, 1, :rights)"),
            {{QStringLiteral("name"), QStringLiteral("Administrator")},
             {QStringLiteral("active"), true},
             {QStringLiteral("rights"), *rightsPresetForLevel(0)}});
}

} // namespace store
