#include "orders/order_parts_dialog.h"
#include "store/database.h"
#include "support/builders.h"
#include "support/test_environment.h"
#include "support/widget_access.h"
#include "warehouse/parts_list_panel.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QSet>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTreeView>

using testing::child;
using testing::click;
using testing::TestEnvironment;
using Choice = TfrmPorParts::PartChoice;

namespace {

// The picker's answer as a user gives it: the unit picked in the serial list (by its text; none
// for a part without numbers) and the quantity typed.
std::optional<Choice> pick(TfrmPorParts& d, qint64 part, const QString& unit,
                           const QString& quantity) {
    d.list()->selectPart(part);
    click(d, "btnChoose");
    auto* serials = child<QComboBox>(d, "listSN");
    if (!unit.isEmpty())
        serials->setCurrentIndex(serials->findText(unit));
    auto* amount = child<QLineEdit>(d, "eAmnt");
    if (amount->isEnabled())
        amount->setText(quantity);
    click(d, "btnRec");
    return d.choice();
}

bool amountPanelShown(TfrmPorParts& d) {
    return child<QFrame>(d, "pAmnt")->isVisible();
}

QSet<QString> groupTitles(const QTreeView& tree) {
    QSet<QString> titles;
    for (int row = 0; row < tree.model()->rowCount(); ++row)
        titles << tree.model()->index(row, 0).data().toString();
    return titles;
}

int expandedGroups(const QTreeView& tree) {
    int expanded = 0;
    for (int row = 0; row < tree.model()->rowCount(); ++row)
        expanded += tree.isExpanded(tree.model()->index(row, 0)) ? 1 : 0;
    return expanded;
}

QModelIndex leafNamed(const QTreeView& tree, const QString& part) {
    const QAbstractItemModel* m = tree.model();
    for (int g = 0; g < m->rowCount(); ++g) {
        const QModelIndex group = m->index(g, 0);
        for (int row = 0; row < m->rowCount(group); ++row) {
            if (m->index(row, 0, group).data().toString() == part)
                return m->index(row, 0, group);
        }
    }
    return {};
}

} // namespace

class TestOrderPartsPicker : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void numberedPartAlsoGivesItsUnitsWithoutNumber_data();
    void numberedPartAlsoGivesItsUnitsWithoutNumber();
    void enterAndTheMenuChooseAsTheButtonDoes();
    void groupsByTypeExpandAndCollapse();

private:
    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<store::Database> db_;
    qint64 filter_ = 0;
    qint64 oil_ = 0;
    qint64 battery_ = 0;
    qint64 numbered_ = 0;
};

void TestOrderPartsPicker::init() {
    env_ = std::make_unique<TestEnvironment>();
    db_ = env_->newDatabase();
    filter_ = builders::part(*db_, {.name = "Филтър масло", .type = "Филтри", .amount = 3});
    oil_ = builders::part(*db_, {.name = "Масло 5W30", .type = "Масла", .amount = 2});
    // Four in stock, two of them with a serial number.
    battery_ = builders::part(
        *db_, {.name = "Акумулатор", .type = "Ел. части", .amount = 4, .serials = {"A-1", "A-2"}});
    numbered_ = builders::part(
        *db_, {.name = "Стартер", .type = "Ел. части", .amount = 2, .serials = {"S-1", "S-2"}});
    builders::part(*db_, {.name = "Свещ", .type = "Ел. части", .amount = 0});
}

void TestOrderPartsPicker::cleanup() {
    db_.reset();
    env_.reset();
}

void TestOrderPartsPicker::numberedPartAlsoGivesItsUnitsWithoutNumber_data() {
    QTest::addColumn<int>("which"); // 0 battery, 1 all-numbered starter, 2 filter
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("quantityTaken"); // 0: nothing chosen
    QTest::addColumn<QString>("serialTaken");
    const QString tooMany = "Не може да въведете по-голямо количество от наличното!";
    const QStringList battery{"A-1", "A-2", "(без сериен номер)"};
    QTest::newRow("numbered unit") << 0 << "A-2"
                                   << "5" << battery << "" << 1 << "A-2";
    QTest::newRow("units without number") << 0 << "(без сериен номер)"
                                          << "2" << battery << "" << 2 << "";
    QTest::newRow("more than those without number") << 0 << "(без сериен номер)"
                                                    << "3" << battery << tooMany << 0 << "";
    QTest::newRow("every unit numbered") << 1 << "S-2"
                                         << "1" << QStringList{"S-1", "S-2"} << "" << 1 << "S-2";
    QTest::newRow("no numbers") << 2 << ""
                                << "3" << QStringList{} << "" << 3 << "";
}

