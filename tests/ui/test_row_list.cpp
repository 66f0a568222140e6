#include "store/database.h"
#include "store/list_query.h"
#include "store/transaction.h"
#include "support/builders.h"
#include "support/test_environment.h"
#include "ui/row_list.h"

#include <QSqlQueryModel>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>

using testing::TestEnvironment;

namespace {

// More suppliers than a SQL model reads in its first batch.
void addSuppliers(store::Database& db, int count) {
    store::Transaction tx(db);
    for (int i = 0; i < count; ++i)
        builders::supplier(db, QString("Доставчик %1").arg(i, 4, 10, QChar('0')));
    tx.commit();
}

// Opens the delegate's style option to the test.
struct DelegateProbe : ui::CellTextDelegate {
    using ui::CellTextDelegate::initStyleOption;
};

} // namespace

class TestRowList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void selectsRowNotFetchedYet() {
        TestEnvironment env;
        auto db = env.newDatabase();
        addSuppliers(*db, 1200);
        QSqlQueryModel model;
        ui::showRows(model, store::listQuery(*db, "SELECT Name, id FROM delivers ORDER BY id"),
                     {"Име"});
        QTableView view;
        view.setModel(&model);
        ui::prepareRowList(&view);
        const int fetched = model.rowCount();
        QVERIFY2(fetched < 1200, "the model must hold rows back for this test to mean anything");

        const qint64 last = db->scalar("SELECT max(id) FROM delivers").toLongLong();
        QVERIFY(ui::selectRowWithId(&view, 1, last));
        QCOMPARE(ui::currentRowId(&view, 1), std::optional<qint64>(last));
        QCOMPARE(view.currentIndex().row(), 1199);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Име"));

        QVERIFY(!ui::selectRowWithId(&view, 1, last + 1));
        // A failed look-up leaves the current row alone.
        QCOMPARE(ui::currentRowId(&view, 1), std::optional<qint64>(last));
    }

    void emptyListHasNoCurrentRow() {
        TestEnvironment env;
        auto db = env.newDatabase();
        QSqlQueryModel model;
        ui::showRows(model, store::listQuery(*db, "SELECT Name, id FROM delivers"), {"Име"});
        QTableView view;
        view.setModel(&model);
        QVERIFY(!ui::selectRowWithId(&view, 1, 1));
        QCOMPARE(ui::currentRowId(&view, 1), std::nullopt);
    }

    void refusedQueryThrows() {
        TestEnvironment env;
        auto db = env.newDatabase();
        QVERIFY_THROWS_EXCEPTION(store::DbError,
                                 store::listQuery(*db, "SELECT nothing FROM no_such_table"));
    }

    void cellsShowAsPrinted_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("rightAligned");
        QTest::newRow("amount") << QVariant(1234.5) << "1 234,50" << true;
        QTest::newRow("stored date") << QVariant("2024-03-05") << "05.03.2024" << false;
        QTest::newRow("flag") << QVariant(true) << "Да" << false;
        QTest::newRow("text") << QVariant("Иван") << "Иван" << false;
        QTest::newRow("null") << QVariant() << "" << false;
    }
    void cellsShowAsPrinted() {
        QFETCH(QVariant, value);
        QFETCH(QString, shown);
        QFETCH(bool, rightAligned);
        QStandardItemModel model(1, 1);
        model.setData(model.index(0, 0), value);
        QTableView view;
        view.setModel(&model);
        ui::prepareRowList(&view);
        QVERIFY(qobject_cast<ui::CellTextDelegate*>(view.itemDelegate()));
        DelegateProbe delegate;
        QCOMPARE(delegate.displayText(model.index(0, 0).data(), QLocale()), shown);
        QStyleOptionViewItem option;
        option.initFrom(&view);
        delegate.initStyleOption(&option, model.index(0, 0));
        QCOMPARE(bool(option.displayAlignment & Qt::AlignRight), rightAligned);
    }
};

QTEST_MAIN(TestRowList)
#include "test_row_list.moc"
