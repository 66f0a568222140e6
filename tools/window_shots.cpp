// Renders windows offscreen into PNG files so that their layout can be looked at without a
// display: window_shots OUTPUT_DIR. Uses a throwaway database with a few sample rows.
#include "app/main_window.h"
#include "invoicing/client_firms.h"
#include "invoicing/clients_window.h"
#include "orders/new_order_window.h"
#include "orders/order_register_window.h"
#include "orders/order_registration.h"
#include "orders/order_report_window.h"
#include "shell/business_settings.h"
#include "shell/own_data.h"
#include "shell/session.h"
#include "store/database.h"
#include "store/rights.h"
#include "ui/grid_data.h"
#include "ui/grid_printer.h"
#include "vehicles/all_cars_window.h"
#include "vehicles/car_register.h"
#include "vehicles/car_register_window.h"
#include "vehicles/vehicle_catalogue.h"
#include "warehouse/parts_window.h"
#include "warehouse/warehouse_settings.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

void sampleData(store::Database& db) {
    const QStringList firms = {"Авто Сервиз ООД", "Д'Артанян ЕООД", "Иван Петров",
                               "Транспорт БГ АД"};
    for (const QString& name : firms) {
        invoicing::ClientFirm f;
        f.name = name;
        f.dn = "1234567890";
        f.bstat = "123456789";
        f.adres = "София, бул. България 1";
        f.mol = "Петър Иванов";
        f.phones = "02 123 456";
        f.email = "office@example.bg";
        f.reduction = 5;
        invoicing::saveFirm(db, f);
    }
    const qint64 vw = vehicles::addBrand(db, "VW");
    const qint64 golf = vehicles::addModel(db, vw, "Golf");
    db.exec("INSERT INTO car_modifications (idMarka, idModel, Modification, period, engine, kw, "
            "ccm) VALUES (:b, :m, '1.9 TDI', '1997-2003', 'AGR', '66', '1896')",
            {{"b", vw}, {"m", golf}});
    const qint64 opel = vehicles::addBrand(db, "Опел");
    vehicles::addModification(db, opel, vehicles::addModel(db, opel, "Астра"), "1.6 16V");
    for (int i = 0; i < 6; ++i) {
        vehicles::Car car;
        car.marka = i % 2 ? "VW" : "Опел";
        car.model = i % 2 ? "Golf" : "Астра";
        car.modify = i % 2 ? "1.9 TDI" : "1.6 16V";
        car.yearMade = QString::number(1998 + i);
        car.regNo = QStringLiteral("CA%1AB").arg(1000 + i);
        car.couppe = "WVWZZZ1JZ1W00000" + QString::number(i);
        car.engine = "AGR";
        car.ownerName = firms[i % firms.size()];
        car.ownerAddress = "София";
        car.ownerPhone = "0888 123 45" + QString::number(i);
        vehicles::saveCar(db, car);
    }
}

void shoot(QWidget& w, const QString& path) {
    w.show();
    QApplication::processEvents();
    w.grab().save(path);
    QTextStream(stdout) << path << "\n";
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QTemporaryDir dir;
    // Never the user's own per-user values; the first-start steps count as done.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QSettings(QStringLiteral("Brenvik"), QStringLiteral("Motrela"))
        .setValue(QStringLiteral("FirstStart"), QDate::currentDate());
    auto db = store::Database::createFile(dir.filePath("Drumvel.mdz"));
    sampleData(*db);

    shell::saveOwnData(*db, {"Авто Сервиз ООД", "1234567890", "123456789", "София", "Иван Петров",
                             "Сервиз \"При Иван\"", "София, ул. Витоша 1", "02 123 456"});
    shell::Session session({1, "Administrator", "Administrator", *store::rightsPresetForLevel(0)},
                           "shots", shell::BusinessSettings::load(*db));
    {
        TsrMain main(*db, session);
        main.resize(1100, 700);
        shoot(main, out + "/main_window.png");
    }

    TsmPeoples clients(*db);
    shoot(clients, out + "/clients.png");
    clients.findChild<QPushButton*>("btnEdit")->click();
    shoot(clients, out + "/clients_edit.png");
    clients.findChild<QPushButton*>("BtnCancel")->click();

    TsrCar cars(*db, TsrCar::Mode::Picker);
    shoot(cars, out + "/cars.png");
    cars.findChild<QPushButton*>("btnEdit")->click();
    shoot(cars, out + "/cars_edit.png");
    cars.findChild<QPushButton*>("btnCancel")->click();

    TfrmAllCars all(*db);
    all.resize(900, 400);
    shoot(all, out + "/all_cars.png");

    // A car that comes back: its registration number, typed with Latin letters, fills the order.
    orders::NewOrder earlier;
    earlier.clientName = "Иван Петров";
    earlier.clientAdres = "София";
    earlier.clientPhone = "0888 123 456";
    earlier.marka = "VW";
    earlier.model = "Golf";
    earlier.modify = "1.9 TDI";
    earlier.engine = "AGR";
    earlier.year = "2001";
    earlier.regNo = "СА1001АВ";
    earlier.couppe = "WVWZZZ1JZ1W000001";
    earlier.km = "150000";
    earlier.defect = "Тракане отпред";
    earlier.dueDate = QDate::currentDate();
    orders::registerOrder(*db, earlier, 1, QDate::currentDate());
    {
        TsrPor order(*db);
        shoot(order, out + "/new_order_empty.png");
        auto* regNo = order.findChild<QLineEdit*>("eRegNo");
        regNo->setText("ca 1001 ab");
        Q_EMIT regNo->editingFinished();
        shoot(order, out + "/new_order_returning_car.png");
    }

    // The parts search that finds nothing says so and keeps the text.
    {
        TsrParts parts(*db, warehouse::WarehouseSettings{});
        parts.resize(1000, 500);
        parts.show();
        parts.findChild<QAction*>("mnSearch")->trigger();
        parts.findChild<QLineEdit*>("searchStr")->setText("филт");
        parts.findChild<QPushButton*>("btnSpr")->click();
        shoot(parts, out + "/parts_search_nothing.png");
    }
    // The order report: amounts as everywhere else.
    {
        TfrmOtchet report(*db, session);
        if (report.openOrder(1, orders::OrderMode::Report))
            shoot(report, out + "/order_report.png");
    }

    // The order register printed: a month of orders, to PDF.
    for (int i = 0; i < 60; ++i) {
        orders::NewOrder o = earlier;
        o.clientName = QStringLiteral("Клиент %1 с дълго име ООД").arg(i);
        o.regNo = QStringLiteral("СА%1АВ").arg(2000 + i);
        o.defect = QStringLiteral("Смяна на масло и филтри, проверка на спирачките");
        orders::registerOrder(*db, o, 10 + i, QDate::currentDate().addDays(-(i % 28)));
    }
    {
        TfrmSprPor orders(*db, session, session.settings());
        orders.resize(1200, 700);
        orders.show();
        orders.findChild<QPushButton*>("BitBtn1")->click(); // unfinished orders
        shoot(orders, out + "/order_register.png");
        const auto* grid = orders.findChild<QTableView*>("grid");
        ui::PrintHeader header;
        header.title = QStringLiteral("Справка за поръчките");
        header.totals = {QStringLiteral("Общо: 61 поръчки")};
        ui::GridPrinter(ui::GridData::fromView(*grid), header)
            .writePdf(out + "/order_register.pdf");
        QTextStream(stdout) << out << "/order_register.pdf\n";
    }
    return 0;
}