void TestOrderPartsPicker::numberedPartAlsoGivesItsUnitsWithoutNumber() {
    QFETCH(int, which);
    QFETCH(QString, unit);
    QFETCH(QString, quantity);
    QFETCH(QStringList, offered);
    QFETCH(QString, message);
    QFETCH(int, quantityTaken);
    QFETCH(QString, serialTaken);
    const qint64 part = std::array{battery_, numbered_, filter_}[which];
    TfrmPorParts d(*db_);
    d.show();
    d.list()->selectPart(part);
    click(d, "btnChoose");
    auto* serials = child<QComboBox>(d, "listSN");
    QCOMPARE(serials->isVisible(), !offered.isEmpty());
    QStringList items;
    for (int i = 0; i < serials->count(); ++i)
        items << serials->itemText(i);
    QCOMPARE(items, offered);
    // A numbered unit is preselected and is one unit.
    QCOMPARE(child<QLineEdit>(d, "eAmnt")->isEnabled(), offered.isEmpty());
    click(d, "btnCancel");

    const auto chosen = pick(d, part, unit, quantity);
    QCOMPARE(env_->responder().texts(), message.isEmpty() ? QStringList{} : QStringList{message});
    QCOMPARE(chosen.has_value(), quantityTaken > 0);
    if (chosen) {
        QCOMPARE(chosen->partId, part);
        QCOMPARE(chosen->quantity, quantityTaken);
        QCOMPARE(chosen->serial, serialTaken);
    }
}

void TestOrderPartsPicker::enterAndTheMenuChooseAsTheButtonDoes() {
    TfrmPorParts d(*db_);
    d.show();
    QVERIFY(d.list()->selectPart(oil_));
    QTest::keyClick(d.list()->grid(), Qt::Key_Return);
    QVERIFY(amountPanelShown(d));
    // While the amount is asked for, the list and the dialog stay put.
    d.reject();
    QVERIFY(d.isVisible());
    click(d, "btnCancel");
    QVERIFY(!amountPanelShown(d));

    child<QAction>(d, "mnChoose")->trigger();
    QVERIFY(amountPanelShown(d));
    child<QLineEdit>(d, "eAmnt")->setText("2");
    click(d, "btnRec");
    QVERIFY(d.choice());
    QCOMPARE(d.choice()->partId, oil_);
    QCOMPARE(d.choice()->quantity, 2);
}

void TestOrderPartsPicker::groupsByTypeExpandAndCollapse() {
    TfrmPorParts d(*db_);
    d.show();
    QTreeView* tree = d.groups();
    QVERIFY(!tree->isVisible());

    // Asking to expand the groups shows the list in groups by type, every group open.
    child<QAction>(d, "N4")->trigger();
    QVERIFY(d.isGrouped());
    QVERIFY(tree->isVisible());
    QVERIFY(!d.list()->grid()->isVisible());
    QCOMPARE(groupTitles(*tree), (QSet<QString>{"Филтри", "Масла", "Ел. части"}));
    QCOMPARE(expandedGroups(*tree), 3);
    const QModelIndex electric = leafNamed(*tree, "Акумулатор").parent();
    QCOMPARE(tree->model()->rowCount(electric), 2); // the part without stock is not listed

    // The focused part's group collapses and expands; the others stay as they are.
    tree->setCurrentIndex(leafNamed(*tree, "Акумулатор"));
    QCOMPARE(d.list()->currentPartId(), std::optional<qint64>(battery_));
    child<QAction>(d, "N2")->trigger();
    QVERIFY(!tree->isExpanded(electric));
    QCOMPARE(expandedGroups(*tree), 2);
    // A group row names no part: choosing it does nothing.
    click(d, "btnChoose");
    QVERIFY(!amountPanelShown(d));
    child<QAction>(d, "N1")->trigger();
    QVERIFY(tree->isExpanded(electric));
    child<QAction>(d, "N5")->trigger();
    QCOMPARE(expandedGroups(*tree), 0);
    child<QAction>(d, "N4")->trigger();
    QCOMPARE(expandedGroups(*tree), 3);

    // A part in its group is chosen as in the plain list.
    tree->setCurrentIndex(leafNamed(*tree, "Масло 5W30"));
    click(d, "btnChoose");
    QVERIFY(amountPanelShown(d));
    child<QLineEdit>(d, "eAmnt")->setText("1");
    click(d, "btnRec");
    QCOMPARE(d.choice()->partId, oil_);

    // A search lists its result in groups too.
    d.show();
    QVERIFY(d.isGrouped());
    d.list()->showSearch();
    child<QLineEdit>(d, "searchStr")->setText("Масло*");
    click(d, "btnSpr");
    QTRY_COMPARE(groupTitles(*tree), (QSet<QString>{"Масла"}));

    // And back to the plain list.
    child<QAction>(d, "mnGroups")->setChecked(false);
    QVERIFY(!d.isGrouped());
    QVERIFY(d.list()->grid()->isVisible());
}

QTEST_MAIN(TestOrderPartsPicker)
#include "test_order_parts_picker.moc"
