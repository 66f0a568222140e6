#include "orders/new_order_window.h"

#include "invoicing/client_field_controls.h"
#include "invoicing/client_firms.h"
#include "invoicing/firm_chooser_dialog.h"
#include "orders/order_texts.h"
#include "orders/previous_repairs_window.h"
#include "orders/start_number_dialog.h"
#include "orders/symptom_codes_window.h"
#include "shell/help_window.h"
#include "store/database.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "vehicles/car_register_window.h"
#include "vehicles/vehicle_catalogue.h"
#include "vehicles/vehicle_pick_chain_controls.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

using orders::OrderField;
using orders::RepairPlace;
using vehicles::VehiclePickChain;

namespace {

// Order numbers are 32-bit in the database; nine digits always fit.
constexpr int kMaxNumberDigits = 9;

QComboBox* pick(QWidget* parent, const char* name) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    VehiclePickChain::preparePickField(c);
    c->setMinimumWidth(180);
    return c;
}

// Selects the catalogue entry of that text; an entry the catalogue lacks is kept as text.
void setPickText(QComboBox* field, const QString& text) {
    const int at = field->findText(text, Qt::MatchFixedString);
    if (at >= 0 && !text.isEmpty())
        field->setCurrentIndex(at);
    else
        field->setEditText(text);
}

} // namespace

TsrPor::TsrPor(store::Database& db, RepairPlace place, QWidget* parent)
    : QDialog(parent), db_(db), today_(QDate::currentDate()) {
    setObjectName(QStringLiteral("TsrPor"));
    setWindowTitle(QStringLiteral("Нова поръчка"));
    buildForm();
    eDate_->setText(today_.toString(QStringLiteral("dd.MM.yyyy")));
    backDate_->setDate(today_.addDays(3));
    cmbPlace_->setCurrentIndex(int(place));
    placeChanged(int(place));
}

TsrPor::~TsrPor() {
    // Leave steps must not run on a half-destroyed window.
    eRegNo_->disconnect(this);
    eClientName_->disconnect(this);
    delete chain_;
}

