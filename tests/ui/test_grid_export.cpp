#include "support/test_environment.h"
#include "ui/grid_data.h"
#include "ui/grid_export.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QXmlStreamReader>
#include <clocale>
#include <unistd.h>

using testing::TestEnvironment;

namespace {

// Remembers where each save dialog would have started.
class RecordingResponder : public testing::ScriptedResponder {
public:
    QStringList proposedPaths;
    QStringList captions;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                         const QString& filter) override {
        captions << caption;
        proposedPaths << proposed;
        return ScriptedResponder::saveFileName(parent, caption, proposed, filter);
    }
};

// A cell of the first worksheet as stored in the workbook.
struct XlsxCell {
    QString type; // "s" shared text, "n" number, "b" boolean, "str"/"inlineStr" text
    QString value;
    QString numberFormat;
};

QByteArray unzipped(const QString& archive, const QString& member) {
    QProcess unzip;
    unzip.start("unzip", {"-p", archive, member});
    if (!unzip.waitForFinished(10000) || unzip.exitCode() != 0)
        return {};
    return unzip.readAllStandardOutput();
}

QStringList sharedStrings(const QByteArray& xml) {
    QStringList strings;
    QXmlStreamReader reader(xml);
    QString current;
    bool inItem = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"si") {
            inItem = true;
            current.clear();
        } else if (inItem && reader.isStartElement() && reader.name() == u"t") {
            current += reader.readElementText();
        } else if (reader.isEndElement() && reader.name() == u"si") {
            strings << current;
            inItem = false;
        }
    }
    return strings;
}

// Style index -> number format code.
QStringList styleFormats(const QByteArray& xml) {
    QMap<int, QString> custom;
    QStringList formats;
    QXmlStreamReader reader(xml);
    bool inCellXfs = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement()) {
            if (reader.isEndElement() && reader.name() == u"cellXfs")
                inCellXfs = false;
            continue;
        }
        if (reader.name() == u"numFmt")
            custom[reader.attributes().value("numFmtId").toInt()] =
                reader.attributes().value("formatCode").toString();
        else if (reader.name() == u"cellXfs")
            inCellXfs = true;
        else if (inCellXfs && reader.name() == u"xf")
            formats << custom.value(reader.attributes().value("numFmtId").toInt(),
                                    reader.attributes().value("numFmtId").toString());
    }
    return formats;
}

// Rows of the first worksheet, cells resolved to their texts or numbers.
QList<QList<XlsxCell>> readSheet(const QString& path) {
    const QStringList strings = sharedStrings(unzipped(path, "xl/sharedStrings.xml"));
    const QStringList formats = styleFormats(unzipped(path, "xl/styles.xml"));
    QList<QList<XlsxCell>> rows;
    QXmlStreamReader reader(unzipped(path, "xl/worksheets/sheet1.xml"));
    XlsxCell cell;
    int column = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"row") {
            rows.append(QList<XlsxCell>());
        } else if (reader.isStartElement() && reader.name() == u"c") {
            const QString ref = reader.attributes().value("r").toString();
            column = ref.at(0).unicode() - 'A';
            cell = {reader.attributes().value("t").toString(),
                    {},
                    formats.value(reader.attributes().value("s").toInt())};
            if (cell.type.isEmpty())
                cell.type = "n";
        } else if (reader.isStartElement() && (reader.name() == u"v" || reader.name() == u"t")) {
            cell.value = reader.readElementText();
            if (cell.type == "s")
                cell.value = strings.value(cell.value.toInt());
        } else if (reader.isEndElement() && reader.name() == u"c") {
            while (rows.last().size() < column)
                rows.last().append(XlsxCell());
            rows.last().append(cell);
        }
    }
    return rows;
}

// A list as a window would show it: a key column hidden, the date moved to the front.
struct Grid {
    QStandardItemModel model{0, 6};
    QTableView view;

