#include "warehouse/delivery_window.h"

#include "shell/session.h"
#include "store/database.h"
#include "store/money.h"
#include "ui/barcode_reader.h"
#include "ui/grid_export.h"
#include "ui/grid_printer.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "ui/progress_window.h"
#include "ui/row_list.h"
#include "ui/wait_message.h"
#include "warehouse/delivery_line_dialog.h"
#include "warehouse/delivery_return_window.h"
#include "warehouse/earlier_deliveries_window.h"
#include "warehouse/part_catalogue.h"
#include "warehouse/part_edit_panel.h"
#include "warehouse/parts_list_panel.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

using warehouse::DeliveryLine;
using warehouse::PartsList;

namespace {

QAction* action(QToolBar* bar, const char* name, const QString& text) {
    QAction* a = bar->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QStandardItem* cell(const QString& text, bool number = false) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

TsrDostParts::TsrDostParts(store::Database& db, const shell::Session& session,
                           const warehouse::WarehouseSettings& settings,
                           warehouse::Delivery delivery, QWidget* parent)
    : QDialog(parent), db_(db), session_(session), settings_(settings), mode_(Mode::Delivery),
      delivery_(std::move(delivery)) {
    build();
}

TsrDostParts::TsrDostParts(store::Database& db, const shell::Session& session,
                           const warehouse::WarehouseSettings& settings, QWidget* parent)
    : QDialog(parent), db_(db), session_(session), settings_(settings), mode_(Mode::Stock) {
    build();
}

void TsrDostParts::build() {
    setObjectName(QStringLiteral("TsrDostParts"));
    lineEditor_ = [](TsrDostParts* window,
                     const DeliveryLine& line) -> std::optional<DeliveryLine> {
        const auto part = warehouse::loadPart(window->db_, line.partId);
        TsrDostData dialog(window->db_, window->settings_, line,
                           window->delivery_.rates.value_or(store::Rates{}),
                           part ? part->makerId : std::nullopt, part ? part->typeId : std::nullopt,
                           window->delivery_, window);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.line();
    };

    auto* toolbar = new QToolBar(this);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(toolbar);

    PartsList::Options options;
    options.shortestSearch = 4;
    options.emptySearchLoadsStock = false;
    options.searchInStockOnly = mode_ == Mode::Stock;
    options.priceColumns = mode_ == Mode::Stock;
    options.purchaseColumns =
        mode_ == Mode::Stock && session_.holdsRight(store::Right::DeliveryReportAndPurchasePrices);

    auto* mnSearch = action(toolbar, "mnSearch", QStringLiteral("Търсене"));
    if (mode_ == Mode::Delivery) {
        auto* tbNom = action(toolbar, "tbNom", QStringLiteral("Номенклатура (F2)"));
        tbNom->setShortcut(QKeySequence(Qt::Key_F2));
        connect(tbNom, &QAction::triggered, this, &TsrDostParts::showNomenclature);
        pNom_ = new QFrame(this);
        pNom_->setObjectName(QStringLiteral("pNom"));
        pNom_->setFrameShape(QFrame::Panel);
        pNom_->setFrameShadow(QFrame::Raised);
        pNom_->setAutoFillBackground(true);
        list_ = new PartsList(db_, options, pNom_);
        buildDeliveryMode(pNom_);
        buildEarlierDeliveries();
        layout->addWidget(linesArea_);
        setWindowTitle(delivery_.caption());
        resize(1100, 640);
    } else {
        list_ = new PartsList(db_, options, this);
        buildStockMode();
        layout->addWidget(list_);
        auto* bottom = new QHBoxLayout;
        bottom->addStretch();
        btnClose_ = ui::namedButton(this, "btnClose", QStringLiteral("Изход"));
        connect(btnClose_, &QPushButton::clicked, this, &TsrDostParts::reject);
        bottom->addWidget(btnClose_);
        layout->addLayout(bottom);
        mnNal_ = action(toolbar, "mnNal", QStringLiteral("Само наличните"));
        mnNal_->setCheckable(true);
        mnNal_->setChecked(true);
        connect(mnNal_, &QAction::toggled, list_, &PartsList::loadBroad);
        auto* mnChPrice = action(toolbar, "mnChPrice", QStringLiteral("Промяна на цени"));
        mnChPrice->setEnabled(session_.holdsRight(store::Right::Prices));
        connect(mnChPrice, &QAction::triggered, this, &TsrDostParts::showPricePanel);
        auto* mnBack = action(toolbar, "mnBack", QStringLiteral("Връщане към доставчик"));
        // Returns are not offered at all to someone who may not make them.
        mnBack->setVisible(session_.holdsRight(store::Right::DeliveryAndDiscounts));
        connect(mnBack, &QAction::triggered, this, &TsrDostParts::returnToSupplier);
        setWindowTitle(QStringLiteral("Наличност на резервни части"));
        resize(1100, 640);
    }
    connect(mnSearch, &QAction::triggered, this, [this] {
        if (mode_ == Mode::Delivery)
            showNomenclature();
        list_->isSearching() ? list_->hideSearch() : list_->showSearch();
    });
    toolbar->addSeparator();
    auto* mnPrn = action(toolbar, "mnPrn", QStringLiteral("Печат"));
    auto* mnExcel = action(toolbar, "mnExcel", QStringLiteral("Експорт"));
    connect(mnPrn, &QAction::triggered, this, &TsrDostParts::printParts);
    connect(mnExcel, &QAction::triggered, this, &TsrDostParts::exportParts);

    reader_ = new ui::BarcodeReader(settings_.scanner, this);
    reader_->followWindow(this);
    connect(reader_, &ui::BarcodeReader::codeRead, this, &TsrDostParts::handleBarcode);

    // Loading the whole nomenclature can take a moment on a large warehouse.
    TfmMess wait(parentWidget());
    const ui::WaitMessage message(
        wait, QStringLiteral("Зареждане на номенклатурата, моля изчакайте ..."));
    list_->loadBroad(mode_ == Mode::Stock);
}

void TsrDostParts::buildDeliveryMode(QWidget* nomenclature) {
    // The lines of the delivery.
    linesArea_ = new QGroupBox(QStringLiteral("Опис на доставката"), this);
    linesArea_->setObjectName(QStringLiteral("grOpis"));
    lines_ = new QStandardItemModel(this);
    lines_->setHorizontalHeaderLabels(
        {QStringLiteral("Означение"), QStringLiteral("Каталожен №"), QStringLiteral("Тип"),
         QStringLiteral("Марка"), QStringLiteral("Баркод"), QStringLiteral("Брой"),
         QStringLiteral("Доставна цена"), QStringLiteral("Валута"), QStringLiteral("Цена поръчка"),
         QStringLiteral("Цена продажба"), QStringLiteral("Валута"), QStringLiteral("Сума")});
    linesGrid_ = new QTableView(linesArea_);
    linesGrid_->setObjectName(QStringLiteral("dxDBGrid2"));
    linesGrid_->setModel(lines_);
    ui::prepareRowList(linesGrid_);
    linesGrid_->setAlternatingRowColors(true);
    auto* btnRec = ui::namedButton(linesArea_, "btnRec", QStringLiteral("Запис на доставката"));
    auto* btnDel = ui::namedButton(linesArea_, "btnDel", QStringLiteral("Изтриване на ред"));
    auto* prnDost = ui::namedButton(linesArea_, "prnDost", QStringLiteral("Печат на описа"));
    btnClose_ = ui::namedButton(linesArea_, "btnClose", QStringLiteral("Затвори"));
    connect(btnRec, &QPushButton::clicked, this, &TsrDostParts::recordDelivery);
    connect(btnDel, &QPushButton::clicked, this, &TsrDostParts::deleteLine);
    connect(prnDost, &QPushButton::clicked, this, [this] {
        ui::PrintHeader header;
        header.title = delivery_.caption();
        ui::printGrid(this, *linesGrid_, header);
    });
    connect(btnClose_, &QPushButton::clicked, this, &TsrDostParts::reject);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btnRec, btnDel, prnDost})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(btnClose_);
    auto* linesLayout = new QVBoxLayout(linesArea_);
    linesLayout->addWidget(linesGrid_);
    linesLayout->addLayout(buttons);

