#include "support/test_environment.h"
#include "ui/grid_printer.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QProcess>
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

} // namespace

class TestGridPrinter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void headerCarriesTitleAndPeriod();
    void printedGridShowsTitleRowsAndFooter();
    void longListRepeatsHeaderOnEveryPage();
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
