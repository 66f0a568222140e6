#include "app/main_window.h"

#include "app/about_box.h"
#include "app/database_start.h"
#include "app/version.h"
#include "finance/finance_commands.h"
#include "invoicing/invoicing_commands.h"
#include "orders/order_commands.h"
#include "orders/order_registration.h"
#include "shell/help_pages.h"
#include "shell/help_window.h"
#include "shell/own_data.h"
#include "shell/own_data_dialog.h"
#include "shell/session.h"
#include "shell/settings_dialog.h"
#include "shell/user_settings.h"
#include "staff/employees.h"
#include "staff/staff_commands.h"
#include "store/database.h"
#include "store/schema_upgrade.h"
#include "ui/message_box.h"
#include "vehicles/vehicle_commands.h"
#include "warehouse/warehouse_commands.h"
#include "warehouse/warehouse_settings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// The maintenance panel opens only with this code.
const QString kMaintenanceCode = QStringLiteral("640372058");

// The links of the command panel and the commands they run; names match exactly.
struct PanelLink {
    const char* link;
    const char* handler;
    const char* text;
};

constexpr PanelLink kPanelLinks[] = {
    {"dost", "btInpPartsClick", "Доставка на части"},
    {"sale", "btSalePartsClick", "Продажба на части"},
    {"saleCl", "mnPackSalesClick", "Продажба със стокова разписка"},
    {"nal", "mnPartsClick", "Наличност на части"},
    {"new_por", "btPorClick", "Нова поръчка"},
    {"ot_por", "bOtClick", "Отчет по поръчка"},
    {"pay_por", "bPayClick", "Плащане на поръчка"},
    {"parts_por", "bPPorClick", "Части към поръчка"},
    {"spr_por", "mnPorClick", "Справка поръчки"},
    {"gtp", "bGtpClick", "Технически преглед"},
    {"shorts", "bUslClick", "Бързи услуги"},
    {"home", "bAdrClick", "Посещения по адрес"},
    {"razh", "btRazhClick", "Разходи"},
    {"prih", "bPrihClick", "Допълнителни приходи"},
    {"kasa", "bKasaClick", "Касова книга"},
};

// Groups of the panel: heading and the links under it, by their position in kPanelLinks.
struct PanelGroup {
    const char* heading;
    int first;
    int count;
};

constexpr PanelGroup kPanelGroups[] = {
    {"Склад", 0, 4},
    {"Ремонтни поръчки", 4, 8},
    {"Финанси", 12, 3},
};

QString u(const char* text) {
    return QString::fromUtf8(text);
}

// "mnKasaClick" -> "mnKasa": the action carries the control's name.
QString actionName(const QString& handler) {
    return handler.endsWith(QLatin1String("Click")) ? handler.chopped(5) : handler;
}

} // namespace

TsrMain::TsrMain(store::Database& db, shell::Session& session, QWidget* parent)
    : QMainWindow(parent), db_(db), session_(session) {
    setObjectName(QStringLiteral("TsrMain"));
    setWindowTitle(captionText());
    buildCommands();
    buildMenusAndToolbar();
    setCentralWidget(buildCentralArea());

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    userPanel_ = new QLabel(statusBar());
    userPanel_->setObjectName(QStringLiteral("pnlUser"));
    statusBar()->addWidget(userPanel_, 1);
    fileLabel_ = new QLabel(QDir::toNativeSeparators(db_.filePath()), statusBar());
    fileLabel_->setObjectName(QStringLiteral("pnlDatabase"));
    statusBar()->addPermanentWidget(fileLabel_);
    showCurrencyCommand(session_.settings().foreignCurrencies());
    userPanel_->setText(QStringLiteral("Потребител: ") + session_.userName());

    refreshIdentity();
    resize(1024, 720);
}

QString TsrMain::captionText() {
    return QStringLiteral("Управление на автосервиз - версия ") + app::versionText();
}

bool TsrMain::holdsRight(store::Right right) const {
    return session_.holdsRight(right);
}

QString TsrMain::userStatusText() const {
    return userPanel_->text();
}

bool TsrMain::runCommand(const QString& handler) {
    const auto it = commands_.constFind(handler);
    if (it == commands_.constEnd())
        return false;
    const Command& command = *it;
    if (command.right && !holdsRight(*command.right))
        return false;
    if (command.allowed && !command.allowed())
        return false;
    emit commandRan(handler);
    if (command.run)
        command.run();
    return true;
}

