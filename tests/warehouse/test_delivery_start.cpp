#include "app/main_window.h"
#include "shell/session.h"
#include "store/database.h"
#include "store/rights.h"
#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"
#include "support/widget_access.h"
#include "ui/wait_message.h"
#include "warehouse/delivery_window.h"
#include "warehouse/suppliers_window.h"
#include "warehouse/warehouse_commands.h"
#include "warehouse/warehouse_settings.h"

#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QTest>

using namespace testing;
using store::Right;

namespace {

// The texts of the wait messages shown while it lives.
class WaitMessages : public QObject {
public:
    WaitMessages() { qApp->installEventFilter(this); }
    ~WaitMessages() override { qApp->removeEventFilter(this); }
    QStringList texts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* wait = qobject_cast<TfmMess*>(watched))
                texts << wait->text();
        }
        return false;
    }
};

// Plays the user through the delivery's dialogs: the suppliers register (entering one supplier
// when asked to), the date and the supplier choice confirmed, the delivery window closed.
struct DeliveryUser {
    bool entersSupplier = true;
    QStringList opened{};
    QString deliveryCaption{};

    int answer(QDialog& dialog) {
        opened << dialog.objectName();
        if (auto* suppliers = qobject_cast<TsrDost*>(&dialog)) {
            if (entersSupplier) {
                suppliers->newSupplier();
                child<QLineEdit>(dialog, "dbPart")->setText("Първи доставчик");
                click(dialog, "btnRec");
            }
            return QDialog::Rejected;
        }
        if (dialog.objectName() == "TsrDate" || dialog.objectName() == "TsrIzbDost") {
            dialog.show();
            click(dialog, "BitBtn1");
            return dialog.result();
        }
        if (dialog.objectName() == "TsrDostParts")
            deliveryCaption = dialog.windowTitle();
        return QDialog::Rejected;
    }
};

} // namespace

class TestDeliveryStart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void withoutSuppliersTheRegisterOpensWithTheDeliveryRightAlone_data();
    void withoutSuppliersTheRegisterOpensWithTheDeliveryRightAlone();
    void partsWindowsShowTheWaitMessageWhileLoading();
};

void TestDeliveryStart::withoutSuppliersTheRegisterOpensWithTheDeliveryRightAlone_data() {
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("entersSupplier");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<int>("questions");
    QTest::newRow("supplier entered, delivery goes on")
        << QList<bool>{true} << true
        << QStringList{"TsrDost", "TsrDate", "TsrIzbDost", "TsrDostParts"} << 1;
    QTest::newRow("no register wanted") << QList<bool>{false} << true << QStringList{} << 1;
    QTest::newRow("register closed empty, then given up")
        << QList<bool>{true, false} << false << QStringList{"TsrDost"} << 2;
}

void TestDeliveryStart::withoutSuppliersTheRegisterOpensWithTheDeliveryRightAlone() {
    QFETCH(QList<bool>, answers);
    QFETCH(bool, entersSupplier);
    QFETCH(QStringList, opened);
    QFETCH(int, questions);
    TestEnvironment env;
    auto db = env.newDatabase();
    // The delivery right without the right of the suppliers register.
    shell::Session session = builders::session(builders::allRightsBut({Right::Suppliers}));
    TsrMain window(*db, session);
    DeliveryUser user;
    user.entersSupplier = entersSupplier;
    env.responder().modalRunner = [&user](QDialog& d) { return user.answer(d); };
    for (bool a : answers)
        env.responder().answers << a;

    QVERIFY(window.runCommand("btInpPartsClick"));
    QCOMPARE(env.responder().questions.size(), questions);
    QCOMPARE(env.responder().questions.first(),
             QString("Няма въведени доставчици. Желаете ли да въведете доставчици?"));
    QCOMPARE(user.opened, opened);
    QCOMPARE(testing::rowCount(*db, "delivers"),
             opened.contains("TsrDost") && entersSupplier ? 1 : 0);
    if (opened.contains("TsrDostParts")) {
        QCOMPARE(user.deliveryCaption,
                 "Доставка от Първи доставчик на " + QDate::currentDate().toString("dd.MM.yyyy"));
    }
    // The register's own command stays closed to this user.
    user.opened.clear();
    QVERIFY(!window.runCommand("mnDostavClick"));
    QVERIFY(user.opened.isEmpty());
}

void TestDeliveryStart::partsWindowsShowTheWaitMessageWhileLoading() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::part(*db, {.name = "Диск", .amount = 3});
    shell::Session session = builders::session();
    const QString text = "Зареждане на номенклатурата, моля изчакайте ...";
    {
        WaitMessages shown;
        TsrDostParts stock(*db, session, warehouse::WarehouseSettings{});
        QCOMPARE(shown.texts, QStringList{text});
    }
    {
        WaitMessages shown;
        warehouse::Delivery delivery;
        delivery.date = QDate::currentDate();
        TsrDostParts parts(*db, session, warehouse::WarehouseSettings{}, delivery);
        QCOMPARE(shown.texts, QStringList{text});
    }
}

QTEST_MAIN(TestDeliveryStart)
#include "test_delivery_start.moc"
