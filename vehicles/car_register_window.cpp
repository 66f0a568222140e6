#include "vehicles/car_register_window.h"

#include "invoicing/client_field_controls.h"
#include "store/database.h"
#include "store/list_query.h"
#include "ui/grid_printer.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "ui/row_list.h"
#include "vehicles/vehicle_pick_chain_controls.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

using vehicles::Car;
using vehicles::CarField;
using vehicles::VehiclePickChain;

namespace {

enum Column {
    ColMarka,
    ColModel,
    ColModify,
    ColYear,
    ColRegNo,
    ColCouppe,
    ColEngine,
    ColOwner,
    ColAddress,
    ColPhone,
    ColId
};

QComboBox* pick(QWidget* parent, const char* name) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    VehiclePickChain::preparePickField(c);
    c->setMinimumWidth(200);
    return c;
}

} // namespace

TsrCar::TsrCar(store::Database& db, Mode mode, QWidget* parent)
    : QDialog(parent), db_(db), mode_(mode) {
    setObjectName(QStringLiteral("TsrCar"));
    setWindowTitle(QStringLiteral("Регистър на автомобилите"));
    buildList();
    buildPanel();
    reload();
    if (model_->rowCount() > 0)
        grid_->selectRow(0);
    grid_->resizeColumnsToContents();
    resize(1100, 600);
}

TsrCar::~TsrCar() {
    // Hiding the window while a field has the focus must not run the field's leave steps on
    // a half-destroyed window.
    eClientName_->disconnect(this);
    delete chain_;
}

