#include "orders/order_report_window.h"

#include "finance/finance_commands.h"
#include "finance/rate_dialog.h"
#include "orders/external_parts_dialog.h"
#include "orders/operations_catalogue_window.h"
#include "orders/order_parts_dialog.h"
#include "orders/order_payment.h"
#include "orders/order_ready.h"
#include "shell/business_settings.h"
#include "shell/session.h"
#include "shell/user_settings.h"
#include "staff/employees.h"
#include "store/database.h"
#include "store/list_query.h"
#include "store/money.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "ui/row_list.h"
#include "warehouse/part_catalogue.h"
#include "warehouse/stock.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSettings>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

using namespace orders;

namespace {

const QString kPrintCardKey = QStringLiteral("Print ready card");

// Amounts in the fields as everywhere else: "1 234,50".
QString moneyText(double v) {
    return store::formatMoney(v);
}

double valueOf(const QLineEdit* edit) {
    return store::parseMoney(edit->text()).value_or(0);
}

QString externalText(const ExternalStoreError& e) {
    switch (e.failure()) {
    case ExternalFailure::GoodsNotFound:
        return QStringLiteral("Търсената стока не е намерена");
    case ExternalFailure::CannotOpen:
        return QStringLiteral("Грешка при отваряне на база на Микроинвест");
    default:
        return QString::fromStdString(e.what());
    }
}

} // namespace

TfrmOtchet::TfrmOtchet(store::Database& db, shell::Session& session, QWidget* parent)
    : QDialog(parent), db_(db), session_(session) {
    setObjectName(QStringLiteral("TfrmOtchet"));
    resize(960, 680);
    listMode_ = new QComboBox(this);
    listMode_->setObjectName(QStringLiteral("listMode"));
    listMode_->addItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")});
    listMode_->hide();
    dxDBEdit1_ = new QLineEdit(this);
    dxDBEdit1_->setObjectName(QStringLiteral("dxDBEdit1"));
    dxDBEdit1_->setReadOnly(true);
    cmbState_ = new QComboBox(this);
    cmbState_->setObjectName(QStringLiteral("cmbState"));
    cmbClerks_ = new QComboBox(this);
    cmbClerks_->setObjectName(QStringLiteral("cmbClerks"));
    cmbPay_ = new QComboBox(this);
    cmbPay_->setObjectName(QStringLiteral("cmbPay"));
    cmbPay_->addItems({QStringLiteral("В брой"), QStringLiteral("По сметка на клиента")});
    chkPrnCard_ = new QCheckBox(QStringLiteral("Печат на ремонтна карта"), this);
    chkPrnCard_->setObjectName(QStringLiteral("chkPrnCard"));
    connect(chkPrnCard_, &QCheckBox::toggled, this,
            [](bool on) { shell::userSettings().setValue(kPrintCardKey, on); });
    lb_ = new QLabel(this);
    lb_->setObjectName(QStringLiteral("lb"));

    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("Поръчка №"), this));
    head->addWidget(dxDBEdit1_);
    head->addWidget(new QLabel(QStringLiteral("Резултат:"), this));
    head->addWidget(cmbState_);
    head->addWidget(new QLabel(QStringLiteral("Техник:"), this));
    head->addWidget(cmbClerks_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    buildParts();
    buildLabour();
    layout->addWidget(panParts_, 1);
    layout->addWidget(panTrud_, 1);
    buildMoney();
    buildButtons();
}

TfrmOtchet::~TfrmOtchet() = default;

