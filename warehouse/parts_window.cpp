#include "warehouse/parts_window.h"

#include "store/database.h"
#include "ui/barcode_reader.h"
#include "ui/grid_export.h"
#include "ui/grid_printer.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "warehouse/part_edit_panel.h"
#include "warehouse/parts_list_panel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

using warehouse::PartEditPanel;
using warehouse::PartsList;

namespace {

QAction* action(QToolBar* bar, const char* name, const QString& text) {
    QAction* a = bar->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

} // namespace

TsrParts::TsrParts(store::Database& db, const warehouse::WarehouseSettings& settings,
                   QWidget* parent)
    : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("TsrParts"));
    setWindowTitle(QStringLiteral("Номенклатура на резервни части"));

    auto* toolbar = new QToolBar(this);
    mnSearch_ = action(toolbar, "mnSearch", QStringLiteral("Търсене"));
    mnInfo_ = action(toolbar, "mnInfo", QStringLiteral("Описание"));
    mnInfo_->setCheckable(true);
    auto* mnPrn = action(toolbar, "mnPrn", QStringLiteral("Печат"));
    auto* mnExport = action(toolbar, "mnExport", QStringLiteral("Експорт"));
    toolbar->addSeparator();
    mnExit_ = action(toolbar, "mnExit", QStringLiteral("Изход"));

    PartsList::Options options;
    options.shortestSearch = 1;
    options.emptySearchLoadsStock = true;
    list_ = new PartsList(db_, options, this);
    connect(mnSearch_, &QAction::triggered, this, [this] {
        if (list_->isSearching())
            list_->hideSearch();
        else
            list_->showSearch();
    });
    connect(mnInfo_, &QAction::toggled, list_, &PartsList::setDescriptionVisible);
    connect(mnPrn, &QAction::triggered, this, &TsrParts::printList);
    connect(mnExport, &QAction::triggered, this, &TsrParts::exportList);
    connect(mnExit_, &QAction::triggered, this, &TsrParts::reject);
    connect(list_, &PartsList::searchingChanged, this, [this](bool searching) {
        btnIns_->setEnabled(!searching);
        btnEdit_->setEnabled(!searching && !list_->isEmpty());
    });
    connect(list_, &PartsList::partActivated, this, &TsrParts::editPart);

    btnIns_ = ui::namedButton(this, "btnIns", QStringLiteral("Нова част"));
    btnEdit_ = ui::namedButton(this, "btnEdit", QStringLiteral("Редакция"));
    btnExit_ = ui::namedButton(this, "btnExit", QStringLiteral("Изход"));
    connect(btnIns_, &QPushButton::clicked, this, &TsrParts::newPart);
    connect(btnEdit_, &QPushButton::clicked, this, &TsrParts::editPart);
    connect(btnExit_, &QPushButton::clicked, this, &TsrParts::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnIns_);
    buttons->addWidget(btnEdit_);
    buttons->addStretch();
    buttons->addWidget(btnExit_);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(toolbar);
    layout->addWidget(list_);
    layout->addLayout(buttons);

    panel_ = new PartEditPanel(db_, QStringLiteral("btnRec"), this);
    connect(panel_, &PartEditPanel::saved, this, [this](qint64 id) {
        if (panel_->namesChanged())
            list_->reload();
        if (!list_->selectPart(id))
            list_->reload();
        list_->selectPart(id);
        list_->grid()->resizeColumnsToContents();
    });
    connect(panel_, &PartEditPanel::closed, this, &TsrParts::panelClosed);

    reader_ = new ui::BarcodeReader(settings.scanner, this);
    reader_->followWindow(this);
    connect(reader_, &ui::BarcodeReader::codeRead, this, &TsrParts::handleBarcode);

    resize(980, 620);
    list_->loadBroad(false);
    setBrowsing(true);
}

bool TsrParts::isEditing() const {
    return panel_->isEditing();
}

void TsrParts::setBrowsing(bool browsing) {
    list_->grid()->setEnabled(browsing);
    btnIns_->setEnabled(browsing);
    btnEdit_->setEnabled(browsing && !list_->isEmpty());
    btnExit_->setEnabled(browsing);
    mnSearch_->setEnabled(browsing);
    mnInfo_->setEnabled(browsing);
    mnExit_->setEnabled(browsing);
}

void TsrParts::newPart() {
    list_->hideSearch();
    setBrowsing(false);
    panel_->startNew();
}

void TsrParts::editPart() {
    const auto id = list_->currentPartId();
    if (!id || isEditing())
        return;
    setBrowsing(false);
    panel_->startEdit(*id);
}

void TsrParts::panelClosed() {
    setBrowsing(true);
    btnIns_->setFocus();
}

void TsrParts::handleBarcode(const QString& code) {
    if (isEditing()) {
        panel_->setBarcode(code);
        return;
    }
    if (const auto id = list_->partInListByBarcode(code)) {
        list_->selectPart(*id);
        return;
    }
    if (!list_->isBroad()) {
        if (const auto id = warehouse::partIdByBarcode(db_, code)) {
            list_->loadRestricted(
                {QStringLiteral("id = :barcodePart"), {{QStringLiteral("barcodePart"), *id}}});
            return;
        }
    }
    if (ui::ask(this,
                QStringLiteral("Този баркод не е намерен, желаете ли\nда създадете нов артикул с "
                               "този баркод?"),
                ui::captionMessage())) {
        newPart();
        panel_->setBarcode(code);
    }
}

void TsrParts::printList() {
    ui::PrintHeader header;
    header.title = QStringLiteral("Номенклатура на резервни части");
    ui::printGrid(this, *list_->grid(), header);
}

void TsrParts::exportList() {
    if (list_->isEmpty())
        return;
    ui::ExportOptions options;
    options.proposedName = QStringLiteral("nomenklatura.xls");
    options.dialogTitle = QStringLiteral("Експорт на номенклатура части");
    ui::exportGrid(this, *list_->grid(), options);
}

void TsrParts::reject() {
    // A part being entered is either saved or cancelled first.
    if (isEditing())
        return;
    QDialog::reject();
}