    // The nomenclature panel over the lines.
    auto* btnNew = ui::namedButton(nomenclature, "btnNew", QStringLiteral("Нова част"));
    btnNew->setEnabled(session_.holdsRight(store::Right::Nomenclature));
    auto* btnAdd = ui::namedButton(nomenclature, "btnAdd", QStringLiteral("Добави в доставката"));
    auto* btnHide = ui::namedButton(nomenclature, "btnHide", QStringLiteral("Скрий"));
    connect(btnNew, &QPushButton::clicked, this, [this] {
        list_->hideSearch();
        newPart_->startNew();
    });
    connect(btnAdd, &QPushButton::clicked, this, &TsrDostParts::addFocusedPart);
    connect(btnHide, &QPushButton::clicked, this, &TsrDostParts::hideNomenclature);
    connect(list_, &PartsList::partActivated, this, &TsrDostParts::addFocusedPart);
    auto* nomButtons = new QHBoxLayout;
    nomButtons->addWidget(btnNew);
    nomButtons->addWidget(btnAdd);
    nomButtons->addStretch();
    nomButtons->addWidget(btnHide);
    auto* nomLayout = new QVBoxLayout(nomenclature);
    nomLayout->addWidget(list_);
    nomLayout->addLayout(nomButtons);
    nomenclature->setMinimumSize(585, 340);
    nomenclature->hide();