    Grid() {
        model.setHorizontalHeaderLabels({"id", "Клиент", "Сума", "Брой", "Дата", "Платено"});
        addRow(17, "Иван's \"Авто\" & Co <ООД>", 1234.5, 3, QDate(2024, 3, 5), true);
        addRow(18, "Петров", -0.1, 0, QDate(2023, 12, 31), false);
        // Straight from the embedded database: a date in its storage text, an empty amount.
        QList<QStandardItem*> raw;
        for (const QVariant& v : {QVariant(19), QVariant("Кирил"), QVariant(), QVariant(1),
                                  QVariant("2024-02-29"), QVariant(false)}) {
            auto* item = new QStandardItem;
            item->setData(v, Qt::DisplayRole);
            raw << item;
        }
        model.appendRow(raw);
        view.setModel(&model);
        view.setColumnHidden(0, true);
        view.horizontalHeader()->moveSection(4, 1); // date shown right after the hidden id
    }

    void addRow(int id, const QString& name, double sum, int count, const QDate& date, bool paid) {
        QList<QStandardItem*> items;
        for (const QVariant& v : {QVariant(id), QVariant(name), QVariant(sum), QVariant(count),
                                  QVariant(date), QVariant(paid)}) {
            auto* item = new QStandardItem;
            item->setData(v, Qt::DisplayRole);
            items << item;
        }
        model.appendRow(items);
    }
};

// Excel's day number of a date (1900 date system).
QString serial(const QDate& date) {
    return QString::number(QDate(1899, 12, 30).daysTo(date));
}

QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Reads a workbook as a spreadsheet program would (openpyxl), and the raw texts of its cell
// values and column widths; prints them as JSON. A number written with a decimal comma makes
// the load fail.
const char* const kReaderScript = R"PY(
import json, re, sys, zipfile
import openpyxl

path = sys.argv[1]
sheet = openpyxl.load_workbook(path).worksheets[0]
rows = []
for row in sheet.iter_rows():
    cells = []
    for c in row:
        v = c.value
        kind = type(v).__name__
        if hasattr(v, "isoformat"):
            v = v.isoformat()
        cells.append({"kind": kind, "value": v, "format": c.number_format})
    rows.append(cells)
widths = {k: d.width for k, d in sheet.column_dimensions.items()}
xml = zipfile.ZipFile(path).read("xl/worksheets/sheet1.xml").decode("utf-8")
raw = dict(re.findall(r'<c r="([A-Z]+[0-9]+)"[^>]*><v>([^<]*)</v>', xml))
rawWidths = re.findall(r'<col [^>]*width="([^"]*)"', xml)
print(json.dumps({"rows": rows, "widths": widths, "raw": raw, "rawWidths": rawWidths}))
)PY";

// Debian's interpreter, where python3-openpyxl installs, before any other on the path.
QString python() {
    const QString debian = QStandardPaths::findExecutable("python3", {"/usr/bin"});
    return debian.isEmpty() ? QStandardPaths::findExecutable("python3") : debian;
}

QJsonObject readBack(const TestEnvironment& env, const QString& workbook, QString* errors) {
    const QString script = env.path("read_xlsx.py");
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly) || file.write(kReaderScript) < 0)
        return {};
    file.close();
    QProcess reader;
    reader.start(python(), {script, workbook});
    if (!reader.waitForFinished(30000) || reader.exitCode() != 0) {
        *errors = QString::fromUtf8(reader.readAllStandardError());
        return {};
    }
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}

} // namespace

class TestGridExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void gridIsReadAsShown();
    void exportedWorkbookHoldsTheRowsAsShown();
    void workbookReadsBackInAnyNumericLocale_data();
    void workbookReadsBackInAnyNumericLocale();
    void proposedNamesBecomeXlsx_data();
    void proposedNamesBecomeXlsx();
    void saveDialogStartsInDocumentsWhenAsked();
    void emptyListExportsNothing();
    void cancelledDialogWritesNothing();
    void unwritablePlaceIsReportedAndLeavesNoFile_data();
    void unwritablePlaceIsReportedAndLeavesNoFile();
    void existingFileIsReplacedWhole();
};

void TestGridExport::gridIsReadAsShown() {
    Grid grid;
    const ui::GridData data = ui::GridData::fromView(grid.view);
    QCOMPARE(data.headers, QStringList({"Дата", "Клиент", "Сума", "Брой", "Платено"}));
    QCOMPARE(data.rows.size(), 3);
    QCOMPARE(data.rows[0][0].value, QVariant(QDate(2024, 3, 5)));
    QCOMPARE(data.rows[0][0].text, QString("05.03.2024"));
    QCOMPARE(data.rows[0][2].text, QString("1 234,50"));
    QCOMPARE(data.rows[1][2].text, QString("-0,10"));
    QCOMPARE(data.rows[2][0].value, QVariant(QDate(2024, 2, 29)));
    QCOMPARE(data.rows[2][2].text, QString());
    QCOMPARE(data.numericColumns, QList<bool>({false, false, true, true, false}));

    grid.view.setRowHidden(1, true);
    QCOMPARE(ui::GridData::fromView(grid.view).rows.size(), 2);
    const ui::GridData all = ui::GridData::fromModel(grid.model);
    QCOMPARE(all.headers.size(), 6);
    QCOMPARE(all.rows.size(), 3);
}