void TsrMain::anchorClick(const QString& link) {
    for (const PanelLink& panelLink : kPanelLinks) {
        if (link == QLatin1String(panelLink.link)) {
            runCommand(QString::fromLatin1(panelLink.handler));
            return;
        }
    }
}

bool TsrMain::noSaleOpen() const {
    return !session_.saleVisible();
}

bool TsrMain::ownWarehouse() const {
    return session_.settings().storeMode(db_) == 0;
}

void TsrMain::addCommand(const QString& handler, std::optional<store::Right> right,
                         std::function<void()> run, std::function<bool()> allowed) {
    commands_.insert(handler, Command{right, std::move(allowed), std::move(run)});
}

void TsrMain::buildCommands() {
    using store::Right;
    auto noSale = [this] { return noSaleOpen(); };
    auto store = [this] { return ownWarehouse(); };
    auto storeNoSale = [this] { return ownWarehouse() && noSaleOpen(); };

    // Warehouse and sales.
    addCommand(
        QStringLiteral("btPartsClick"), Right::Nomenclature,
        [this] { warehouse::openNomenclature(this, db_, warehouseSettings()); }, noSale);
    addCommand(
        QStringLiteral("btInpPartsClick"), Right::DeliveryAndDiscounts,
        [this] { warehouse::startDelivery(this, db_, session_, warehouseSettings()); },
        storeNoSale);
    addCommand(
        QStringLiteral("mnPartsClick"), Right::Stock,
        [this] { warehouse::openStockReport(this, db_, session_, warehouseSettings()); }, noSale);
    addCommand(QStringLiteral("btSalePartsClick"), Right::Sales, {},
               [this] { return ownWarehouse() && isMenuEnabled(QStringLiteral("mnZapl")); });
    addCommand(QStringLiteral("mnPackSalesClick"), Right::Sales, {}, store);
    addCommand(QStringLiteral("mnCorespondClick"), Right::DeliveryAndDiscounts,
               [this] { warehouse::openDiscounts(this, db_); });
    addCommand(QStringLiteral("mnDostavClick"), Right::Suppliers,
               [this] { warehouse::openSuppliers(this, db_); });
    addCommand(QStringLiteral("TBItem18Click"), Right::Stock);
    addCommand(QStringLiteral("TBItem19Click"), Right::Stock,
               [this] { warehouse::openSerialStock(this, db_); });
    // Orders.
    addCommand(QStringLiteral("btPorClick"), Right::NewOrder,
               [this] { orders::openNewOrder(this, db_, session_); });
    addCommand(
        QStringLiteral("mnPorClick"), {},
        [this] { orders::openOrderRegister(this, db_, session_); }, noSale);
    for (const auto& [handler, mode] : {std::pair{"bOtClick", orders::OrderMode::Report},
                                        std::pair{"bPayClick", orders::OrderMode::Payment},
                                        std::pair{"bPPorClick", orders::OrderMode::Parts}}) {
        addCommand(
            QString::fromLatin1(handler), orders::orderCommandRight(mode),
            [this, mode] { orders::runOrderCommand(this, db_, session_, mode); }, noSale);
    }
    addCommand(QStringLiteral("bUslClick"), Right::NewOrder);
    addCommand(QStringLiteral("mnShortsClick"), {});
    addCommand(QStringLiteral("TBItem6Click"), {});
    addCommand(QStringLiteral("TBItem13Click"), {});
    addCommand(QStringLiteral("bGtpClick"), Right::NewOrder);
    addCommand(QStringLiteral("mnSprGtpClick"), {});
    addCommand(QStringLiteral("bAdrClick"), Right::VisitSchedule);
    addCommand(QStringLiteral("TBItem16Click"), Right::ServiceContracts);
    addCommand(QStringLiteral("mnOtchWarrClick"), {});
    addCommand(QStringLiteral("TBItem5Click"), Right::PartsInOrders,
               [this] { orders::openPartsInOrders(this, db_); });
    addCommand(QStringLiteral("TBItem11Click"), {},
               [this] { orders::openOperationsCatalogue(this, db_, session_); });
    addCommand(QStringLiteral("TBItem14Click"), {},
               [this] { orders::openSymptomCodes(this, db_); });
    // Finance.
    addCommand(QStringLiteral("btRazhClick"), Right::ExpensesAndIncome);
    addCommand(QStringLiteral("bPrihClick"), Right::ExpensesAndIncome);
    addCommand(QStringLiteral("mnKasaClick"), Right::CashBook);
    addCommand(QStringLiteral("bKasaClick"), {});
    addCommand(QStringLiteral("mnPechClick"), Right::Profit);
    addCommand(QStringLiteral("TBItem20Click"), Right::FinancialSummary);
    addCommand(QStringLiteral("N8Click"), Right::SupplierAccounts,
               [this] { finance::openSupplierAccounts(this, db_); });
    addCommand(QStringLiteral("mnClientsDebtClick"), Right::ClientAccounts,
               [this] { finance::openClientAccounts(this, db_); });
    addCommand(QStringLiteral("mnDostClick"), Right::DeliveryReportAndPurchasePrices);
    addCommand(QStringLiteral("mnSalesClick"), Right::SalesReport);
    addCommand(QStringLiteral("mnValClick"), {}, [this] { finance::openRateRegister(this, db_); });
    // Registers and invoices.
    addCommand(QStringLiteral("TBItem7Click"), {}, [this] { vehicles::openBrands(this, db_); });
    addCommand(QStringLiteral("mnCarsClick"), Right::ClientsAndCars, [this] {
        vehicles::openCarRegister(this, db_, [this](const QString& regNo) {
            orders::openOrderRegister(this, db_, session_, regNo);
        });
    });
    addCommand(QStringLiteral("TBItem17Click"), {}, [this] { vehicles::openAllCars(this, db_); });
    addCommand(QStringLiteral("TBItem12Click"), Right::ClientsAndCars,
               [this] { invoicing::openClients(this, db_); });
    addCommand(QStringLiteral("mnFactClick"), Right::NewInvoice);
    addCommand(QStringLiteral("mnNoFactClick"), Right::UnbilledPayments,
               [this] { invoicing::openUnbilledPayments(this, db_); });
    addCommand(QStringLiteral("mnSprFactClick"), Right::InvoiceRegister);
    addCommand(QStringLiteral("mnClerksClick"), Right::Employees, [this] {
        staff::openEmployees(this, db_);
        refreshUserName();
    });
    addCommand(QStringLiteral("mnToolsClick"), Right::Tools);
    addCommand(QStringLiteral("mnSndHandClick"), {});
    // Salaries.
    addCommand(QStringLiteral("mnPaymentClick"), Right::SalaryPayment);
    addCommand(QStringLiteral("mnSprPayClick"), Right::SalaryReport);
    addCommand(QStringLiteral("mnAvansClick"), Right::Advances);
    addCommand(QStringLiteral("mnGlobaClick"), Right::DeductionsAndBonuses);
    addCommand(QStringLiteral("mnNagradaClick"), Right::DeductionsAndBonuses);
    // System and help.
    addCommand(QStringLiteral("mnMyInfoClick"), Right::OwnData, [this] { showOwnData(false); });
    addCommand(QStringLiteral("mnPrefsClick"), Right::Settings, [this] { openSettings(); });
    addCommand(QStringLiteral("N6Click"), {});
    addCommand(QStringLiteral("mnRestoreClick"), Right::Restore);
    addCommand(QStringLiteral("N11Click"), {}, [this] { showHelp(); });
    addCommand(QStringLiteral("N13Click"), {}, [this] { showAbout(); });
    addCommand(QStringLiteral("TBItem4Click"), {}, [this] { openPresentation(); });
    addCommand(QStringLiteral("mnExitClick"), {}, [this] { close(); });
    addCommand(QStringLiteral("Action1Execute"), {}, [this] { toggleMaintenancePanel(); });
}