    newPart_ = new warehouse::PartEditPanel(db_, QStringLiteral("btnRecNewPart"), this);
    newPart_->setNoDesignationMessage(QStringLiteral("Моля въведете означение за частта!"));
    connect(newPart_, &warehouse::PartEditPanel::saved, this, [this](qint64 id) {
        list_->reload();
        list_->selectPart(id);
    });
    connect(newPart_, &warehouse::PartEditPanel::closed, this, [this] {
        if (pNom_->isVisible())
            list_->grid()->setFocus();
    });
}

void TsrDostParts::buildEarlierDeliveries() {
    // The grid passes its right click to the panel, whose menu offers the earlier deliveries.
    pNom_->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* n8 = new QAction(QStringLiteral("Предишни доставки"), pNom_);
    n8->setObjectName(QStringLiteral("N8"));
    pNom_->addAction(n8);
    connect(n8, &QAction::triggered, this, [this, n8] {
        if (!earlier_) {
            earlier_ = new TfrmEarlierDeliveries(db_, this);
            connect(earlier_, &QDialog::finished, n8, [n8] { n8->setEnabled(true); });
            connect(list_, &PartsList::currentPartChanged, earlier_,
                    [this] { earlier_->showPart(list_->currentPartId()); });
        }
        n8->setEnabled(false);
        earlier_->showPart(list_->currentPartId());
        if (QWidget* top = window()->parentWidget() ? window()->parentWidget()->window() : nullptr)
            earlier_->move(top->geometry().topRight() - QPoint(earlier_->width(), 0));
        earlier_->show();
    });
}

void TsrDostParts::buildStockMode() {
    buildPricePanel();
}