void TsrPor::buildForm() {
    eNomer_ = ui::namedEdit(this, "eNomer", kMaxNumberDigits);
    ui::acceptOnly(eNomer_, QStringLiteral("[0-9]*"));
    eDate_ = ui::namedEdit(this, "eDate");
    eDate_->setReadOnly(true);
    eDate_->setFocusPolicy(Qt::NoFocus);

    auto* client = new QGroupBox(QStringLiteral("Клиент"), this);
    eClientName_ = ui::namedEdit(client, "eClientName");
    eClientAdres_ = ui::namedEdit(client, "eClientAdres");
    eClientPhone_ = ui::namedEdit(client, "eClientPhone");
    auto* btnFirms = ui::namedPlainButton(client, "btnFirms", QStringLiteral("Клиенти..."));
    connect(btnFirms, &QPushButton::clicked, this, &TsrPor::chooseClient);
    connect(eClientName_, &QLineEdit::editingFinished, this, &TsrPor::clientNameLeft);
    auto* clientGrid = new QGridLayout(client);
    clientGrid->addWidget(new QLabel(QStringLiteral("Име:"), client), 0, 0);
    clientGrid->addWidget(eClientName_, 0, 1);
    clientGrid->addWidget(btnFirms, 0, 2);
    clientGrid->addWidget(new QLabel(QStringLiteral("Адрес:"), client), 1, 0);
    clientGrid->addWidget(eClientAdres_, 1, 1, 1, 2);
    clientGrid->addWidget(new QLabel(QStringLiteral("Телефон:"), client), 2, 0);
    clientGrid->addWidget(eClientPhone_, 2, 1, 1, 2);
    clientGrid->setColumnStretch(1, 1);

    auto* car = new QGroupBox(QStringLiteral("Автомобил"), this);
    eRegNo_ = ui::namedEdit(car, "eRegNo");
    eMarka_ = pick(car, "eMarka");
    eModels_ = pick(car, "eModels");
    eModification_ = pick(car, "eModification");
    ePeriod_ = pick(car, "ePeriod");
    eEngine_ = pick(car, "eEngine");
    ui::acceptOnly(eEngine_->lineEdit(), QStringLiteral("[-0-9A-Z]*"));
    eKW_ = ui::namedEdit(car, "eKW");
    eCCM_ = ui::namedEdit(car, "eCCM");
    ui::acceptOnly(
        eCCM_,
        QStringLiteral("[0-9%1]*").arg(QRegularExpression::escape(QLocale().decimalPoint())));
    eYear_ = ui::namedEdit(car, "eYear");
    ui::acceptOnly(eYear_, QStringLiteral("[0-9]*"));
    ui::acceptOnly(eKW_, QStringLiteral("[0-9.,]*"));
    eCouppe_ = ui::namedEdit(car, "eCouppe");
    eKM_ = ui::namedEdit(car, "eKM");
    ui::acceptOnly(eKM_, QStringLiteral("[0-9]*"));
    auto* btnCars = ui::namedPlainButton(car, "btnCars", QStringLiteral("Автомобили..."));
    auto* btnCheck = ui::namedPlainButton(car, "btnCheck", QStringLiteral("Предишни ремонти"));
    connect(btnCars, &QPushButton::clicked, this, &TsrPor::chooseCar);
    connect(btnCheck, &QPushButton::clicked, this, &TsrPor::showPreviousRepairs);
    connect(eRegNo_, &QLineEdit::editingFinished, this, &TsrPor::regNoLeft);
    auto* carGrid = new QGridLayout(car);
    int row = 0;
    auto addCarRow = [&](const QString& text, QWidget* field, QWidget* extra = nullptr) {
        carGrid->addWidget(new QLabel(text, car), row, 0);
        carGrid->addWidget(field, row, 1, 1, extra ? 1 : 2);
        if (extra)
            carGrid->addWidget(extra, row, 2);
        ++row;
    };
    addCarRow(QStringLiteral("Рег. номер:"), eRegNo_, btnCars);
    addCarRow(QStringLiteral("Марка:"), eMarka_, btnCheck);
    addCarRow(QStringLiteral("Модел:"), eModels_);
    addCarRow(QStringLiteral("Модификация:"), eModification_);
    addCarRow(QStringLiteral("Период:"), ePeriod_);
    addCarRow(QStringLiteral("Двигател:"), eEngine_);
    auto* power = new QHBoxLayout;
    power->addWidget(eKW_);
    power->addWidget(new QLabel(QStringLiteral("ccm:"), car));
    power->addWidget(eCCM_);
    carGrid->addWidget(new QLabel(QStringLiteral("kW:"), car), row, 0);
    carGrid->addLayout(power, row++, 1, 1, 2);
    addCarRow(QStringLiteral("Година:"), eYear_);
    addCarRow(QStringLiteral("No на шаси:"), eCouppe_);
    addCarRow(QStringLiteral("Километри:"), eKM_);
    carGrid->setColumnStretch(1, 1);

    auto* order = new QGroupBox(QStringLiteral("Поръчка"), this);
    cmbType_ = new QComboBox(order);
    cmbType_->setObjectName(QStringLiteral("cmbType"));
    cmbType_->addItems(orders::newOrderTypeTexts());
    cmbPlace_ = new QComboBox(order);
    cmbPlace_->setObjectName(QStringLiteral("cmbPlace"));
    cmbPlace_->addItems({QStringLiteral("В сервиза"), QStringLiteral("Посещение на адрес")});
    lbBackDate_ = new QLabel(order);
    lbBackDate_->setObjectName(QStringLiteral("lbBackDate"));
    backDate_ = new QDateEdit(order);
    backDate_->setObjectName(QStringLiteral("backDate"));
    backDate_->setCalendarPopup(true);
    backDate_->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    // A due date before today is never accepted; the edit holds it at today.
    backDate_->setMinimumDate(today_);
    auto* btnHome = ui::namedPlainButton(order, "btnHome", QStringLiteral("Посещение"));
    btnHome->setToolTip(QStringLiteral("Посещение на адреса на клиента"));
    eAksPop_ = ui::namedEdit(order, "eAksPop");
    eDefect_ = new QPlainTextEdit(order);
    eDefect_->setObjectName(QStringLiteral("eDefect"));
    eDefect_->setTabChangesFocus(true);
    eDefect_->setMinimumHeight(90);
    auto* addDefect = ui::namedPlainButton(order, "addDefect", QStringLiteral("Симптоми..."));
    eNote_ = ui::namedEdit(order, "eNote");
    chkPrn_ = new QCheckBox(QStringLiteral("Печат на сервизна поръчка"), order);
    chkPrn_->setObjectName(QStringLiteral("chkPrn"));
    chkPrn_->hide();
    connect(cmbType_, &QComboBox::currentIndexChanged, this, &TsrPor::typeChanged);
    connect(cmbPlace_, &QComboBox::currentIndexChanged, this, &TsrPor::placeChanged);
    connect(btnHome, &QPushButton::clicked, this, &TsrPor::bookHomeVisit);
    connect(addDefect, &QPushButton::clicked, this, &TsrPor::addSymptom);

    auto* orderGrid = new QGridLayout(order);
    row = 0;
    auto addOrderRow = [&](QWidget* label, QWidget* field, QWidget* extra = nullptr) {
        orderGrid->addWidget(label, row, 0, Qt::AlignTop);
        orderGrid->addWidget(field, row, 1, 1, extra ? 1 : 2);
        if (extra)
            orderGrid->addWidget(extra, row, 2, Qt::AlignTop);
        ++row;
    };
    auto label = [order](const QString& text) { return new QLabel(text, order); };
    addOrderRow(label(QStringLiteral("Поръчка №:")), eNomer_);
    addOrderRow(label(QStringLiteral("Дата:")), eDate_);
    addOrderRow(label(QStringLiteral("Тип:")), cmbType_);
    addOrderRow(label(QStringLiteral("Място:")), cmbPlace_);
    addOrderRow(lbBackDate_, backDate_, btnHome);
    addOrderRow(label(QStringLiteral("Аксесоари:")), eAksPop_);
    addOrderRow(label(QStringLiteral("Оплакване:")), eDefect_, addDefect);
    addOrderRow(label(QStringLiteral("Бележка:")), eNote_);
    orderGrid->addWidget(chkPrn_, row++, 1, 1, 2);
    orderGrid->setColumnStretch(1, 1);
    orderGrid->setRowStretch(row, 1);

    mSQL_ = new QPlainTextEdit(this);
    mSQL_->setObjectName(QStringLiteral("mSQL"));
    mSQL_->setReadOnly(true);
    mSQL_->setMaximumHeight(90);
    mSQL_->hide();
    auto* showSQL = new QAction(this);
    showSQL->setObjectName(QStringLiteral("showSQL"));
    showSQL->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Q));
    connect(showSQL, &QAction::triggered, this, &TsrPor::toggleStatement);
    addAction(showSQL);
    auto* help = new QAction(this);
    help->setObjectName(QStringLiteral("Action1"));
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this,
            [this] { shell::HelpWindow::showTopic(this, QStringLiteral("ОписПоръчка")); });
    addAction(help);

    btnRec_ = ui::namedPlainButton(this, "btnRec", QStringLiteral("Запис"));
    btnCancel_ = ui::namedPlainButton(this, "btnCancel", QStringLiteral("Отказ"));
    connect(btnRec_, &QPushButton::clicked, this, &TsrPor::save);
    connect(btnCancel_, &QPushButton::clicked, this, &TsrPor::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnRec_);
    buttons->addWidget(btnCancel_);

    auto* left = new QVBoxLayout;
    left->addWidget(client);
    left->addWidget(car);
    left->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addWidget(order, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(mSQL_);
    layout->addLayout(buttons);

    chain_ = new VehiclePickChain(db_,
                                  {.brand = eMarka_,
                                   .model = eModels_,
                                   .modification = eModification_,
                                   .period = ePeriod_,
                                   .engine = eEngine_,
                                   .kw = eKW_,
                                   .ccm = eCCM_,
                                   .afterEngine = eYear_},
                                  vehicles::EngineStep::FillPowerAndDisplacement, this);

    resize(960, 600);
}