void TsrCar::buildList() {
    topPanel_ = new QWidget(this);
    auto* btnAdd = ui::namedButton(topPanel_, "btnAdd", QStringLiteral("Нов"));
    auto* btnEdit = ui::namedButton(topPanel_, "btnEdit", QStringLiteral("Редакция"));
    btnCheck_ = ui::namedButton(topPanel_, "btnCheck", QStringLiteral("Поръчки на автомобила"));
    auto* btnPrn = ui::namedButton(topPanel_, "btnPrn", QStringLiteral("Печат"));
    auto* bestFit = ui::namedButton(topPanel_, "bestFit", QStringLiteral("Ширина на колоните"));
    auto* close = ui::namedButton(topPanel_, "BitBtn3", QStringLiteral("Изход"));
    auto* take = ui::namedButton(topPanel_, "BitBtn4", QStringLiteral("Избор"));
    btnCheck_->setEnabled(false);
    close->setVisible(mode_ == Mode::Register);
    take->setVisible(mode_ == Mode::Picker);
    take->setDefault(mode_ == Mode::Picker);
    connect(btnAdd, &QPushButton::clicked, this, &TsrCar::addCar);
    connect(btnEdit, &QPushButton::clicked, this, &TsrCar::editCar);
    connect(btnCheck_, &QPushButton::clicked, this, &TsrCar::showOrders);
    connect(btnPrn, &QPushButton::clicked, this, &TsrCar::printList);
    connect(bestFit, &QPushButton::clicked, this, [this] { grid_->resizeColumnsToContents(); });
    connect(close, &QPushButton::clicked, this, &TsrCar::reject);
    connect(take, &QPushButton::clicked, this, &TsrCar::takeCar);
    auto* top = new QHBoxLayout(topPanel_);
    top->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* b : {btnAdd, btnEdit, btnCheck_, btnPrn, bestFit})
        top->addWidget(b);
    top->addStretch();
    top->addWidget(take);
    top->addWidget(close);

    model_ = new QSqlQueryModel(this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("Grid"));
    grid_->setModel(model_);
    ui::prepareRowList(grid_);
    grid_->setAlternatingRowColors(true);
    connect(grid_, &QTableView::doubleClicked, this, [this] {
        if (mode_ == Mode::Picker)
            takeCar();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(topPanel_);
    layout->addWidget(grid_);
}

void TsrCar::buildPanel() {
    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("pAddCar"));
    panel_->setFrameShape(QFrame::Panel);
    panel_->setFrameShadow(QFrame::Raised);
    panel_->setAutoFillBackground(true);
    lbEdit_ = new QLabel(panel_);
    lbEdit_->setObjectName(QStringLiteral("lbEdit"));
    lbEdit_->hide();

    eMarka_ = pick(panel_, "eMarka");
    eModels_ = pick(panel_, "eModels");
    eModification_ = pick(panel_, "eModification");
    ePeriod_ = pick(panel_, "ePeriod");
    eEngine_ = pick(panel_, "eEngine");
    eKW_ = ui::namedEdit(panel_, "eKW");
    eKW_->setMaxLength(4);
    eCCM_ = ui::namedEdit(panel_, "eCCM");
    eCCM_->setMaxLength(4);
    eYear_ = ui::namedEdit(panel_, "eYear");
    eYear_->setMaxLength(8);
    eRegNo_ = ui::namedEdit(panel_, "eRegNo");
    eRegNo_->setMaxLength(35);
    eCouppe_ = ui::namedEdit(panel_, "eCouppe");
    eCouppe_->setMaxLength(25);
    eClientName_ = ui::namedEdit(panel_, "eClientName");
    eClientName_->setMaxLength(40);
    eClientAdres_ = ui::namedEdit(panel_, "eClientAdres");
    eClientAdres_->setMaxLength(60);
    eClientPhone_ = ui::namedEdit(panel_, "eClientPhone");
    eClientPhone_->setMaxLength(30);
    ui::acceptOnly(eEngine_->lineEdit(), QStringLiteral("[-0-9A-Z]*"));
    ui::acceptOnly(eYear_, QStringLiteral("[0-9]*"));
    ui::acceptOnly(eKW_, QStringLiteral("[0-9.,]*"));
    ui::acceptOnly(
        eCCM_,
        QStringLiteral("[0-9%1]*").arg(QRegularExpression::escape(QLocale().decimalPoint())));
    connect(eClientName_, &QLineEdit::editingFinished, this, &TsrCar::ownerNameLeft);

    auto* btnFirms = ui::namedButton(panel_, "btnFirms", QStringLiteral("..."));
    btnFirms->setToolTip(QStringLiteral("Избор от клиентите"));
    connect(btnFirms, &QPushButton::clicked, this, &TsrCar::chooseOwner);
    btnRec_ = ui::namedButton(panel_, "btnRec", QStringLiteral("Запис"));
    auto* btnCancel = ui::namedButton(panel_, "btnCancel", QStringLiteral("Отказ"));
    connect(btnRec_, &QPushButton::clicked, this, &TsrCar::saveCar);
    connect(btnCancel, &QPushButton::clicked, this, &TsrCar::cancelEdit);

    auto* grid = new QGridLayout;
    auto label = [this](const QString& text) { return new QLabel(text, panel_); };
    int row = 0;
    auto add = [&](const QString& text, QWidget* field, QWidget* extra = nullptr) {
        grid->addWidget(label(text), row, 0);
        grid->addWidget(field, row, 1);
        if (extra)
            grid->addWidget(extra, row, 2);
        ++row;
    };
    add(QStringLiteral("Рег. номер:"), eRegNo_);
    add(QStringLiteral("Собственик:"), eClientName_, btnFirms);
    add(QStringLiteral("Адрес:"), eClientAdres_);
    add(QStringLiteral("Телефон:"), eClientPhone_);
    add(QStringLiteral("Марка:"), eMarka_);
    add(QStringLiteral("Модел:"), eModels_);
    add(QStringLiteral("Модификация:"), eModification_);
    add(QStringLiteral("Период:"), ePeriod_);
    add(QStringLiteral("Двигател:"), eEngine_);
    add(QStringLiteral("kW:"), eKW_);
    add(QStringLiteral("ccm:"), eCCM_);
    add(QStringLiteral("Година:"), eYear_);
    add(QStringLiteral("Шаси:"), eCouppe_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnRec_);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(panel_);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    // Tab runs down the form as it is laid out, then to the buttons.
    const QList<QWidget*> order{eRegNo_,       eClientName_, btnFirms, eClientAdres_,
                                eClientPhone_, eMarka_,      eModels_, eModification_,
                                ePeriod_,      eEngine_,     eKW_,     eCCM_,
                                eYear_,        eCouppe_,     btnRec_,  btnCancel};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    panel_->adjustSize();
    panel_->hide();

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
}