void TsrDostParts::buildPricePanel() {
    pChPrice_ = new QFrame(this);
    pChPrice_->setObjectName(QStringLiteral("pChPrice"));
    pChPrice_->setFrameShape(QFrame::Panel);
    pChPrice_->setFrameShadow(QFrame::Raised);
    pChPrice_->setAutoFillBackground(true);
    auto amount = [this](const char* name) {
        auto* e = new QDoubleSpinBox(pChPrice_);
        e->setObjectName(QString::fromLatin1(name));
        e->setRange(-1e9, 1e9);
        e->setDecimals(2);
        e->setEnabled(false);
        return e;
    };
    dbEdit1_ = amount("dbEdit1");
    dbEdit2_ = amount("dbEdit2");
    lookVal_ = new QComboBox(pChPrice_);
    lookVal_->setObjectName(QStringLiteral("LookVal"));
    for (int code = store::kLeva; code <= store::kEur; ++code)
        lookVal_->addItem(store::currencyText(code), code);
    lookVal_->setEnabled(false);
    dbEdit3_ = new QLineEdit(pChPrice_);
    dbEdit3_->setObjectName(QStringLiteral("DBEdit3"));
    dbEdit3_->setReadOnly(true);
    auto* btnEditPrices = ui::namedButton(pChPrice_, "btnEditPrices", QStringLiteral("Редакция"));
    auto* btnRecChanges = ui::namedButton(pChPrice_, "btnRecChanges", QStringLiteral("Запис"));
    auto* btnCancelChanges =
        ui::namedButton(pChPrice_, "btnCancelChanges", QStringLiteral("Отказ"));
    auto* close = ui::namedButton(pChPrice_, "btnClosePrices", QStringLiteral("Затвори"));
    connect(btnEditPrices, &QPushButton::clicked, this, &TsrDostParts::startPriceEdit);
    connect(btnRecChanges, &QPushButton::clicked, this, &TsrDostParts::savePrices);
    connect(btnCancelChanges, &QPushButton::clicked, this, &TsrDostParts::cancelPrices);
    connect(close, &QPushButton::clicked, this, [this] {
        if (!editingPrices_)
            pChPrice_->hide();
    });
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Цена в поръчка:"), dbEdit1_);
    form->addRow(QStringLiteral("Продажна цена:"), dbEdit2_);
    form->addRow(QStringLiteral("Валута:"), lookVal_);
    form->addRow(QStringLiteral("Наличност:"), dbEdit3_);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btnEditPrices, btnRecChanges, btnCancelChanges, close})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(pChPrice_);
    layout->addLayout(form);
    layout->addLayout(buttons);
    pChPrice_->adjustSize();
    pChPrice_->hide();
    connect(list_, &PartsList::currentPartChanged, this, [this] {
        if (pChPrice_->isVisible() && !editingPrices_)
            fillPricePanel();
    });
}

void TsrDostParts::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (mode_ == Mode::Stock)
        setWindowTitle(QStringLiteral("Наличност на резервни части"));
}

bool TsrDostParts::nomenclatureShown() const {
    return pNom_ && !pNom_->isHidden();
}

void TsrDostParts::setLinesEnabled(bool enabled) {
    if (linesArea_)
        linesArea_->setEnabled(enabled);
}

void TsrDostParts::showNomenclature() {
    if (!pNom_)
        return;
    const QSize most(std::max(585, width() - 30), std::max(340, height() - 110));
    pNom_->setMaximumSize(most);
    pNom_->resize(most);
    pNom_->move((width() - pNom_->width()) / 2, 40);
    pNom_->show();
    pNom_->raise();
    setLinesEnabled(false);
    list_->grid()->setFocus();
}

void TsrDostParts::hideNomenclature() {
    if (!pNom_)
        return;
    pNom_->hide();
    setLinesEnabled(true);
}

void TsrDostParts::addFocusedPart() {
    if (const auto id = list_->currentPartId())
        addPart(*id);
}

void TsrDostParts::addPart(qint64 partId) {
    if (delivery_.hasPart(partId)) {
        ui::message(this, QStringLiteral("Съобение"),
                    QStringLiteral("Тази част вече е въведена в описа на доставката!"),
                    ui::MessageIcon::Warning);
        return;
    }
    const auto part = warehouse::loadPart(db_, partId);
    if (!part)
        return;
    const DeliveryLine proposal =
        warehouse::proposeLine(db_, *part, delivery_.supplierId, settings_);
    if (const auto line = lineEditor_(this, proposal)) {
        delivery_.lines.append(*line);
        showLines();
        linesGrid_->selectRow(int(delivery_.lines.size()) - 1);
    }
    hideNomenclature();
}