void TestGridExport::exportedWorkbookHoldsTheRowsAsShown() {
    TestEnvironment env;
    Grid grid;
    const QString target = env.path("Dostavki.xlsx");
    env.responder().fileNames << target;
    QCOMPARE(ui::exportGrid(nullptr, grid.view, {.proposedName = "Dostavki.xls"}), target);
    QVERIFY(env.responder().messages.isEmpty());

    const QList<QList<XlsxCell>> rows = readSheet(target);
    QCOMPARE(rows.size(), 4);
    QStringList headers;
    for (const XlsxCell& c : rows[0])
        headers << c.value;
    QCOMPARE(headers, QStringList({"Дата", "Клиент", "Сума", "Брой", "Платено"}));

    const QList<XlsxCell>& first = rows[1];
    QCOMPARE(first[0].type, QString("n"));
    QCOMPARE(first[0].value, serial(QDate(2024, 3, 5)));
    QCOMPARE(first[0].numberFormat, QString("dd.mm.yyyy"));
    QCOMPARE(first[1].type, QString("s"));
    QCOMPARE(first[1].value, QString("Иван's \"Авто\" & Co <ООД>"));
    QCOMPARE(first[2].type, QString("n"));
    QCOMPARE(first[2].value.toDouble(), 1234.5);
    QCOMPARE(first[3].value.toDouble(), 3.0);
    QCOMPARE(first[4].type, QString("b"));
    QCOMPARE(first[4].value, QString("1"));

    QCOMPARE(rows[2][0].value, serial(QDate(2023, 12, 31)));
    QCOMPARE(rows[2][2].value.toDouble(), -0.1);
    QCOMPARE(rows[2][4].value, QString("0"));
    // The date read as storage text is a date too; the empty amount stays empty.
    QCOMPARE(rows[3][0].value, serial(QDate(2024, 2, 29)));
    QCOMPARE(rows[3][0].numberFormat, QString("dd.mm.yyyy"));
    QCOMPARE(rows[3][1].value, QString("Кирил"));
    QVERIFY(rows[3].size() < 3 || rows[3][2].value.isEmpty());
    QCOMPARE(folderEntries(env.path("")), QStringList({"config", "data", "Dostavki.xlsx"}));
}

void TestGridExport::workbookReadsBackInAnyNumericLocale_data() {
    QTest::addColumn<QByteArray>("numericLocale");
    QTest::newRow("as the program sets it") << QByteArray("C");
    // A library or dialog may set the desktop's locale again later.
    QTest::newRow("Bulgarian desktop") << QByteArray("bg_BG.UTF-8");
}

