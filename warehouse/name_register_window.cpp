#include "warehouse/name_register_window.h"

#include "store/database.h"
#include "store/list_query.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "ui/row_list.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

namespace warehouse {

namespace {} // namespace

NameRegisterWindow::NameRegisterWindow(store::Database& db, const NameList& list,
                                       const QString& title, const QString& nameLabel,
                                       QWidget* parent)
    : QDialog(parent), db_(db), list_(list) {
    setWindowTitle(title);
    model_ = new QSqlQueryModel(this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("dxDBGrid1"));
    grid_->setModel(model_);
    ui::prepareRowList(grid_);
    grid_->horizontalHeader()->setStretchLastSection(true);
    connect(grid_, &QTableView::doubleClicked, this, &NameRegisterWindow::editEntry);

    btnIns_ = ui::namedButton(this, "btnIns", QStringLiteral("Нов"));
    btnEdit_ = ui::namedButton(this, "btnEdit", QStringLiteral("Редакция"));
    btnExit_ = ui::namedButton(this, "btnExit", QStringLiteral("Изход"));
    connect(btnIns_, &QPushButton::clicked, this, &NameRegisterWindow::newEntry);
    connect(btnEdit_, &QPushButton::clicked, this, &NameRegisterWindow::editEntry);
    connect(btnExit_, &QPushButton::clicked, this, &NameRegisterWindow::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnIns_);
    buttons->addWidget(btnEdit_);
    buttons->addStretch();
    buttons->addWidget(btnExit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("pEdit"));
    panel_->setFrameShape(QFrame::Panel);
    panel_->setFrameShadow(QFrame::Raised);
    panel_->setAutoFillBackground(true);
    dbType_ = new QLineEdit(panel_);
    dbType_->setObjectName(QStringLiteral("dbType"));
    if (QString::fromLatin1(list.table) == QLatin1String(kPartMakers.table))
        dbType_->setMaxLength(20); // the column's width
    btnRec_ = ui::namedButton(panel_, "btnRec", QStringLiteral("Запис"));
    auto* btnCancel = ui::namedButton(panel_, "btnCancel", QStringLiteral("Отказ"));
    connect(btnRec_, &QPushButton::clicked, this, &NameRegisterWindow::saveEntry);
    connect(btnCancel, &QPushButton::clicked, this, &NameRegisterWindow::cancelEdit);
    connect(dbType_, &QLineEdit::returnPressed, this, &NameRegisterWindow::saveEntry);
    auto* panelLayout = new QVBoxLayout(panel_);
    panelLayout->addWidget(new QLabel(nameLabel, panel_));
    panelLayout->addWidget(dbType_);
    auto* panelButtons = new QHBoxLayout;
    panelButtons->addStretch();
    panelButtons->addWidget(btnRec_);
    panelButtons->addWidget(btnCancel);
    panelLayout->addLayout(panelButtons);
    panel_->setFixedWidth(320);
    panel_->adjustSize();
    panel_->hide();

    resize(420, 440);
    reload();
    newEntry();
}

void NameRegisterWindow::reload(std::optional<qint64> focusId) {
    try {
        // The table and column names are the program's own, never typed text.
        ui::showRows(*model_,
                     store::listQuery(db_, QStringLiteral("SELECT %1, id FROM %2 ORDER BY %1, id")
                                               .arg(QString::fromLatin1(list_.column),
                                                    QString::fromLatin1(list_.table))),
                     {windowTitle()});
    } catch (const store::DbError& e) {
        model_->clear();
        ui::error(this, e.message());
    }
    grid_->setColumnHidden(1, true);
    if (focusId)
        ui::selectRowWithId(grid_, 1, *focusId);
    else if (model_->rowCount() > 0)
        grid_->selectRow(0);
    btnEdit_->setEnabled(model_->rowCount() > 0);
}

std::optional<qint64> NameRegisterWindow::currentId() const {
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return model_->index(current.row(), 1).data().toLongLong();
}

void NameRegisterWindow::showPanel(qint64 id, const QString& name) {
    editing_ = true;
    editedId_ = id;
    dbType_->setText(name);
    panel_->move((width() - panel_->width()) / 2, (height() - panel_->height()) / 2);
    panel_->show();
    panel_->raise();
    for (QWidget* w : {static_cast<QWidget*>(grid_), static_cast<QWidget*>(btnIns_),
                       static_cast<QWidget*>(btnEdit_), static_cast<QWidget*>(btnExit_)})
        w->setEnabled(false);
    dbType_->setFocus();
    dbType_->selectAll();
}

void NameRegisterWindow::hidePanel() {
    editing_ = false;
    panel_->hide();
    grid_->setEnabled(true);
    btnIns_->setEnabled(true);
    btnExit_->setEnabled(true);
    btnEdit_->setEnabled(model_->rowCount() > 0);
    btnIns_->setFocus();
}

void NameRegisterWindow::newEntry() {
    showPanel(0, {});
}

void NameRegisterWindow::editEntry() {
    const auto id = currentId();
    if (!id)
        return;
    showPanel(*id, nameOf(db_, list_, *id));
}

void NameRegisterWindow::saveEntry() {
    if (!editing_)
        return;
    const QString name = dbType_->text().trimmed();
    dbType_->setText(name);
    if (name.isEmpty()) {
        dbType_->setFocus();
        return;
    }
    std::optional<qint64> saved;
    try {
        saved = saveName(db_, list_, editedId_, name);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
        return;
    }
    if (!saved) {
        ui::error(this, QStringLiteral("Такъв вид вече е въведен!"));
        dbType_->setFocus();
        dbType_->selectAll();
        return;
    }
    hidePanel();
    reload(*saved);
}

void NameRegisterWindow::cancelEdit() {
    hidePanel();
}

void NameRegisterWindow::reject() {
    if (editing_)
        return;
    QDialog::reject();
}

} // namespace warehouse

TsrType::TsrType(store::Database& db, QWidget* parent)
    : NameRegisterWindow(db, warehouse::kPartTypes, QStringLiteral("Типове части"),
                         QStringLiteral("Тип:"), parent) {
    setObjectName(QStringLiteral("TsrType"));
}

TsrPartMarka::TsrPartMarka(store::Database& db, QWidget* parent)
    : NameRegisterWindow(db, warehouse::kPartMakers, QStringLiteral("Марки (производители) части"),
                         QStringLiteral("Марка:"), parent) {
    setObjectName(QStringLiteral("TsrPartMarka"));
}