void TfrmOtchet::buildParts() {
    panParts_ = new QGroupBox(QStringLiteral("Резервни части"), this);
    panParts_->setObjectName(QStringLiteral("panParts"));
    partsModel_ = new QSqlQueryModel(this);
    gridParts_ = ui::rowList(panParts_, "gridParts", partsModel_);
    btnAddPart_ = ui::namedButton(panParts_, "btnAddPart", QStringLiteral("Добави част"));
    btnDelPart_ = ui::namedButton(panParts_, "btnDelPart", QStringLiteral("Премахни част"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnAddPart_);
    buttons->addWidget(btnDelPart_);
    buttons->addStretch();
    auto* l = new QHBoxLayout(panParts_);
    l->addWidget(gridParts_, 1);
    l->addLayout(buttons);
    connect(btnAddPart_, &QPushButton::clicked, this, &TfrmOtchet::addPart);
    connect(btnDelPart_, &QPushButton::clicked, this, &TfrmOtchet::removePart);
}

void TfrmOtchet::buildLabour() {
    panTrud_ = new QGroupBox(QStringLiteral("Труд"), this);
    panTrud_->setObjectName(QStringLiteral("panTrud"));
    labourModel_ = new QSqlQueryModel(this);
    grTrud_ = ui::rowList(panTrud_, "grTrud", labourModel_);
    addWorkOp_ = ui::namedButton(panTrud_, "addWorkOp", QStringLiteral("Добави труд"));
    delWork_ = ui::namedButton(panTrud_, "delWork", QStringLiteral("Премахни труд"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(addWorkOp_);
    buttons->addWidget(delWork_);
    buttons->addStretch();
    auto* l = new QHBoxLayout(panTrud_);
    l->addWidget(grTrud_, 1);
    l->addLayout(buttons);
    connect(addWorkOp_, &QPushButton::clicked, this, &TfrmOtchet::addLabour);
    connect(delWork_, &QPushButton::clicked, this, &TfrmOtchet::removeLabour);
}

void TfrmOtchet::buildMoney() {
    eParts_ = ui::amountEdit(this, "eParts", true);
    eTrudClient_ = ui::amountEdit(this, "eTrudClient", true);
    eTrudClerk_ = ui::amountEdit(this, "eTrudClerk", true);
    // The fee takes digits and a decimal point only.
    eTaksa_ = ui::amountEdit(this, "eTaksa", false);
    ui::refuseMinus(eTaksa_, QStringLiteral("Таксата не може да бъде отрицателна. Отстъпка се "
                                            "въвежда в полето за отстъпка."));
    eDiscParts_ = ui::amountEdit(this, "eDiscParts", true);
    eDiscJobs_ = ui::amountEdit(this, "eDiscJobs", true);
    eOtst_ = ui::amountEdit(this, "eOtst", true);
    eSuma_ = ui::amountEdit(this, "eSuma", true);
    for (QLineEdit* e : {eParts_, eTrudClient_, eTrudClerk_, eDiscParts_, eDiscJobs_})
        e->setReadOnly(true);
    connect(eTaksa_, &QLineEdit::textEdited, this, &TfrmOtchet::feeEdited);
    connect(eOtst_, &QLineEdit::textEdited, this, &TfrmOtchet::discountEdited);
    connect(eSuma_, &QLineEdit::textEdited, this, &TfrmOtchet::amountEdited);

    auto* box = new QGroupBox(QStringLiteral("Суми (лв.)"), this);
    auto* g = new QGridLayout(box);
    auto add = [&](int row, int col, const QString& label, QWidget* field) {
        g->addWidget(new QLabel(label, box), row, col * 2);
        g->addWidget(field, row, col * 2 + 1);
    };
    add(0, 0, QStringLiteral("Части:"), eParts_);
    add(1, 0, QStringLiteral("Труд (клиент):"), eTrudClient_);
    add(2, 0, QStringLiteral("Труд (техници):"), eTrudClerk_);
    add(0, 1, QStringLiteral("Отстъпка части %:"), eDiscParts_);
    add(1, 1, QStringLiteral("Отстъпка труд %:"), eDiscJobs_);
    add(2, 1, QStringLiteral("Такса:"), eTaksa_);
    add(0, 2, QStringLiteral("Отстъпка:"), eOtst_);
    add(1, 2, QStringLiteral("За плащане:"), eSuma_);
    add(2, 2, QStringLiteral("Плащане:"), cmbPay_);
    layout()->addWidget(box);
}

void TfrmOtchet::buildButtons() {
    btnReady_ = ui::namedButton(this, "btnReady", QStringLiteral("Готова"));
    btnPay_ = ui::namedButton(this, "btnPay", QStringLiteral("Плащане"));
    btnExit_ = ui::namedButton(this, "btnExit", QStringLiteral("Изход"));
    auto* row = new QHBoxLayout;
    row->addWidget(chkPrnCard_);
    row->addWidget(lb_, 1);
    row->addWidget(btnReady_);
    row->addWidget(btnPay_);
    row->addWidget(btnExit_);
    qobject_cast<QVBoxLayout*>(layout())->addLayout(row);
    connect(btnReady_, &QPushButton::clicked, this, &TfrmOtchet::markReady);
    connect(btnPay_, &QPushButton::clicked, this, &TfrmOtchet::pay);
    connect(btnExit_, &QPushButton::clicked, this, &TfrmOtchet::reject);
}

QString TfrmOtchet::titleFor(OrderMode mode, int orderType) {
    static const char* const titles[] = {"Изписване на резервни части към поръчка",
                                         "Отчет на поръчка", "Плащане на поръчка"};
    static const char* const suffixes[] = {" - нормален ремонт", " - вътрешен ремонт за сервиза",
                                           " - гаранционен ремонт"};
    QString title = QString::fromUtf8(titles[static_cast<int>(mode)]);
    if (orderType >= 0 && orderType <= 2)
        title += QString::fromUtf8(suffixes[orderType]);
    return title;
}

// Opening -----------------------------------------------------------------------------------

bool TfrmOtchet::openOrder(qint64 idPor, OrderMode mode) {
    const auto head = loadOrderHead(db_, idPor);
    if (!head)
        return false;
    idPor_ = idPor;
    head_ = *head;
    mode_ = mode;
    listMode_->setCurrentIndex(static_cast<int>(mode));
    setWindowTitle(titleFor(mode, head_.type));
    dxDBEdit1_->setText(QString::number(idPor));
    cmbPay_->hide();
    cmbPay_->setCurrentIndex(0);
    chkPrnCard_->hide();
    client_ = clientDiscounts(db_, head_.clientNames);
    applyMode();
    fillTechnicians();

    money_ = OrderMoney{};
    money_.discParts = client_.parts;
    money_.discJobs = client_.jobs;
    showStatus(QStringLiteral("Списъка с частите"));
    loadPartLines();
    money_.parts = partsTotal(db_, idPor);
    showStatus(QStringLiteral("Заработка..."));
    const WorkTotals labour = labourTotals(db_, idPor);
    money_.labourClient = labour.labourClient;
    money_.labourClerk = labour.labourClerk;
    showStatus(QStringLiteral("Списък труд"));
    loadLabourLines();

    if (mode == OrderMode::Report) {
        try {
            storeReportOpening(db_, idPor, session_.settings().serviceFee(), client_);
        } catch (const OrderStateRefused& e) {
            // Another workstation reported or paid the order since it was chosen.
            lb_->clear();
            ui::message(this, ui::captionMessage(), e.message(), ui::MessageIcon::Warning);
            return false;
        } catch (const store::DbError& e) {
            ui::error(this, e.message());
        }
        head_ = loadOrderHead(db_, idPor).value_or(head_);
    }
    money_.fee = head_.taksa;
    tmpSuma_ = head_.sumAll;
    money_.amount = tmpSuma_;
    money_.discount = store::roundMoney(money_.gross() - tmpSuma_);
    money_.discountEnabled = true;
    lb_->clear();
    grTrud_->resizeColumnsToContents();

    const bool paying = head_.type == 0;
    for (QLineEdit* e : {eTaksa_, eOtst_, eSuma_})
        e->setEnabled(paying && mode != OrderMode::Parts);
    if (!paying) {
        money_.fee = 0;
        money_.discount = 0;
        money_.amount = 0;
    }
    if (mode == OrderMode::Parts)
        eTaksa_->setEnabled(false);
    showMoney();
    if (mode == OrderMode::Payment)
        focusFee();
    return true;
}

void TfrmOtchet::applyMode() {
    cmbState_->clear();
    switch (mode_) {
    case OrderMode::Parts:
        cmbState_->addItem(QStringLiteral("Регистрирана"));
        cmbState_->setEnabled(false);
        btnReady_->hide();
        btnPay_->hide();
        panParts_->setEnabled(true);
        panTrud_->setEnabled(false);
        cmbClerks_->setEnabled(false);
        eParts_->setEnabled(false);
        btnAddPart_->setFocus();
        break;
    case OrderMode::Report: {
        cmbState_->addItems(resultTexts());
        cmbState_->setEnabled(true);
        cmbState_->setCurrentIndex(0);
        btnPay_->hide();
        btnReady_->show();
        panParts_->setEnabled(true);
        panTrud_->setEnabled(true);
        cmbClerks_->setEnabled(true);
        eParts_->setEnabled(true);
        QSettings settings = shell::userSettings();
        if (!settings.contains(kPrintCardKey))
            settings.setValue(kPrintCardKey, true);
        // Offered only where a repair card can be printed; never a tick that does nothing.
        chkPrnCard_->setVisible(bool(repairCard_));
        const QSignalBlocker block(chkPrnCard_);
        chkPrnCard_->setChecked(settings.value(kPrintCardKey).toBool());
        btnAddPart_->setFocus();
        break;
    }
    case OrderMode::Payment:
        cmbState_->addItems(resultTexts());
        cmbState_->setEnabled(false);
        cmbState_->setCurrentIndex(resultItem(head_.porState));
        btnReady_->hide();
        cmbPay_->setVisible(client_.firmId.has_value());
        btnPay_->show();
        panParts_->setEnabled(false);
        panTrud_->setEnabled(false);
        cmbClerks_->setEnabled(false);
        eParts_->setEnabled(true);
        break;
    }
}

void TfrmOtchet::fillTechnicians() {
    cmbClerks_->clear();
    if (mode_ == OrderMode::Parts)
        return;
    cmbClerks_->addItems(staff::activeTechnicianNames(db_));
    if (cmbClerks_->count() == 0)
        return;
    if (head_.idClerk == 0) {
        cmbClerks_->setCurrentIndex(0);
        return;
    }
    const int at = cmbClerks_->findText(staff::employeeName(db_, head_.idClerk));
    if (at < 0) {
        ui::message(this, ui::captionMessage(),
                    QStringLiteral("Служителят, който е определен за тази поръчка, вече не "
                                   "работи в сервиза!"),
                    ui::MessageIcon::Information);
        cmbClerks_->setEnabled(true);
    }
    cmbClerks_->setCurrentIndex(std::max(0, at));
}

void TfrmOtchet::loadLines() {
    loadPartLines();
    loadLabourLines();
}

void TfrmOtchet::loadPartLines() {
    const bool external = session_.settings().storeMode(db_) == 2;
    const QString firstColumns =
        external
            ? QStringLiteral("l.microBase, l.microPart")
            : QStringLiteral("(SELECT Type FROM typeParts WHERE typeParts.id = p.TypeID), p.Part");
    try {
        partsModel_->setQuery(store::listQuery(
            db_,
            QStringLiteral("SELECT ") + firstColumns +
                QStringLiteral(", p.PartNo, (SELECT Marka FROM partMarka WHERE partMarka.id = "
                               "p.idMarka), p.barcode, l.serial, l.amnt, l.priceLV, "
                               "l.priceLV * l.amnt, l.id FROM PartsInPor l "
                               "LEFT JOIN parts p ON p.id = l.idPart WHERE l.idPor = :o "
                               "ORDER BY l.id"),
            {{QStringLiteral("o"), idPor_}}));
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
        return;
    }
    const QStringList partHeaders{external ? QStringLiteral("База данни") : QStringLiteral("Тип"),
                                  external ? QStringLiteral("Код на стока")
                                           : QStringLiteral("Означение"),
                                  QStringLiteral("Каталожен №"),
                                  QStringLiteral("Марка"),
                                  QStringLiteral("Баркод"),
                                  QStringLiteral("Сериен №"),
                                  QStringLiteral("Количество"),
                                  QStringLiteral("Цена"),
                                  QStringLiteral("Сума")};
    ui::setHeaders(*partsModel_, partHeaders);
    gridParts_->setColumnHidden(partHeaders.size(), true);
    gridParts_->resizeColumnsToContents();
    if (partsModel_->rowCount() > 0)
        gridParts_->selectRow(partsModel_->rowCount() - 1);
}

void TfrmOtchet::loadLabourLines() {
    try {
        labourModel_->setQuery(store::listQuery(
            db_,
            QStringLiteral("SELECT j.Trud, j.Pr1, j.Pr2, (SELECT Name FROM clerks WHERE "
                           "clerks.id = j.idClerk), j.id FROM Jobs_In_Por j WHERE j.idPor = :o "
                           "ORDER BY j.id"),
            {{QStringLiteral("o"), idPor_}}));
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
        return;
    }
    const QStringList labourHeaders{QStringLiteral("Труд"), QStringLiteral("Цена"),
                                    QStringLiteral("За техника"), QStringLiteral("Техник")};
    ui::setHeaders(*labourModel_, labourHeaders);
    grTrud_->setColumnHidden(labourHeaders.size(), true);
    grTrud_->resizeColumnsToContents();
    if (labourModel_->rowCount() > 0)
        grTrud_->selectRow(labourModel_->rowCount() - 1);
}

void TfrmOtchet::showStatus(const QString& text) {
    lb_->setText(text);
    // The step runs on this thread right after: paint the text before it blocks.
    lb_->repaint();
    Q_EMIT statusShown(text);
}

StatusReport TfrmOtchet::statusReport() {
    return [this](const QString& text) { showStatus(text); };
}

void TfrmOtchet::refused(const QString& text) {
    lb_->clear();
    ui::message(this, ui::captionMessage(), text, ui::MessageIcon::Warning);
    showCurrentState();
}

// After a refusal: an order still fit for this mode is shown with its lines and totals as
// stored now; one that has moved on (reported, paid, restored elsewhere) can no longer be
// worked on here, so the window closes as the order commands would refuse to open it, and the
// register shows the order as it is.
void TfrmOtchet::showCurrentState() {
    const auto head = loadOrderHead(db_, idPor_);
    const OrderStage needed =
        mode_ == OrderMode::Payment ? OrderStage::ReadyUnpaid : OrderStage::InWork;
    if (stageRefusal(head, idPor_, needed)) {
        reject();
        return;
    }
    head_ = *head;
    try {
        money_ = currentMoney(db_, idPor_, context());
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
    loadLines();
    showMoney();
}

void TfrmOtchet::showMoney(const QLineEdit* typedInto) {
    eParts_->setText(moneyText(money_.parts));
    eTrudClient_->setText(moneyText(money_.labourClient));
    eTrudClerk_->setText(moneyText(money_.labourClerk));
    eDiscParts_->setText(moneyText(money_.discParts));
    eDiscJobs_->setText(moneyText(money_.discJobs));
    // The field being typed into keeps the text as typed.
    if (typedInto != eTaksa_)
        eTaksa_->setText(moneyText(money_.fee));
    if (typedInto != eOtst_)
        eOtst_->setText(moneyText(money_.discount));
    if (typedInto != eSuma_)
        eSuma_->setText(moneyText(money_.amount));
    if (mode_ != OrderMode::Parts && head_.type == 0)
        eOtst_->setEnabled(money_.discountEnabled);
}

// Linked money fields -----------------------------------------------------------------------

void TfrmOtchet::feeEdited() {
    money_.fee = valueOf(eTaksa_);
    money_.feeChanged(mode_ == OrderMode::Parts);
    showMoney(eTaksa_);
}

void TfrmOtchet::discountEdited() {
    money_.discountTyped(valueOf(eOtst_));
    showMoney(eOtst_);
}

void TfrmOtchet::amountEdited() {
    if (eOtst_->hasFocus())
        return;
    money_.amountTyped(valueOf(eSuma_));
    showMoney(eSuma_);
}

MoneyContext TfrmOtchet::context() const {
    return MoneyContext{money_.fee, money_.discParts, money_.discJobs, mode_ == OrderMode::Parts};
}

void TfrmOtchet::applyChange(const OrderMoney& changed) {
    money_ = changed;
    loadLines();
    showMoney();
}

std::optional<qint64> TfrmOtchet::currentLine(QTableView* grid, QSqlQueryModel* model) const {
    const QModelIndex current = grid->currentIndex();
    const int row = current.isValid() ? current.row() : model->rowCount() - 1;
    if (row < 0)
        return std::nullopt;
    return model->index(row, model->columnCount() - 1).data().toLongLong();
}

// Parts -------------------------------------------------------------------------------------

void TfrmOtchet::addPart() {
    if (mode_ == OrderMode::Payment)
        return;
    if (session_.settings().storeMode(db_) == 2)
        addExternalPart();
    else
        addStockPart();
}

void TfrmOtchet::addStockPart() {
    TfrmPorParts picker(db_, this);
    if (picker.exec() != QDialog::Accepted || !picker.choice())
        return;
    const auto chosen = *picker.choice();
    const auto part = warehouse::loadPart(db_, chosen.partId);
    if (!part)
        return;
    double price = 0;
    if (const auto first = existingLinePrice(db_, idPor_, chosen.partId)) {
        price = *first;
    } else {
        std::optional<store::Rates> rates;
        if (priceNeedsRates(*part, head_.type)) {
            rates = finance::ensureRates(this, db_);
            if (!rates)
                return;
        }
        price = newLinePrice(*part, head_.type, rates);
    }
    try {
        applyChange(orders::addStockPart(
            db_, {idPor_, chosen.partId, chosen.quantity, chosen.serial, price, session_.userId()},
            context()));
    } catch (const OrderStateRefused& e) {
        refused(e.message());
    } catch (const warehouse::StockError&) {
        ui::message(this, ui::captionMessage(),
                    QStringLiteral("Артикулът не е намерен в наличността!"),
                    ui::MessageIcon::Warning);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
}

void TfrmOtchet::addExternalPart() {
    TfrmMicro picker(shell::externalDatabases(db_), this);
    picker.chooseDatabase(0);
    if (picker.exec() != QDialog::Accepted || !picker.choice())
        return;
    const auto chosen = *picker.choice();
    const double price = head_.type == 0 ? store::roundMoney(chosen.goods.salePrice) : 0;
    try {
        applyChange(orders::addExternalPart(db_,
                                            {idPor_, chosen.databaseIndex, chosen.databasePath,
                                             chosen.goods.good, chosen.quantity, price},
                                            context()));
    } catch (const ExternalStoreError& e) {
        ui::message(this, ui::captionMessage(), externalText(e), ui::MessageIcon::Error);
    } catch (const OrderStateRefused& e) {
        refused(e.message());
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
}

void TfrmOtchet::removePart() {
    const auto line = currentLine(gridParts_, partsModel_);
    if (!line || mode_ == OrderMode::Payment)
        return;
    try {
        applyChange(removePartLine(db_, *line, session_.userId(), shell::externalDatabases(db_),
                                   context()));
    } catch (const ExternalStoreError& e) {
        ui::message(this, ui::captionMessage(), externalText(e), ui::MessageIcon::Error);
    } catch (const warehouse::StockError& e) {
        ui::error(this, QString::fromStdString(e.what()));
    } catch (const OrderStateRefused& e) {
        refused(e.message());
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
}

// Labour ------------------------------------------------------------------------------------

void TfrmOtchet::addLabour() {
    if (mode_ != OrderMode::Report)
        return;
    if (!workOp_)
        workOp_ = new TfrmWorkOp(db_, session_, this);
    QStringList technicians;
    for (int i = 0; i < cmbClerks_->count(); ++i)
        technicians << cmbClerks_->itemText(i);
    workOp_->setOrderMode(head_.type, technicians);
    if (workOp_->exec() != QDialog::Accepted || !workOp_->choice())
        return;
    const auto chosen = *workOp_->choice();
    const auto technician = technicianByName(db_, chosen.technician);
    if (!technician)
        return;
    LabourBooking booking;
    booking.idPor = idPor_;
    booking.operationId = chosen.operationId;
    booking.description = chosen.entry.description;
    booking.clientPrice = chosen.entry.clientPrice;
    booking.technicianAmount = chosen.entry.technicianAmount;
    booking.technicianId = technician->id;
    booking.hours = chosen.entry.hours;
    booking.coefficient = chosen.entry.coefficient;
    booking.byTime = session_.settings().workByTime();
    try {
        applyChange(addLabourLine(db_, booking, context()));
    } catch (const OrderStateRefused& e) {
        refused(e.message());
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
}

void TfrmOtchet::removeLabour() {
    const auto line = currentLine(grTrud_, labourModel_);
    if (!line || mode_ != OrderMode::Report)
        return;
    try {
        applyChange(removeLabourLine(db_, *line, context()));
    } catch (const OrderStateRefused& e) {
        refused(e.message());
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
}

// Ready and payment -------------------------------------------------------------------------

void TfrmOtchet::focusFee() {
    eTaksa_->setFocus();
    eTaksa_->selectAll();
}

bool TfrmOtchet::runChecks(const QList<OrderCheck>& checks) {
    for (const OrderCheck& c : checks) {
        const bool goOn = c.question ? ui::ask(this, c.text, ui::captionMessage()) : false;
        if (!c.question)
            ui::message(this, ui::captionMessage(), c.text, ui::MessageIcon::Warning);
        if (goOn)
            continue;
        if (c.focus == CheckFocus::Fee)
            focusFee();
        else if (c.focus == CheckFocus::LabourClient)
            eTrudClient_->setFocus();
        return false;
    }
    return true;
}

void TfrmOtchet::markReady() {
    if (mode_ != OrderMode::Report)
        return;
    money_.fee = valueOf(eTaksa_);
    money_.amount = valueOf(eSuma_);
    money_.discount = valueOf(eOtst_);
    const CheckedMoney checked{head_.type,
                               money_.amount,
                               money_.fee,
                               session_.settings().serviceFee(),
                               money_.labourClient,
                               money_.labourClerk,
                               labourModel_->rowCount() > 0};
    if (!runChecks(readyChecks(checked)))
        return;
    chkPrnCard_->hide();
    try {
        const ReadyOutcome outcome =
            orders::markReady(db_,
                              {idPor_, money_.fee, money_.labourClient, money_.parts, money_.amount,
                               cmbState_->currentIndex()},
                              QDate::currentDate(), statusReport());
        if (outcome == ReadyOutcome::AlreadyReady) {
            refused(stageRefusal(loadOrderHead(db_, idPor_), idPor_, OrderStage::InWork)
                        .value_or(alreadyReportedText(idPor_)));
            return;
        }
    } catch (const store::DbError& e) {
        lb_->clear();
        ui::error(this, e.message());
        return;
    }
    const bool printCard = chkPrnCard_->isChecked();
    openOrder(idPor_, OrderMode::Payment);
    if (printCard && repairCard_)
        repairCard_(idPor_);
    btnExit_->setFocus();
}

void TfrmOtchet::pay() {
    if (mode_ != OrderMode::Payment)
        return;
    showStatus(QStringLiteral("Начало отчет"));
    money_.fee = valueOf(eTaksa_);
    money_.amount = valueOf(eSuma_);
    money_.discount = valueOf(eOtst_);
    const CheckedMoney checked{head_.type,
                               money_.amount,
                               money_.fee,
                               session_.settings().serviceFee(),
                               money_.labourClient,
                               money_.labourClerk,
                               labourModel_->rowCount() > 0};
    if (!runChecks(paymentChecks(checked))) {
        lb_->clear();
        return;
    }
    PaymentInput in;
    in.idPor = idPor_;
    in.orderNumberText = dxDBEdit1_->text();
    in.clientNames = head_.clientNames;
    in.clientId = client_.firmId;
    in.fee = money_.fee;
    in.labourClient = money_.labourClient;
    in.labourClerk = money_.labourClerk;
    in.parts = money_.parts;
    in.amount = money_.amount;
    in.discount = money_.discount;
    in.method =
        cmbPay_->isVisible() && cmbPay_->currentIndex() == 1 ? PayMethod::Account : PayMethod::Cash;
    in.foreignCurrencies = session_.settings().foreignCurrencies();
    in.externalDatabases = shell::externalDatabases(db_);
    in.userId = session_.userId();
    try {
        if (paymentNeedsRates(db_, idPor_, in.foreignCurrencies)) {
            in.rates = finance::ensureRates(this, db_);
            if (!in.rates) {
                lb_->clear();
                return;
            }
        }
        const PaymentResult result =
            payOrder(db_, in, QDateTime::currentDateTime(), statusReport());
        lb_->clear();
        if (!result.paid) {
            refused(stageRefusal(loadOrderHead(db_, idPor_), idPor_, OrderStage::ReadyUnpaid)
                        .value_or(alreadyPaidText(idPor_)));
            return;
        }
    } catch (const store::DbError& e) {
        lb_->clear();
        ui::error(this, e.message());
        return;
    } catch (const std::invalid_argument& e) {
        lb_->clear();
        ui::error(this, QString::fromStdString(e.what()));
        return;
    }
    accept();
}