void TsrPor::setPrintServiceOrder(std::function<void(qint64)> print) {
    printServiceOrder_ = std::move(print);
    chkPrn_->setVisible(bool(printServiceOrder_));
}

void TsrPor::setVisible(bool visible) {
    // The number is settled before the window appears: on an empty table the user is asked
    // for the first one.
    if (visible && !prepared_) {
        prepared_ = true;
        prepareForShowing();
    }
    QDialog::setVisible(visible);
    if (visible)
        eRegNo_->setFocus();
}

void TsrPor::prepareForShowing() {
    for (QLineEdit* e : {eKW_, eCCM_, eYear_, eRegNo_, eKM_, eCouppe_})
        e->clear();
    for (QComboBox* c : {eModification_, eEngine_})
        c->clear();
    ePeriod_->setEditText(QString());
    proposeNumber();
    chain_->fillBrandList();
    cmbType_->setCurrentIndex(0);
    backDate_->setDate(orders::dueDateForType(today_, 0));
}

void TsrPor::proposeNumber() {
    std::optional<qint64> number;
    try {
        number = orders::proposedOrderNumber(db_);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
    if (!number) {
        TfrmStartNum ask(this);
        ask.setMessage(QStringLiteral("Въведете стартов номер на поръчка"));
        ask.exec();
        number = ask.number();
    }
    eNomer_->setText(QString::number(number.value_or(1)));
}

void TsrPor::typeChanged(int index) {
    if (index >= 0)
        backDate_->setDate(orders::dueDateForType(today_, index));
}

void TsrPor::placeChanged(int index) {
    lbBackDate_->setText(index == int(RepairPlace::HomeVisit) ? QStringLiteral("Дата на посещение")
                                                              : QStringLiteral("Дата на връщане"));
}

void TsrPor::putCar(const QString& marka, const QString& model, const QString& modify,
                    const QString& engine) {
    // Each known choice fills the next field's list, as if the user had picked it.
    chain_->markEntry(eMarka_);
    setPickText(eMarka_, marka);
    if (VehiclePickChain::selectedIndex(eMarka_) >= 0)
        chain_->leaveBrand();
    chain_->markEntry(eModels_);
    setPickText(eModels_, model);
    if (VehiclePickChain::selectedIndex(eModels_) >= 0 && chain_->brandId())
        chain_->leaveModel();
    chain_->markEntry(eModification_);
    setPickText(eModification_, modify);
    if (VehiclePickChain::selectedIndex(eModification_) >= 0 && chain_->modelId()) {
        chain_->leaveModification();
        // The period is not kept with an order: the catalogue row of the car's engine tells it.
        const QList<vehicles::CatalogueRow> rows = vehicles::findRows(
            db_, *chain_->brandId(), *chain_->modelId(), modify, std::nullopt, engine);
        if (!rows.isEmpty() && !engine.isEmpty()) {
            setPickText(ePeriod_, rows.first().period);
            chain_->leavePeriod();
        }
    }
    eEngine_->setEditText(engine);
    // What was filled in counts as chosen: passing through a field afterwards changes nothing.
    for (QComboBox* field : {eMarka_, eModels_, eModification_, ePeriod_, eEngine_})
        chain_->markEntry(field);
}

void TsrPor::regNoLeft() {
    if (!isVisible())
        return;
    const QString regNo = eRegNo_->text().trimmed();
    eRegNo_->setText(regNo);
    std::optional<orders::EarlierOrder> earlier;
    try {
        earlier = orders::latestOrderOfCar(db_, regNo);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
        return;
    }
    if (earlier) {
        putCar(earlier->marka, earlier->model, earlier->modify, earlier->engine);
        eYear_->setText(earlier->year);
        eClientName_->setText(earlier->clientName);
        eClientAdres_->setText(earlier->clientAdres);
        eClientPhone_->setText(earlier->clientPhone);
        eCouppe_->setText(earlier->couppe);
        eKM_->setFocus();
        return;
    }
    // A car never repaired here may still be in the car register.
    std::optional<vehicles::Car> registered;
    try {
        registered = vehicles::findCarByRegNo(db_, regNo);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
        return;
    }
    if (registered)
        fillFromRegisteredCar(*registered);
}

void TsrPor::clientNameLeft() {
    if (isVisible() && invoicing::fillFromRegisteredName(db_, clientFields()))
        eMarka_->setFocus();
}

void TsrPor::chooseClient() {
    if (invoicing::chooseClientInto(db_, clientFields(), this))
        eAksPop_->setFocus();
    else
        eClientName_->setFocus();
}

invoicing::ClientFields TsrPor::clientFields() const {
    return {eClientName_, eClientAdres_, eClientPhone_};
}

void TsrPor::chooseCar() {
    std::optional<vehicles::Car> car;
    {
        TsrCar picker(db_, TsrCar::Mode::Picker, this);
        if (ordersOfCar_) {
            picker.setOrdersOfCar([this, &picker](const QString& regNo) {
                picker.setEnabled(false);
                ordersOfCar_(regNo);
                picker.setEnabled(true);
            });
        }
        ui::runModal(picker);
        car = picker.chosenCar();
    }
    if (!car)
        return;
    fillFromRegisteredCar(*car);
}

void TsrPor::fillFromRegisteredCar(const vehicles::Car& car) {
    // kW and ccm come from the catalogue when an engine is chosen, never from the register.
    eClientName_->setText(car.ownerName);
    eClientAdres_->setText(car.ownerAddress);
    eClientPhone_->setText(car.ownerPhone);
    putCar(car.marka, car.model, car.modify, car.engine);
    eYear_->setText(car.yearMade);
    eRegNo_->setText(car.regNo);
    eCouppe_->setText(car.couppe);
    eKM_->setFocus();
}

void TsrPor::addSymptom() {
    TfrmSymp symptoms(db_, TfrmSymp::Mode::Pick, this);
    if (symptoms.exec() != QDialog::Accepted)
        return;
    const auto chosen = symptoms.chosenSymptom();
    if (!chosen)
        return;
    eDefect_->setPlainText(
        orders::appendLine(eDefect_->toPlainText(),
                           orders::symptomLine(chosen->description, chosen->group, chosen->code)));
}

void TsrPor::bookHomeVisit() {
    // The visit is written together with the order, so that a cancelled order leaves none.
    cmbPlace_->setCurrentIndex(int(RepairPlace::HomeVisit));
    backDate_->setFocus();
}

void TsrPor::showPreviousRepairs() {
    const QString marka = eMarka_->currentText().trimmed();
    const QString model = eModels_->currentText().trimmed();
    const QString regNo = eRegNo_->text().trimmed();
    QList<orders::PreviousRepair> rows;
    try {
        rows = orders::previousRepairs(db_, marka, model, regNo);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
        return;
    }
    if (rows.isEmpty()) {
        ui::message(this, ui::captionMessage(), QStringLiteral("Няма предишни ремонти"),
                    ui::MessageIcon::Warning);
        return;
    }
    TfrmPrevious previous(rows, marka, model, regNo, this);
    previous.exec();
}

void TsrPor::toggleStatement() {
    mSQL_->setVisible(!mSQL_->isVisible());
}

orders::NewOrder TsrPor::formOrder() const {
    orders::NewOrder o;
    o.clientName = eClientName_->text();
    o.clientAdres = eClientAdres_->text();
    o.clientPhone = eClientPhone_->text();
    o.marka = eMarka_->currentText();
    o.model = eModels_->currentText();
    o.modify = eModification_->currentText();
    o.engine = eEngine_->currentText();
    o.year = eYear_->text();
    o.regNo = eRegNo_->text();
    o.couppe = eCouppe_->text();
    o.km = eKM_->text();
    o.aks = eAksPop_->text();
    o.defect = eDefect_->toPlainText();
    o.note = eNote_->text();
    o.type = std::max(0, cmbType_->currentIndex());
    o.dueDate = backDate_->date();
    o.place = RepairPlace(cmbPlace_->currentIndex() == 1 ? 1 : 0);
    return o;
}

void TsrPor::showOrder(const orders::NewOrder& o) {
    eClientName_->setText(o.clientName);
    eClientAdres_->setText(o.clientAdres);
    eClientPhone_->setText(o.clientPhone);
    eRegNo_->setText(o.regNo);
    eCouppe_->setText(o.couppe);
    if (eEngine_->currentText() != o.engine)
        eEngine_->setEditText(o.engine);
}

QWidget* TsrPor::fieldFor(OrderField field) const {
    switch (field) {
    case OrderField::ClientName:
        return eClientName_;
    case OrderField::ClientAdres:
        return eClientAdres_;
    case OrderField::ClientPhone:
        return eClientPhone_;
    case OrderField::Marka:
        return eMarka_;
    case OrderField::Model:
        return eModels_;
    case OrderField::Year:
        return eYear_;
    case OrderField::RegNo:
        return eRegNo_;
    case OrderField::Km:
        return eKM_;
    case OrderField::DueDate:
        return backDate_;
    }
    return eClientName_;
}

void TsrPor::save() {
    const orders::NewOrder order = orders::trimmed(formOrder());
    showOrder(order);
    if (const auto problem = orders::checkNewOrder(order)) {
        ui::error(this, problem->message);
        fieldFor(problem->field)->setFocus();
        return;
    }
    qint64 number = eNomer_->text().toLongLong();
    btnRec_->setEnabled(false);
    btnCancel_->setEnabled(false);
    try {
        if (eNomer_->text().isEmpty() || orders::orderNumberTaken(db_, number)) {
            number = orders::proposedOrderNumber(db_).value_or(1);
            eNomer_->setText(QString::number(number));
        }
        mSQL_->setPlainText(orders::insertStatementText(order, number, today_));
        const orders::RegisteredOrder done = orders::registerOrder(db_, order, number, today_);
        saved_ = done.number;
        eNomer_->setText(QString::number(done.number));
        mSQL_->setPlainText(done.statement);
    } catch (const store::DbError& e) {
        btnRec_->setEnabled(true);
        btnCancel_->setEnabled(true);
        ui::error(this, e.message());
        return;
    }
    if (printServiceOrder_ && chkPrn_->isChecked())
        printServiceOrder_(*saved_);
    accept();
}