void TestGridExport::workbookReadsBackInAnyNumericLocale() {
    QFETCH(QByteArray, numericLocale);
    TestEnvironment env;
    double noisy = 0; // a sum of amounts, 10.089999999999831 or so
    for (int i = 0; i < 1009; ++i)
        noisy += 0.01;
    QVERIFY(noisy != 10.09);
    const QString longName = "Смяна на ангренажен ремък с водна помпа и обтящна ролка";
    ui::GridData data;
    data.headers = {"Дата", "Час на приемане", "Операция", "Сума", "Курс", "Брой"};
    for (const QVariant& sum : {QVariant(noisy), QVariant(826.89), QVariant(-1234567.5)}) {
        QList<ui::GridCell> row;
        for (const QVariant& v :
             {QVariant(QDate(2026, 11, 24)), QVariant(QDateTime(QDate(2026, 11, 24), QTime(14, 7))),
              QVariant(longName), sum, QVariant(1.95583), QVariant(3)})
            row << ui::GridCell{v, ui::cellText(v)};
        data.rows << row;
    }
    data.numericColumns = {false, false, false, true, true, true};

    const QString target = env.path("Spravka.xlsx");
    QVERIFY2(std::setlocale(LC_NUMERIC, numericLocale.constData()),
             "the Bulgarian locale is missing: run scripts/install-deps.sh");
    QString reason;
    const bool written = ui::writeXlsx(data, target, &reason);
    std::setlocale(LC_NUMERIC, "C");
    QVERIFY2(written, qPrintable(reason));

    QString errors;
    const QJsonObject book = readBack(env, target, &errors);
    QVERIFY2(!book.isEmpty(), qPrintable(errors));
    const QJsonArray rows = book["rows"].toArray();
    QCOMPARE(rows.size(), 4);
    const QJsonArray headers = rows[0].toArray();
    for (int c = 0; c < data.headers.size(); ++c)
        QCOMPARE(headers[c].toObject()["value"].toString(), data.headers[c]);

    struct Expected {
        int column;
        QString kind;
        QVariant value;
        QString format;
    };
    const QList<Expected> expected = {
        {0, "datetime", "2026-11-24T00:00:00", "dd.mm.yyyy"},
        {1, "datetime", "2026-11-24T14:07:00", "dd.mm.yyyy hh:mm"},
        {2, "str", longName, "General"},
        {4, "float", 1.95583, "#,##0.00####"},
        {5, "int", 3, "General"},
    };
    const QStringList amounts = {"10.09", "826.89", "-1234567.5"};
    for (int r = 1; r <= 3; ++r) {
        const QJsonArray row = rows[r].toArray();
        for (const Expected& e : expected) {
            const QJsonObject cell = row[e.column].toObject();
            QCOMPARE(cell["kind"].toString(), e.kind);
            QCOMPARE(cell["value"].toVariant(), e.value);
            QCOMPARE(cell["format"].toString(), e.format);
        }
        // Amounts rounded to hundredths, written with a decimal point.
        const QJsonObject amount = row[3].toObject();
        QCOMPARE(amount["kind"].toString(), QString("float"));
        QCOMPARE(amount["value"].toDouble(), amounts[r - 1].toDouble());
        QCOMPARE(amount["format"].toString(), QString("#,##0.00"));
        QCOMPARE(book["raw"].toObject()[QString("D%1").arg(r + 1)].toString(), amounts[r - 1]);
        QCOMPARE(book["raw"].toObject()[QString("E%1").arg(r + 1)].toString(), QString("1.95583"));
    }

    // Every column as wide as its longest text, the widths written with a decimal point.
    const QStringList rawWidths = book["rawWidths"].toVariant().toStringList();
    QCOMPARE(rawWidths.size(), data.headers.size());
    static const QRegularExpression plainNumber("^[0-9]+(\\.[0-9]+)?$");
    for (const QString& w : rawWidths)
        QVERIFY2(plainNumber.match(w).hasMatch(), qPrintable(w));
    const QJsonObject widths = book["widths"].toObject();
    QVERIFY(widths["A"].toDouble() >= QString("05.03.2024").size());
    QVERIFY(widths["B"].toDouble() >= QString("Час на приемане").size());
    QVERIFY(widths["C"].toDouble() >= longName.size());
    QVERIFY(widths["D"].toDouble() >= QString("-1 234 567,50").size());
    QVERIFY(widths["C"].toDouble() > widths["A"].toDouble());
}

void TestGridExport::proposedNamesBecomeXlsx_data() {
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("expected");
    QTest::newRow(".xls") << "Dostavki.xls"
                          << "Dostavki.xlsx";
    QTest::newRow(".XLS") << "PartsInPor.XLS"
                          << "PartsInPor.XLSx";
    QTest::newRow("no extension") << "Spravka_Kasa"
                                  << "Spravka_Kasa.xlsx";
    QTest::newRow("blank inside") << "symptom codes"
                                  << "symptom codes.xlsx";
    QTest::newRow("already .xlsx") << "a.xlsx"
                                   << "a.xlsx";
}

void TestGridExport::proposedNamesBecomeXlsx() {
    QFETCH(QString, proposed);
    QFETCH(QString, expected);
    QCOMPARE(ui::xlsxFileName(proposed), expected);

    TestEnvironment env;
    RecordingResponder responder;
    ui::setResponder(&responder);
    Grid grid;
    ui::exportGrid(nullptr, grid.view,
                   {.proposedName = proposed, .dialogTitle = "Експорт на наличност части"});
    ui::setResponder(&env.responder());
    QCOMPARE(responder.proposedPaths, QStringList({expected}));
    QCOMPARE(responder.captions, QStringList({"Експорт на наличност части"}));
}