QAction* TsrMain::commandAction(const QString& handler, const QString& text) {
    if (QAction* existing = actions_.value(handler))
        return existing;
    auto* action = new QAction(text, this);
    action->setObjectName(actionName(handler));
    connect(action, &QAction::triggered, this, [this, handler] { runCommand(handler); });
    actions_.insert(handler, action);
    return action;
}

void TsrMain::buildMenusAndToolbar() {
    struct Item {
        const char* handler; // nullptr: a separator
        const char* text;
    };
    struct MenuDef {
        const char* name;
        const char* title;
        std::initializer_list<Item> items;
    };
    const MenuDef menus[] = {
        {"mnSystem",
         "&Система",
         {{"mnPrefsClick", "Настройки"},
          {"mnMyInfoClick", "Собствени данни"},
          {"mnClerksClick", "Служители"},
          {"mnValClick", "Валутни курсове"},
          {nullptr, nullptr},
          {"mnExitClick", "Изход"}}},
        {"mnSklad",
         "С&клад",
         {{"btPartsClick", "Номенклатура на резервните части"},
          {"btInpPartsClick", "Доставка на резервни части"},
          {"btSalePartsClick", "Продажба на резервни части"},
          {"mnPackSalesClick", "Продажба със стокова разписка"},
          {nullptr, nullptr},
          {"mnDostavClick", "Доставчици"},
          {"mnCorespondClick", "Отстъпки"}}},
        {"mnPorMenu",
         "&Поръчки",
         {{"btPorClick", "Нова ремонтна поръчка"},
          {"bOtClick", "Отчет по поръчка"},
          {"bPayClick", "Плащане на поръчка"},
          {"bPPorClick", "Части към поръчка"},
          {nullptr, nullptr},
          {"bUslClick", "Бързи услуги"},
          {"mnShortsClick", "Каталог на бързите услуги"},
          {"bGtpClick", "Годишен технически преглед"},
          {"bAdrClick", "График на посещенията"},
          {"TBItem16Click", "Абонаментно обслужване"},
          {nullptr, nullptr},
          {"TBItem11Click", "Каталог на операциите"},
          {"TBItem14Click", "Кодове на симптомите"}}},
        {"mnFinance",
         "&Финанси",
         {{"mnKasaClick", "Касова книга"},
          {"btRazhClick", "Разходи"},
          {"bPrihClick", "Допълнителни приходи"},
          {nullptr, nullptr},
          {"N8Click", "Сметки с доставчици"},
          {"mnClientsDebtClick", "Сметки с клиенти"}}},
        {"mnSpr",
         "Спр&авки",
         {{"mnPorClick", "Справка ремонтни поръчки"},
          {"mnPartsClick", "Наличност на резервни части"},
          {"TBItem19Click", "Наличност по серийни номера"},
          {"TBItem18Click", "Движение на резервни части"},
          {"TBItem5Click", "Части в незавършени поръчки"},
          {"mnDostClick", "Справка доставки"},
          {"mnSalesClick", "Справка продажби"},
          {nullptr, nullptr},
          {"mnPechClick", "Справка печалба"},
          {"TBItem20Click", "Финансово обобщение"},
          {nullptr, nullptr},
          {"TBItem6Click", "Справка бързи услуги"},
          {"TBItem13Click", "Справка работни времена"},
          {"mnSprGtpClick", "Справка технически прегледи"},
          {"mnOtchWarrClick", "Гаранционни отчети"}}},
        {"mnFactMenu",
         "Ф&актури",
         {{"mnFactClick", "Нова фактура"},
          {"mnNoFactClick", "Нефактурирани плащания"},
          {"mnSprFactClick", "Справка фактури"}}},
        {"mnRegisters",
         "&Регистри",
         {{"TBItem12Click", "Клиенти"},
          {"mnCarsClick", "Регистър на автомобилите"},
          {"TBItem17Click", "Всички автомобили"},
          {"TBItem7Click", "Марки автомобили"},
          {"mnDostavClick", "Доставчици"},
          {"mnToolsClick", "Инструменти на сервиза"},
          {nullptr, nullptr},
          {"mnSndHandClick", "Стоки втора ръка"}}},
        {"mnZapl",
         "&Заплати",
         {{"mnPaymentClick", "Заплати"},
          {"mnSprPayClick", "Справка заплати"},
          {nullptr, nullptr},
          {"mnAvansClick", "Изплащане на аванси"},
          {"mnGlobaClick", "Въвеждане на удръжки"},
          {"mnNagradaClick", "Въвеждане на надбавки и награди"}}},
        {"mnArchiv",
         "А&рхив",
         {{"N6Click", "Архивиране на базата данни"},
          {"mnRestoreClick", "Възстановяване от архив"}}},
        {"mnHelp",
         "По&мощ",
         {{"N11Click", "Помощ"},
          {"TBItem4Click", "Представяне на програмата"},
          {nullptr, nullptr},
          {"N13Click", "За програмата"}}},
    };
    for (const MenuDef& def : menus) {
        QMenu* menu = menuBar()->addMenu(u(def.title));
        menu->setObjectName(QString::fromLatin1(def.name));
        menus_.insert(menu->objectName(), menu);
        for (const Item& item : def.items) {
            if (!item.handler)
                menu->addSeparator();
            else
                menu->addAction(commandAction(QString::fromLatin1(item.handler), u(item.text)));
        }
    }
    actions_.value(QStringLiteral("N11Click"))->setShortcut(QKeySequence::HelpContents);

    // F2 starts a counter sale from anywhere in the window.
    auto* saleKey = new QAction(this);
    saleKey->setObjectName(QStringLiteral("Sale_F2"));
    saleKey->setShortcut(Qt::Key_F2);
    connect(saleKey, &QAction::triggered, this,
            [this] { runCommand(QStringLiteral("btSalePartsClick")); });
    addAction(saleKey);
    // The maintenance panel has no menu entry.
    auto* maintenanceKey = new QAction(this);
    maintenanceKey->setObjectName(QStringLiteral("Action1"));
    maintenanceKey->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12));
    connect(maintenanceKey, &QAction::triggered, this,
            [this] { runCommand(QStringLiteral("Action1Execute")); });
    addAction(maintenanceKey);

    QToolBar* toolbar = addToolBar(QStringLiteral("Команди"));
    toolbar->setObjectName(QStringLiteral("toolBar"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolbar->setMovable(false);
    const std::pair<const char*, const char*> tools[] = {
        {"btPorClick", "Нова поръчка"},  {"mnPorClick", "Поръчки"},
        {"btInpPartsClick", "Доставка"}, {"btSalePartsClick", "Продажба"},
        {"mnPartsClick", "Наличност"},   {"mnKasaClick", "Каса"},
        {"btRazhClick", "Разходи"},      {"bPrihClick", "Приходи"},
        {"mnFactClick", "Фактура"},      {"N11Click", "Помощ"},
    };
    for (const auto& [handler, shortText] : tools) {
        QAction* action = actions_.value(QString::fromLatin1(handler));
        action->setIconText(u(shortText));
        toolbar->addAction(action);
    }
}

QWidget* TsrMain::buildCentralArea() {
    auto* central = new QWidget(this);

    QString html;
    for (const PanelGroup& group : kPanelGroups) {
        html += QStringLiteral("<p style='margin-top:10px'><b>%1</b></p>").arg(u(group.heading));
        for (int i = group.first; i < group.first + group.count; ++i) {
            html += QStringLiteral("<p style='margin-left:12px'><a href='%1'>%2</a></p>")
                        .arg(QString::fromLatin1(kPanelLinks[i].link), u(kPanelLinks[i].text));
        }
    }
    auto* panel = new QLabel(html, central);
    panel->setObjectName(QStringLiteral("AdvPanel1"));
    panel->setTextFormat(Qt::RichText);
    panel->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setMargin(8);
    panel->setMinimumWidth(240);
    panel->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(panel, &QLabel::linkActivated, this, &TsrMain::anchorClick);

    identity_ = new QLabel(central);
    identity_->setObjectName(QStringLiteral("lbIdentity"));
    identity_->setAlignment(Qt::AlignCenter);
    identity_->setWordWrap(true);

    maintenance_ = buildMaintenancePanel();

    auto* right = new QVBoxLayout;
    right->addWidget(identity_, 1);
    right->addWidget(maintenance_);
    auto* layout = new QHBoxLayout(central);
    layout->addWidget(panel);
    layout->addLayout(right, 1);
    return central;
}

QFrame* TsrMain::buildMaintenancePanel() {
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("pHidden"));
    frame->setFrameShape(QFrame::StyledPanel);
    maintenanceState_ = new QLabel(frame);
    maintenanceState_->setObjectName(QStringLiteral("lbState"));
    maintenanceState_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto button = [frame](const char* name, const char* text) {
        auto* b = new QPushButton(u(text), frame);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    QPushButton* upgrade = button("btnUpgrade", "Обновяване на структурата на базата данни");
    QPushButton* defaults = button("btnDefaults", "Стойности по подразбиране на настройките");
    QPushButton* restore = button("btnRestore", "Възстановяване от архив");
    QPushButton* engines = button("Button1", "Изчистване на номерата на двигателите");
    connect(upgrade, &QPushButton::clicked, this, &TsrMain::upgradeStructure);
    connect(restore, &QPushButton::clicked, this,
            [this] { runCommand(QStringLiteral("mnRestoreClick")); });
    connect(engines, &QPushButton::clicked, this, &TsrMain::clearEngineNumbers);
    connect(defaults, &QPushButton::clicked, this, &TsrMain::addSettingsDefaults);
    memoTables_ = new QPlainTextEdit(frame);
    memoTables_->setObjectName(QStringLiteral("MemoTables"));
    memoTables_->setReadOnly(true);
    memoTables_->setMaximumHeight(120);

    auto* layout = new QGridLayout(frame);
    layout->addWidget(maintenanceState_, 0, 0, 1, 2);
    layout->addWidget(upgrade, 1, 0);
    layout->addWidget(defaults, 1, 1);
    layout->addWidget(restore, 2, 0);
    layout->addWidget(engines, 2, 1);
    layout->addWidget(memoTables_, 3, 0, 1, 2);
    frame->hide();
    return frame;
}

void TsrMain::setMenuEnabled(const QString& menu, bool enabled) {
    if (QMenu* m = menus_.value(menu)) {
        m->setEnabled(enabled);
        m->menuAction()->setEnabled(enabled);
    } else if (QAction* action = findChild<QAction*>(menu)) {
        action->setEnabled(enabled);
    }
}

bool TsrMain::isMenuEnabled(const QString& menu) const {
    if (QMenu* m = menus_.value(menu))
        return m->menuAction()->isEnabled();
    if (QAction* action = findChild<QAction*>(menu))
        return action->isEnabled();
    return false;
}

void TsrMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!firstShowingDone_ && !event->spontaneous())
        QMetaObject::invokeMethod(this, &TsrMain::firstShowing, Qt::QueuedConnection);
}

