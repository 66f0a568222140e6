#include "support/test_environment.h"
#include "ui/grid_printer.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>

using testing::TestEnvironment;

namespace {

// Text of a PDF's pages (all, or first..last).
QString pdfText(const QString& pdf, int first = 0, int last = 0) {
    QStringList args{"-layout"};
    if (first > 0)
        args << "-f" << QString::number(first) << "-l" << QString::number(last);
    args << pdf << "-";
    QProcess process;
    process.start("pdftotext", args);
    if (!process.waitForFinished(20000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
    QProcess process;
    process.start("pdfinfo", {pdf});
    process.waitForFinished(20000);
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    const qsizetype at = info.indexOf("Pages:");
    return at < 0 ? 0 : info.mid(at + 6).section('\n', 0, 0).trimmed().toInt();
}

void fill(QStandardItemModel& model, int rows) {
    model.setColumnCount(4);
    model.setHorizontalHeaderLabels({"Дата", "Основание", "Сума", "Валута"});
    for (int r = 0; r < rows; ++r) {
        QList<QStandardItem*> items;
        for (const QVariant& v : {QVariant(QDate(2024, 3, 1).addDays(r % 28)),
                                  QVariant(QString("Плащане по поръчка %1").arg(1000 + r)),
                                  QVariant(1234.5 + r), QVariant("лв.")}) {
            auto* item = new QStandardItem;
            item->setData(v, Qt::DisplayRole);
            items << item;
        }
        model.appendRow(items);
    }
}

QSizeF pdfPageSize(const QString& pdf) {
    QProcess process;
    process.start("pdfinfo", {pdf});
    process.waitForFinished(20000);
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression size("Page size:\\s+([0-9.]+) x ([0-9.]+)");
    const QRegularExpressionMatch m = size.match(info);
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

// A list as wide as the workshop's widest: each set of columns holds a date, an order number,
// a registration and a catalogue number, a long description, amounts, a rate, a time and a
// yes/no.
const QStringList kWideHeaders = {"Дата",     "Поръчка", "Рег. номер", "Каталожен номер",
                                  "Описание", "Брой",    "Ед. цена",   "Сума",
                                  "Курс",     "Приета",  "Платена"};

QString description(int row) {
    return QString("Смяна на масло и филтри, проверка на спирачната система и окачването, "
                   "поръчка №%1")
        .arg(1000 + row);
}

QList<QVariant> wideValues(int row) {
    return {QDate(2026, 11, 1).addDays(row % 30),
            10000 + row,
            QString("СА %1 ВР").arg(1000 + row),
            QString("06A-115-%1-B").arg(100 + row),
            description(row),
            row % 7 + 1,
            826.89 + row,
            1234567.89 + row * 1111.11,
            1.95583,
            QDateTime(QDate(2026, 11, 24), QTime(8, row % 60)),
            row % 2 == 0};
}

void fillWide(QStandardItemModel& model, int rows, int sets) {
    QStringList headers;
    for (int s = 0; s < sets; ++s)
        for (const QString& h : kWideHeaders)
            headers << (s == 0 ? h : h + QString::number(s + 1));
    model.setColumnCount(int(headers.size()));
    model.setHorizontalHeaderLabels(headers);
    for (int r = 0; r < rows; ++r) {
        QList<QStandardItem*> items;
        for (int s = 0; s < sets; ++s) {
            for (const QVariant& v : wideValues(r)) {
                auto* item = new QStandardItem;
                item->setData(v, Qt::DisplayRole);
                items << item;
            }
        }
        model.appendRow(items);
    }
}

} // namespace

class TestGridPrinter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void headerCarriesTitleAndPeriod();
    void printedGridShowsTitleRowsAndFooter();
    void longListRepeatsHeaderOnEveryPage();
    void wideListKeepsEveryValueWholeAndEveryRowOnOnePage_data();
    void wideListKeepsEveryValueWholeAndEveryRowOnOnePage();
    void totalsFollowTheLastRowOnly();
    void emptyListPrintsNothing();
    void previewOpensOnAList();
};

void TestGridPrinter::headerCarriesTitleAndPeriod() {
    ui::GridPrinter plain({}, {.title = "Справка продажби"});
    QCOMPARE(plain.headerLines(), QStringList({"Справка продажби"}));
    ui::GridPrinter period({}, {.title = "Справка доставки за периода",
                                .from = QDate(2024, 3, 1),
                                .to = QDate(2024, 3, 31)});
    QCOMPARE(period.headerLines(),
             QStringList({"Справка доставки за периода", "от 01.03.2024 до 31.03.2024"}));
}

void TestGridPrinter::printedGridShowsTitleRowsAndFooter() {
    TestEnvironment env;
    QStandardItemModel model;
    fill(model, 3);
    QTableView view;
    view.setModel(&model);
    view.setColumnHidden(3, true);
    const ui::GridPrinter printer(ui::GridData::fromView(view), {.title = "Справка каса",
                                                                 .from = QDate(2024, 3, 1),
                                                                 .to = QDate(2024, 3, 31),
                                                                 .footer = "Автосервиз Тест"});
    const QString pdf = env.path("kasa.pdf");
    QVERIFY(printer.writePdf(pdf));
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains("Справка каса"), qPrintable(text));
    QVERIFY(text.contains("от 01.03.2024 до 31.03.2024"));
    QVERIFY(text.contains("Основание"));
    QVERIFY(text.contains("Плащане по поръчка 1001"));
    QVERIFY(text.contains("02.03.2024"));
    QVERIFY(text.contains("1 235,50"));
    QVERIFY(text.contains("Автосервиз Тест"));
    QVERIFY(text.contains("Стр. 1 от 1"));
    QVERIFY(!text.contains("Валута")); // hidden column
    QCOMPARE(pdfPages(pdf), 1);
}

void TestGridPrinter::longListRepeatsHeaderOnEveryPage() {
    TestEnvironment env;
    QStandardItemModel model;
    fill(model, 150);
    const ui::GridPrinter printer(ui::GridData::fromModel(model), {.title = "Справка каса"});
    const QString pdf = env.path("long.pdf");
    QVERIFY(printer.writePdf(pdf));
    const int pages = pdfPages(pdf);
    QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
    const QString all = pdfText(pdf);
    for (int r = 0; r < 150; ++r)
        QVERIFY2(all.contains(QString("Плащане по поръчка %1").arg(1000 + r)),
                 qPrintable(QString::number(r)));
    const QString second = pdfText(pdf, 2, 2);
    QVERIFY(second.contains("Справка каса"));
    QVERIFY(second.contains("Основание"));
    QVERIFY(second.contains(ui::commonPrintFooter()));
    QVERIFY(second.contains(QString("Стр. 2 от %1").arg(pages)));
}

void TestGridPrinter::wideListKeepsEveryValueWholeAndEveryRowOnOnePage_data() {
    QTest::addColumn<int>("sets");
    QTest::addColumn<bool>("landscape");
    QTest::newRow("four columns") << 0 << false;
    QTest::newRow("eleven columns") << 1 << true;
    QTest::newRow("twenty-two columns") << 2 << true;
}

void TestGridPrinter::wideListKeepsEveryValueWholeAndEveryRowOnOnePage() {
    QFETCH(int, sets);
    QFETCH(bool, landscape);
    TestEnvironment env;
    QStandardItemModel model;
    if (sets == 0)
        fill(model, 100);
    else
        fillWide(model, 100, sets);
    const ui::GridData data = ui::GridData::fromModel(model);
    const ui::GridPrinter printer(data, {.title = "Справка за ремонтите"});
    const QString pdf = env.path("wide.pdf");
    QVERIFY(printer.writePdf(pdf));
    const QSizeF size = pdfPageSize(pdf);
    QCOMPARE(size.width() > size.height(), landscape);

    const int pages = pdfPages(pdf);
    QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
    QStringList pageTexts;
    for (int p = 1; p <= pages; ++p)
        pageTexts << pdfText(pdf, p, p);

    // Every page repeats the title, the column headers (which may wrap between words) and its
    // number.
    for (int p = 0; p < pages; ++p) {
        const QString& text = pageTexts[p];
        QVERIFY2(text.contains("Справка за ремонтите"), qPrintable(text));
        for (const QString& header : data.headers)
            for (const QString& word : header.split(' '))
                QVERIFY2(text.contains(word),
                         qPrintable(QString("page %1: %2").arg(p + 1).arg(word)));
        QVERIFY(text.contains(QString("Стр. %1 от %2").arg(p + 1).arg(pages)));
    }

    // Each row: one line holds all of its values whole, in their order, and the rest of its
    // wrapped description is on the same page.
    for (int r = 0; r < data.rows.size(); ++r) {
        QStringList pattern;
        for (const ui::GridCell& cell : data.rows[r]) {
            // The long description may wrap between its words: it begins on the line.
            if (cell.text == description(r)) {
                pattern << QRegularExpression::escape(cell.text.section(' ', 0, 0)) + "[^\\n]*";
                continue;
            }
            QStringList words;
            for (const QString& word : cell.text.split(' '))
                words << QRegularExpression::escape(word);
            pattern << words.join(" +");
        }
        const QRegularExpression line("(^| )" + pattern.join(" +") + "( |$)",
                                      QRegularExpression::MultilineOption);
        int page = -1;
        for (int p = 0; p < pages && page < 0; ++p) {
            if (line.match(pageTexts[p]).hasMatch())
                page = p;
        }
        QVERIFY2(page >= 0, qPrintable(QString("row %1: %2").arg(r).arg(pattern.join(" "))));
        if (sets > 0)
            QVERIFY2(pageTexts[page].contains(QString("№%1").arg(1000 + r)),
                     qPrintable(QString("row %1 runs onto the next page").arg(r)));
    }
}

void TestGridPrinter::totalsFollowTheLastRowOnly() {
    TestEnvironment env;
    QStandardItemModel model;
    fillWide(model, 100, 1);
    const QString totals =
        "Общо: 100 поръчки; труд 12 345,60; части 123 456 789,01; печалба 9 876,54";
    const ui::GridPrinter printer(ui::GridData::fromModel(model),
                                  {.title = "Справка за ремонтите", .totals = {totals}});
    const QString pdf = env.path("totals.pdf");
    QVERIFY(printer.writePdf(pdf));
    const int pages = pdfPages(pdf);
    QVERIFY(pages >= 2);
    for (int p = 1; p < pages; ++p)
        QVERIFY2(!pdfText(pdf, p, p).contains("Общо:"), qPrintable(QString::number(p)));
    const QString last = pdfText(pdf, pages, pages);
    QVERIFY2(last.contains(totals), qPrintable(last));
    // Under the last row.
    QVERIFY(last.indexOf(description(99).section(' ', 0, 0)) < last.indexOf(totals));
    QVERIFY(last.contains(QString("10099")));
}

void TestGridPrinter::emptyListPrintsNothing() {
    TestEnvironment env;
    QStandardItemModel model(0, 3);
    QTableView view;
    view.setModel(&model);
    bool previewShown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            previewShown = true;
            d->reject();
        }
    });
    watch.start(20);
    QVERIFY(!ui::printGrid(nullptr, view, {.title = "Справка"}));
    QVERIFY(!previewShown);
}

void TestGridPrinter::previewOpensOnAList() {
    TestEnvironment env;
    QStandardItemModel model;
    fill(model, 2);
    QTableView view;
    view.setModel(&model);
    QString title;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            title = d->windowTitle();
            d->reject();
        }
    });
    watch.start(20);
    QVERIFY(ui::printGrid(nullptr, view, {.title = "Справка продажби"}));
    QVERIFY2(title.contains("Справка продажби"), qPrintable(title));
}

QTEST_MAIN(TestGridPrinter)
#include "test_grid_printer.moc"
