#include "warehouse/suppliers_window.h"

#include "shell/help_pages.h"
#include "shell/help_window.h"
#include "store/database.h"
#include "store/list_query.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "ui/row_list.h"
#include "warehouse/name_register_window.h"
#include "warehouse/suppliers.h"

#include <QAction>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

TsrDost::TsrDost(store::Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("TsrDost"));
    setWindowTitle(QStringLiteral("Доставчици"));
    model_ = new QSqlQueryModel(this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("dxDBGrid1"));
    grid_->setModel(model_);
    ui::prepareRowList(grid_);
    grid_->horizontalHeader()->setStretchLastSection(true);
    connect(grid_, &QTableView::doubleClicked, this, &TsrDost::editSupplier);

    btnIns_ = ui::namedButton(this, "btnIns", QStringLiteral("Нов"));
    btnEdit_ = ui::namedButton(this, "btnEdit", QStringLiteral("Редакция"));
    auto* button1 = ui::namedButton(this, "Button1", QStringLiteral("Типове части"));
    btnExit_ = ui::namedButton(this, "btnExit", QStringLiteral("Изход"));
    connect(btnIns_, &QPushButton::clicked, this, &TsrDost::newSupplier);
    connect(btnEdit_, &QPushButton::clicked, this, &TsrDost::editSupplier);
    connect(button1, &QPushButton::clicked, this, [this] {
        TsrType types(db_, this);
        types.exec();
    });
    connect(btnExit_, &QPushButton::clicked, this, &TsrDost::reject);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btnIns_, btnEdit_, button1})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(btnExit_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(grid_);

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("pEdit"));
    panel_->setFrameShape(QFrame::Panel);
    panel_->setFrameShadow(QFrame::Raised);
    panel_->setAutoFillBackground(true);
    lbName_ = new QLabel(panel_);
    lbName_->setObjectName(QStringLiteral("lbName"));
    dbPart_ = new QLineEdit(panel_);
    dbPart_->setObjectName(QStringLiteral("dbPart"));
    dbOpis_ = new QPlainTextEdit(panel_);
    dbOpis_->setObjectName(QStringLiteral("dbOpis"));
    dbOpis_->setFixedHeight(80);
    btnRec_ = ui::namedButton(panel_, "btnRec", QStringLiteral("Запис"));
    btnCancel_ = ui::namedButton(panel_, "btnCancel", QStringLiteral("Отказ"));
    connect(dbPart_, &QLineEdit::returnPressed, this, &TsrDost::saveSupplier);
    connect(btnRec_, &QPushButton::clicked, this, &TsrDost::saveSupplier);
    connect(btnCancel_, &QPushButton::clicked, this, &TsrDost::cancelEdit);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Име:"), dbPart_);
    form->addRow(QStringLiteral("Информация:"), dbOpis_);
    auto* panelButtons = new QHBoxLayout;
    panelButtons->addStretch();
    panelButtons->addWidget(btnRec_);
    panelButtons->addWidget(btnCancel_);
    auto* panelLayout = new QVBoxLayout(panel_);
    panelLayout->addWidget(lbName_);
    panelLayout->addLayout(form);
    panelLayout->addLayout(panelButtons);
    panel_->setFixedWidth(420);
    panel_->adjustSize();

    auto* help = new QAction(this);
    help->setObjectName(QStringLiteral("Action1"));
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this,
            [this] { shell::HelpWindow::showTopic(this, shell::kHelpSuppliers); });
    addAction(help);

    resize(640, 460);
    reload();
    setEditing(false);
}

void TsrDost::reload(std::optional<qint64> focusId) {
    try {
        ui::showRows(*model_,
                     store::listQuery(db_, QStringLiteral("SELECT Name, Info, id FROM delivers "
                                                          "ORDER BY Name, id")),
                     {QStringLiteral("Име"), QStringLiteral("Информация")});
    } catch (const store::DbError& e) {
        model_->clear();
        ui::error(this, e.message());
    }
    grid_->setColumnHidden(2, true);
    if (focusId)
        ui::selectRowWithId(grid_, 2, *focusId);
    else if (model_->rowCount() > 0)
        grid_->selectRow(0);
}

std::optional<qint64> TsrDost::currentSupplierId() const {
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return model_->index(current.row(), 2).data().toLongLong();
}

void TsrDost::setEditing(bool editing) {
    editing_ = editing;
    dbPart_->setEnabled(editing);
    dbOpis_->setEnabled(editing);
    btnRec_->setEnabled(editing);
    btnCancel_->setEnabled(editing);
    btnIns_->setEnabled(!editing);
    btnEdit_->setEnabled(!editing && model_->rowCount() > 0);
    btnExit_->setEnabled(!editing);
    grid_->setEnabled(!editing);
    if (editing) {
        panel_->move((width() - panel_->width()) / 2, (height() - panel_->height()) / 2);
        panel_->show();
        panel_->raise();
        dbPart_->setFocus();
        dbPart_->selectAll();
    } else {
        panel_->hide();
        btnIns_->setFocus();
    }
}

void TsrDost::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setEditing(editing_);
}

void TsrDost::newSupplier() {
    editedId_ = 0;
    lbName_->clear();
    dbPart_->clear();
    dbOpis_->clear();
    setEditing(true);
}

void TsrDost::editSupplier() {
    const auto id = currentSupplierId();
    const auto supplier = id ? warehouse::loadSupplier(db_, *id) : std::nullopt;
    if (!supplier)
        return;
    editedId_ = supplier->id;
    lbName_->setText(supplier->name);
    dbPart_->setText(supplier->name);
    dbOpis_->setPlainText(supplier->info);
    setEditing(true);
}

void TsrDost::saveSupplier() {
    if (!editing_)
        return;
    btnRec_->setFocus();
    warehouse::Supplier supplier{editedId_, dbPart_->text(), dbOpis_->toPlainText()};
    dbPart_->setText(supplier.name.trimmed());
    if (supplier.name.trimmed().isEmpty()) {
        dbPart_->setFocus();
        dbPart_->selectAll();
        return;
    }
    bool saved = false;
    try {
        saved = warehouse::saveSupplier(db_, supplier);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
        return;
    }
    if (!saved) {
        ui::error(this, QStringLiteral("Такъв доставчик вече е въведен!"));
        dbPart_->setFocus();
        dbPart_->selectAll();
        return;
    }
    reload(supplier.id);
    setEditing(false);
}

void TsrDost::cancelEdit() {
    setEditing(false);
}

void TsrDost::reject() {
    if (editing_)
        return;
    QDialog::reject();
}