void TsrDostParts::showLines() {
    lines_->removeRows(0, lines_->rowCount());
    for (const DeliveryLine& l : delivery_.lines) {
        lines_->appendRow(
            {cell(l.part), cell(l.partNo), cell(l.type), cell(l.marka), cell(l.barcode),
             cell(QString::number(l.count), true), cell(store::formatMoney(l.inPrice), true),
             cell(store::currencyText(l.ipId)), cell(store::formatMoney(l.outPrice), true),
             cell(store::formatMoney(l.salePrice), true), cell(store::currencyText(l.opId)),
             cell(store::formatMoney(l.sum()), true)});
    }
    linesGrid_->resizeColumnsToContents();
}

void TsrDostParts::deleteLine() {
    const int row = linesGrid_->currentIndex().row();
    if (row < 0 || row >= delivery_.lines.size())
        return;
    if (!ui::ask(this,
                 QStringLiteral("Желаете ли да изтриете избраниия запис от описа на доставката?"),
                 QStringLiteral("Изтриване")))
        return;
    delivery_.lines.removeAt(row); // its serial numbers go with it
    showLines();
}

void TsrDostParts::recordDelivery() {
    if (delivery_.lines.isEmpty() ||
        !ui::ask(this, QStringLiteral("Желаете ли да приключите доставката?"),
                 QStringLiteral("Приключване")))
        return;
    // Asked before anything is written, so that the delivery is recorded in one go.
    const bool paidNow =
        ui::ask(this,
                QStringLiteral("Веднага ли са платени сумите по доставката?\n\n"
                               "   Yes - сумите се отразяват директно в касата\n"
                               "   No  - сумите се записват като задължение към доставчика"),
                QStringLiteral("Запис на сумите"));
    TfrmBar progress(this);
    progress.setWindowTitle(QStringLiteral("Запис на доставка"));
    progress.start(QStringLiteral("Запис на доставка"), int(delivery_.lines.size()));
    try {
        warehouse::recordDelivery(
            db_, delivery_, paidNow ? warehouse::Payment::PaidNow : warehouse::Payment::Debt,
            session_.userId(), QDateTime::currentDateTime(), [&progress] { progress.advance(); });
    } catch (const std::exception& e) {
        progress.close();
        ui::error(this, QString::fromStdString(e.what()));
        return;
    }
    progress.close();
    delivery_.lines.clear();
    showLines();
    QDialog::reject();
}

void TsrDostParts::handleBarcode(const QString& code) {
    if (mode_ == Mode::Delivery) {
        if (newPart_->isEditing()) {
            newPart_->setBarcode(code);
            return;
        }
        if (const auto id = list_->partInListByBarcode(code)) {
            list_->selectPart(*id);
            addPart(*id);
            return;
        }
        if (const auto id = warehouse::partIdByBarcode(db_, code)) {
            list_->loadRestricted(
                {QStringLiteral("id = :barcodePart"), {{QStringLiteral("barcodePart"), *id}}});
            addPart(*id);
            return;
        }
        // Only someone who may create parts is offered a new one.
        if (!session_.holdsRight(store::Right::Nomenclature)) {
            ui::message(this, ui::captionMessage(), QStringLiteral("Този баркод не е намерен!"),
                        ui::MessageIcon::Warning);
            return;
        }
        if (ui::ask(this,
                    QStringLiteral("Този баркод не е намерен, желаете ли\nда създадете нов "
                                   "артикул с този код?"),
                    ui::captionMessage())) {
            showNomenclature();
            newPart_->startNew(code);
        }
        return;
    }
    if (const auto id = list_->partInListByBarcode(code)) {
        list_->selectPart(*id);
        return;
    }
    if (!list_->isBroad()) {
        if (const auto id = warehouse::partIdByBarcode(db_, code, true)) {
            list_->loadRestricted(
                {QStringLiteral("id = :barcodePart"), {{QStringLiteral("barcodePart"), *id}}});
            return;
        }
    }
    ui::message(this, ui::captionMessage(), QStringLiteral("Този баркод не е намерен!"),
                ui::MessageIcon::Warning);
}