void TsrCar::setOrdersOfCar(std::function<void(const QString&)> show) {
    ordersOfCar_ = std::move(show);
    btnCheck_->setEnabled(bool(ordersOfCar_));
}

void TsrCar::reload(std::optional<qint64> focusId) {
    const std::optional<qint64> keep = focusId ? focusId : currentCarId();
    try {
        ui::showRows(*model_,
                     store::listQuery(db_, QStringLiteral("SELECT Marka, Model, Modify, YearMade, "
                                                          "RegNo, Couppe, Engine, OwnerName, "
                                                          "OwnerAddress, OwnerPhone, id FROM cars "
                                                          "ORDER BY Marka, Model, RegNo, id")),
                     {"Марка", "Модел", "Модификация", "Година", "Рег. номер", "Шаси", "Двигател",
                      "Собственик", "Адрес", "Телефон", "id"});
    } catch (const store::DbError& e) {
        model_->clear();
        ui::error(this, e.message());
    }
    grid_->setColumnHidden(ColId, true);
    if (keep)
        selectCar(*keep);
}

void TsrCar::selectCar(qint64 id) {
    ui::selectRowWithId(grid_, ColId, id);
}

std::optional<qint64> TsrCar::currentCarId() const {
    return ui::currentRowId(grid_, ColId);
}

bool TsrCar::isEditing() const {
    return panel_->isVisible() || !lbEdit_->text().isEmpty();
}

void TsrCar::openPanel(const QString& mode) {
    lbEdit_->setText(mode);
    topPanel_->setEnabled(false);
    grid_->setEnabled(false);
    panel_->move(32, 40);
    panel_->show();
    panel_->raise();
    chain_->resetSelection();
    chain_->fillBrandList();
}

void TsrCar::closePanel() {
    lbEdit_->clear();
    panel_->hide();
    topPanel_->setEnabled(true);
    grid_->setEnabled(true);
    grid_->setFocus();
}

void TsrCar::addCar() {
    editedId_ = 0;
    chain_->setStoredEngine(std::nullopt);
    for (QLineEdit* e :
         {eRegNo_, eClientName_, eClientAdres_, eClientPhone_, eKW_, eCCM_, eCouppe_, eYear_})
        e->clear();
    for (QComboBox* c : {eModels_, eModification_, ePeriod_, eEngine_})
        c->clear();
    openPanel(QStringLiteral("append"));
    eRegNo_->setFocus();
}

void TsrCar::restoreStoredChoice(QComboBox* field, const QString& stored,
                                 void (VehiclePickChain::*leave)()) {
    chain_->markEntry(field);
    if (stored.isEmpty()) {
        field->setEditText(QString());
        return;
    }
    VehiclePickChain::selectOrAppend(field, stored);
    if (field->currentText().isEmpty()) {
        // Unknown to the catalogue: an optional text is kept as stored rather than lost on
        // save; brand and model stay empty so that the save asks for them.
        if (field == eModification_ || field == ePeriod_)
            field->setEditText(stored);
        return;
    }
    (chain_->*leave)();
}

void TsrCar::editCar() {
    const auto id = currentCarId();
    if (!id)
        return;
    const auto car = vehicles::loadCar(db_, *id);
    if (!car)
        return;
    editedId_ = car->id;
    eRegNo_->setText(car->regNo);
    eClientName_->setText(car->ownerName);
    eClientAdres_->setText(car->ownerAddress);
    eClientPhone_->setText(car->ownerPhone);
    eCouppe_->setText(car->couppe);
    eYear_->setText(car->yearMade);
    chain_->setStoredEngine(car->engine);
    openPanel(QStringLiteral("edit"));
    restoreStoredChoice(eMarka_, car->marka, &VehiclePickChain::leaveBrand);
    restoreStoredChoice(eModels_, car->model, &VehiclePickChain::leaveModel);
    restoreStoredChoice(eModification_, car->modify, &VehiclePickChain::leaveModification);
    restoreStoredChoice(ePeriod_, car->period, &VehiclePickChain::leavePeriod);
    eEngine_->setEditText(car->engine);
    eKW_->setText(car->kw);
    eCCM_->setText(car->ccm);
    eRegNo_->setFocus();
}