void TsrMain::firstShowing() {
    if (firstShowingDone_)
        return;
    firstShowingDone_ = true;
    if (exitWithoutAsking_) {
        close();
        return;
    }
    if (!shell::hasOwnData(db_))
        showOwnData(true);

    QSettings settings = shell::userSettings();
    if (!settings.contains(shell::keys::firstStart)) {
        runCommand(QStringLiteral("mnPrefsClick"));
        settings.setValue(shell::keys::firstStart, QDate::currentDate().toString(Qt::ISODate));
    }

    const int pending =
        db_.scalar(QStringLiteral("SELECT count(*) FROM tmpSales WHERE station = :station"),
                   {{QStringLiteral("station"), session_.workstationKey()}})
            .toInt();
    if (pending > 0) {
        ui::message(this, ui::captionMessage(),
                    QStringLiteral("Има незавършена продажба към клиент!"),
                    ui::MessageIcon::Exclamation);
        // Resuming the sale by goods receipt comes with the sales windows.
    }
}

void TsrMain::closeEvent(QCloseEvent* event) {
    if (!exitWithoutAsking_ && !aboutVisible_ &&
        !ui::ask(this, QStringLiteral("Желаете ли да излезете от програмата?"),
                 QStringLiteral("Изход"))) {
        event->ignore();
        return;
    }
    // The automatic archive at closing comes with the archive functions.
    event->accept();
}