void TsrDostParts::printParts() {
    ui::PrintHeader header;
    header.title = QStringLiteral("Номенклатура на резервни части");
    ui::printGrid(this, *list_->grid(), header);
}

void TsrDostParts::exportParts() {
    if (list_->isEmpty())
        return;
    const bool stock = mnNal_ && mnNal_->isChecked();
    ui::ExportOptions options;
    options.proposedName =
        stock ? QStringLiteral("nalichnost.xls") : QStringLiteral("nomenklatura.xls");
    options.dialogTitle = stock ? QStringLiteral("Експорт на наличност части")
                                : QStringLiteral("Експорт на номенклатура части");
    ui::exportGrid(this, *list_->grid(), options);
}

void TsrDostParts::fillPricePanel() {
    const auto id = list_->currentPartId();
    const auto part = id ? warehouse::loadPart(db_, *id) : std::nullopt;
    dbEdit1_->setValue(part ? part->outPrice : 0);
    dbEdit2_->setValue(part ? part->salePrice : 0);
    lookVal_->setCurrentIndex(std::max(0, lookVal_->findData(part ? part->opVal : store::kLeva)));
    dbEdit3_->setText(part ? QString::number(part->amnt) : QString());
}

void TsrDostParts::showPricePanel() {
    if (!pChPrice_ || list_->isEmpty() || !session_.holdsRight(store::Right::Prices))
        return;
    fillPricePanel();
    pChPrice_->adjustSize();
    pChPrice_->move(width() - pChPrice_->width() - 20, 4);
    pChPrice_->show();
    pChPrice_->raise();
}

void TsrDostParts::startPriceEdit() {
    if (!list_->currentPartId())
        return;
    editingPrices_ = true;
    list_->grid()->setEnabled(false);
    dbEdit1_->setEnabled(true);
    dbEdit2_->setEnabled(!settings_.oneSellingPrice);
    lookVal_->setEnabled(settings_.currency == store::CurrencyMode::ThreeCurrencies);
    dbEdit1_->setFocus();
    dbEdit1_->selectAll();
}

void TsrDostParts::savePrices() {
    if (!editingPrices_)
        return;
    const auto id = list_->currentPartId();
    const double sale = settings_.oneSellingPrice ? dbEdit1_->value() : dbEdit2_->value();
    if (!id || !warehouse::changeSellingPrices(db_, *id, dbEdit1_->value(), sale,
                                               lookVal_->currentData().toInt())) {
        ui::error(this, QStringLiteral("Грешно въведени данни!"));
        dbEdit1_->setFocus();
        dbEdit1_->selectAll();
        return;
    }
    cancelPrices();
    list_->reload();
}

void TsrDostParts::cancelPrices() {
    editingPrices_ = false;
    list_->grid()->setEnabled(true);
    for (QWidget* w : {static_cast<QWidget*>(dbEdit1_), static_cast<QWidget*>(dbEdit2_),
                       static_cast<QWidget*>(lookVal_)})
        w->setEnabled(false);
    fillPricePanel();
}

void TsrDostParts::returnToSupplier() {
    if (list_->isEmpty() || !session_.holdsRight(store::Right::DeliveryAndDiscounts))
        return;
    const auto id = list_->currentPartId();
    if (!id)
        return;
    TfrmBackDlvr back(db_, session_, *id, this);
    back.exec();
    list_->reload();
}

void TsrDostParts::reject() {
    if (editingPrices_ || (newPart_ && newPart_->isEditing()))
        return;
    if (mode_ == Mode::Delivery && !delivery_.lines.isEmpty() &&
        !ui::ask(this, QStringLiteral("Желаете ли да излезете без запис на данните за доставка?"),
                 ui::captionWarning()))
        return;
    delivery_.lines.clear();
    QDialog::reject();
}