Car TsrCar::panelCar() const {
    Car car;
    car.id = lbEdit_->text() == QLatin1String("edit") ? editedId_ : 0;
    car.marka = eMarka_->currentText();
    car.model = eModels_->currentText();
    car.modify = eModification_->currentText();
    car.period = ePeriod_->currentText();
    car.yearMade = eYear_->text();
    car.regNo = eRegNo_->text();
    car.couppe = eCouppe_->text();
    car.engine = eEngine_->currentText();
    car.kw = eKW_->text();
    car.ccm = eCCM_->text();
    car.ownerName = eClientName_->text();
    car.ownerAddress = eClientAdres_->text();
    car.ownerPhone = eClientPhone_->text();
    return car;
}

QWidget* TsrCar::fieldFor(CarField field) const {
    switch (field) {
    case CarField::Brand:
        return eMarka_;
    case CarField::Model:
        return eModels_;
    case CarField::Year:
        return eYear_;
    case CarField::RegNo:
        return eRegNo_;
    case CarField::Chassis:
        return eCouppe_;
    case CarField::Engine:
        return eEngine_;
    case CarField::OwnerName:
        return eClientName_;
    case CarField::OwnerAddress:
        return eClientAdres_;
    case CarField::OwnerPhone:
        return eClientPhone_;
    }
    return eRegNo_;
}

void TsrCar::saveCar() {
    const Car car = panelCar();
    try {
        if (const auto problem = vehicles::checkCar(db_, car)) {
            ui::message(this, ui::captionMessage(), problem->message, ui::MessageIcon::Warning);
            fieldFor(problem->field)->setFocus();
            return;
        }
        const qint64 id = vehicles::saveCar(db_, car);
        closePanel();
        reload(id);
        grid_->resizeColumnsToContents();
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
}

void TsrCar::cancelEdit() {
    closePanel();
}

void TsrCar::takeCar() {
    if (mode_ != Mode::Picker || isEditing())
        return;
    const auto id = currentCarId();
    if (!id)
        return;
    chosen_ = vehicles::loadCar(db_, *id);
    if (chosen_)
        accept();
}

void TsrCar::printList() {
    grid_->resizeColumnsToContents();
    ui::PrintHeader header;
    header.title = QStringLiteral("Регистър на автомобилите");
    ui::printGrid(this, *grid_, header);
}

void TsrCar::showOrders() {
    const QModelIndex current = grid_->currentIndex();
    if (!ordersOfCar_ || !current.isValid())
        return;
    ordersOfCar_(model_->index(current.row(), ColRegNo).data().toString());
}

void TsrCar::ownerNameLeft() {
    if (invoicing::fillFromRegisteredName(db_, ownerFields()))
        eMarka_->setFocus();
}

void TsrCar::chooseOwner() {
    if (!panel_->isVisible())
        return;
    const auto firm = invoicing::chooseClientInto(db_, ownerFields(), this);
    if (!firm)
        eClientName_->setFocus();
    else if (firm->phones.isEmpty())
        eClientPhone_->setFocus();
    else
        btnRec_->setFocus();
}

invoicing::ClientFields TsrCar::ownerFields() const {
    return {eClientName_, eClientAdres_, eClientPhone_};
}

void TsrCar::reject() {
    // The car being entered is saved or cancelled first.
    if (isEditing())
        return;
    QDialog::reject();
}

void TsrCar::keyPressEvent(QKeyEvent* event) {
    if (mode_ == Mode::Picker && !isEditing() &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        takeCar();
        return;
    }
    QDialog::keyPressEvent(event);
}