void TsrMain::bringToFront() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

void TsrMain::showOwnData(bool firstStart) {
    TfrmMyInfo dialog(db_, this);
    dialog.setCancelEnabled(!firstStart);
    dialog.exec();
    refreshIdentity();
}

void TsrMain::refreshIdentity() {
    const shell::OwnData own = shell::loadOwnData(db_);
    if (own.serviceName.isEmpty() && own.name.isEmpty()) {
        identity_->setText(QStringLiteral("<h1>Управление на автосервиз</h1>"));
        return;
    }
    identity_->setText(QStringLiteral("<h1>%1</h1><p>%2</p><p>%3</p><p>%4</p>")
                           .arg(own.serviceName.toHtmlEscaped(), own.serviceAddress.toHtmlEscaped(),
                                own.servicePhones.toHtmlEscaped(), own.name.toHtmlEscaped()));
}

void TsrMain::refreshUserName() {
    // The employees register may have renamed the logged-in employee.
    const QString name = staff::employeeName(db_, session_.userId());
    if (!name.isEmpty())
        session_.setUserName(name);
    userPanel_->setText(QStringLiteral("Потребител: ") + session_.userName());
}

void TsrMain::showAbout() {
    TsrAbout about(this);
    aboutVisible_ = true;
    about.exec();
    aboutVisible_ = false;
}