void TestGridExport::saveDialogStartsInDocumentsWhenAsked() {
    TestEnvironment env;
    RecordingResponder responder;
    ui::setResponder(&responder);
    Grid grid;
    ui::exportGrid(nullptr, grid.view, {.proposedName = "pechalbi.xls", .startInDocuments = true});
    ui::setResponder(&env.responder());
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVERIFY(!documents.isEmpty());
    QCOMPARE(responder.proposedPaths, QStringList({QDir(documents).filePath("pechalbi.xlsx")}));
}

void TestGridExport::emptyListExportsNothing() {
    TestEnvironment env;
    RecordingResponder responder;
    ui::setResponder(&responder);
    responder.fileNames << env.path("never.xlsx");
    QStandardItemModel model(0, 3);
    QTableView view;
    view.setModel(&model);
    const QString written = ui::exportGrid(nullptr, view, {.proposedName = "x.xls"});
    ui::setResponder(&env.responder());
    QVERIFY(written.isEmpty());
    QVERIFY(responder.proposedPaths.isEmpty());
    QVERIFY(responder.messages.isEmpty());
    QVERIFY(!QFile::exists(env.path("never.xlsx")));
}

void TestGridExport::cancelledDialogWritesNothing() {
    TestEnvironment env;
    Grid grid;
    const QStringList before = folderEntries(env.path(""));
    QVERIFY(ui::exportGrid(nullptr, grid.view, {.proposedName = "x.xls"}).isEmpty());
    QCOMPARE(folderEntries(env.path("")), before);
    QVERIFY(env.responder().messages.isEmpty());
}

void TestGridExport::unwritablePlaceIsReportedAndLeavesNoFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing folder") << "missing";
    QTest::newRow("folder is a file") << "file";
    QTest::newRow("name taken by a folder") << "folder";
    if (geteuid() != 0) // permissions do not stop the superuser
        QTest::newRow("read-only folder") << "readonly";
}

void TestGridExport::unwritablePlaceIsReportedAndLeavesNoFile() {
    QFETCH(QString, kind);
    TestEnvironment env;
    QDir(env.path("")).mkdir("out");
    const QString folder = env.path("out");
    QString target;
    if (kind == "missing") {
        target = folder + "/no/such/list.xlsx";
    } else if (kind == "file") {
        QFile plain(folder + "/plain");
        QVERIFY(plain.open(QIODevice::WriteOnly));
        target = folder + "/plain/list.xlsx";
    } else if (kind == "folder") {
        QDir(folder).mkdir("list.xlsx");
        target = folder + "/list.xlsx";
    } else {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        target = folder + "/list.xlsx";
    }
    const QStringList before = folderEntries(folder);
    env.responder().fileNames << target;
    Grid grid;
    QVERIFY(ui::exportGrid(nullptr, grid.view, {.proposedName = "list.xls"}).isEmpty());
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(env.responder().messages.size(), 1);
    QCOMPARE(env.responder().messages[0].caption, QString("Грешка"));
    QCOMPARE(env.responder().messages[0].text, "Грешка при записа на файла " + target);
    QCOMPARE(env.responder().messages[0].icon, ui::MessageIcon::Error);
    QCOMPARE(folderEntries(folder), before);
    if (kind == "folder")
        QVERIFY(QFileInfo(target).isDir());
}

void TestGridExport::existingFileIsReplacedWhole() {
    TestEnvironment env;
    const QString target = env.path("Spravka_Kasa.xlsx");
    {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(200000, 'x')); // longer than the new workbook
    }
    env.responder().fileNames << env.path("Spravka_Kasa"); // typed without extension
    Grid grid;
    QCOMPARE(ui::exportGrid(nullptr, grid.view, {.proposedName = "Spravka_Kasa"}), target);
    QVERIFY(QFileInfo(target).size() < 200000);
    QCOMPARE(readSheet(target).size(), 4);
    QCOMPARE(folderEntries(env.path("")), QStringList({"config", "data", "Spravka_Kasa.xlsx"}));
}

QTEST_MAIN(TestGridExport)
#include "test_grid_export.moc"