void TsrMain::showHelp() {
    shell::HelpWindow::showTopic(this, shell::kHelpProgram);
}

void TsrMain::openPresentation() {
    const QString path =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("presentation.doc"));
    if (!QFileInfo::exists(path)) {
        ui::info(this, QStringLiteral("Представянето на програмата (файлът \"presentation.doc\") "
                                      "не е намерено в папката на програмата:\n%1")
                           .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

warehouse::WarehouseSettings TsrMain::warehouseSettings() const {
    QSettings user = shell::userSettings();
    return warehouse::warehouseSettingsOf(session_.settings(), user);
}

void TsrMain::showCurrencyCommand(bool foreignCurrencies) {
    // The exchange rates matter only while the workshop works in dollars and euros too.
    if (QAction* rates = actions_.value(QStringLiteral("mnValClick")))
        rates->setVisible(foreignCurrencies);
}

void TsrMain::openSettings() {
    TsrNastr settings(
        db_, session_.settings(), [this](const QString& path) { return switchDatabase(path); },
        this);
    connect(&settings, &TsrNastr::currencyModeChosen, this, &TsrMain::showCurrencyCommand);
    ui::runModal(settings);
}

bool TsrMain::switchDatabase(const QString& path) {
    app::StartedDatabase next;
    try {
        next = app::startDatabase(path, false);
        // Every window holds the one connection object; it now works on the other file.
        db_.swap(*next.db);
    } catch (const store::DbError& e) {
        ui::error(this, QStringLiteral("Грешка при отварянето на базата данни!\n\n") + e.message());
        return false;
    }
    session_.settings() = std::move(next.settings);
    for (const store::UpgradeNotice& notice : next.notices)
        ui::message(this, notice.caption, notice.text, ui::MessageIcon::Exclamation);
    fileLabel_->setText(QDir::toNativeSeparators(db_.filePath()));
    showCurrencyCommand(session_.settings().foreignCurrencies());
    refreshUserName();
    if (!shell::hasOwnData(db_))
        showOwnData(true);
    refreshIdentity();
    return true;
}

void TsrMain::toggleMaintenancePanel() {
    if (maintenance_->isVisible()) {
        maintenance_->hide();
        return;
    }
    const auto code =
        ui::inputText(this, QStringLiteral("Парола"), QStringLiteral("Парола"), {}, true);
    if (code && *code == kMaintenanceCode) {
        refreshMaintenancePanel();
        maintenance_->show();
    }
}

void TsrMain::refreshMaintenancePanel() {
    maintenanceState_->setText(
        QStringLiteral("eUserID: %1\nePrefs: %2\nsrSaleVisible: %3\nViewDost: %4\nchkDost: %5\n"
                       "Работно място: %6")
            .arg(session_.userId())
            .arg(session_.rights())
            .arg(session_.saleVisible())
            .arg(session_.deliveryViewOpen())
            .arg(session_.deliveryMode())
            .arg(session_.workstationKey()));
    // The settings table as it is stored.
    memoTables_->setPlainText(session_.settings().toText());
}

void TsrMain::addSettingsDefaults() {
    try {
        const int added = session_.settings().addMissingDefaults(db_);
        ui::info(this, added == 0
                           ? QStringLiteral("Всички стойности по подразбиране са налице.")
                           : QStringLiteral("Добавени стойности по подразбиране: %1.").arg(added));
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
    refreshMaintenancePanel();
}

void TsrMain::upgradeStructure() {
    try {
        const store::UpgradeResult result = store::upgradeSchema(db_);
        for (const store::UpgradeNotice& notice : result.notices)
            ui::message(this, notice.caption, notice.text, ui::MessageIcon::Exclamation);
        ui::info(this, result.plan.isEmpty()
                           ? QStringLiteral("Структурата на базата данни е актуална.")
                           : QStringLiteral("Структурата на базата данни е обновена."));
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
}

void TsrMain::clearEngineNumbers() {
    if (!ui::ask(this,
                 QStringLiteral("Номерата на двигателите във всички поръчки ще бъдат изтрити.\n"
                                "Желаете ли да продължите?"),
                 ui::captionWarning()))
        return;
    try {
        orders::blankEngineNumbers(db_);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
}
