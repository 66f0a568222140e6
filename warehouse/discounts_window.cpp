#include "warehouse/discounts_window.h"

#include "store/database.h"
#include "store/transaction.h"
#include "ui/message_box.h"
#include "ui/row_list.h"
#include "warehouse/name_register_window.h"
#include "warehouse/part_catalogue.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

using warehouse::DiscountProblem;

namespace {

// Shows a maker's or a type's name for its id and picks one from the list.
class NamePickDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QList<warehouse::NamedEntry> names;

    QString displayText(const QVariant& value, const QLocale&) const override {
        for (const warehouse::NamedEntry& entry : names) {
            if (!value.isNull() && entry.id == value.toLongLong())
                return entry.name;
        }
        return {};
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* combo = new QComboBox(parent);
        for (const warehouse::NamedEntry& entry : names)
            combo->addItem(entry.name, entry.id);
        // A choice puts the row in edit at once, as typing does.
        auto* self = const_cast<NamePickDelegate*>(this);
        connect(combo, &QComboBox::currentIndexChanged, self,
                [self, combo] { emit self->commitData(combo); });
        return combo;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* combo = static_cast<QComboBox*>(editor);
        const QSignalBlocker quiet(combo);
        const QVariant id = index.data(Qt::EditRole);
        const int item = id.isNull() ? -1 : combo->findData(id.toLongLong());
        if (combo->currentIndex() != item)
            combo->setCurrentIndex(item);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        auto* combo = static_cast<QComboBox*>(editor);
        if (combo->currentIndex() >= 0)
            model->setData(index, combo->currentData());
    }
};

// A percentage: never negative, so the "-" key does nothing.
class PercentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant& value, const QLocale& locale) const override {
        return locale.toString(value.toDouble(), 'f', 2);
    }
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
    }
    // The value goes to the row at every change; echoing it back would reformat the text
    // under the user's fingers.
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* edit = static_cast<QDoubleSpinBox*>(editor);
        const QSignalBlocker quiet(edit);
        const double value = index.data(Qt::EditRole).toDouble();
        if (edit->value() != value)
            edit->setValue(value);
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* edit = new QDoubleSpinBox(parent);
        edit->setRange(0, 100);
        edit->setDecimals(2);
        edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
        auto* self = const_cast<PercentDelegate*>(this);
        edit->installEventFilter(self);
        connect(edit, &QDoubleSpinBox::valueChanged, self,
                [self, edit] { emit self->commitData(edit); });
        return edit;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->text() == QLatin1String("-"))
            return true;
        return QStyledItemDelegate::eventFilter(watched, event);
    }
};

std::optional<qint64> idIn(const QSqlRecord& record, const QString& field) {
    const QVariant value = record.value(field);
    if (value.isNull() || value.toLongLong() == 0)
        return std::nullopt;
    return value.toLongLong();
}

QPushButton* navButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QAction* action(QToolBar* bar, const char* name, const QString& text) {
    QAction* a = bar->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

} // namespace

TfrmDiscounts::TfrmDiscounts(store::Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("TfrmDiscounts"));
    setWindowTitle(QStringLiteral("Отстъпки по марки и типове части"));
    setSizeGripEnabled(true);

    model_ = new QSqlTableModel(this, db_.connection());
    model_->setTable(QStringLiteral("discounts"));
    model_->setEditStrategy(QSqlTableModel::OnManualSubmit);
    model_->setSort(model_->fieldIndex(QStringLiteral("id")), Qt::AscendingOrder);
    makerColumn_ = model_->fieldIndex(QStringLiteral("idMarka"));
    typeColumn_ = model_->fieldIndex(QStringLiteral("idType"));
    const int supplierColumn = model_->fieldIndex(QStringLiteral("discDlvr"));
    const int goodsColumn = model_->fieldIndex(QStringLiteral("discSale"));
    model_->setHeaderData(makerColumn_, Qt::Horizontal, QStringLiteral("Марка"));
    model_->setHeaderData(typeColumn_, Qt::Horizontal, QStringLiteral("Тип"));
    model_->setHeaderData(supplierColumn, Qt::Horizontal, QStringLiteral("Отстъпка доставчик %"));
    model_->setHeaderData(goodsColumn, Qt::Horizontal, QStringLiteral("Отстъпка продажба %"));

    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setModel(model_);
    grid_->setItemDelegateForColumn(makerColumn_, new NamePickDelegate(grid_));
    grid_->setItemDelegateForColumn(typeColumn_, new NamePickDelegate(grid_));
    grid_->setItemDelegateForColumn(supplierColumn, new PercentDelegate(grid_));
    grid_->setItemDelegateForColumn(goodsColumn, new PercentDelegate(grid_));
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setColumnHidden(model_->fieldIndex(QStringLiteral("id")), true);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* toolbar = new QToolBar(this);
    btnMarka_ = action(toolbar, "btnMarka", QStringLiteral("Марки части"));
    btnTypes_ = action(toolbar, "btnTypes", QStringLiteral("Типове части"));
    toolbar->addSeparator();
    mnExit_ = action(toolbar, "mnExit", QStringLiteral("Изход"));
    connect(btnMarka_, &QAction::triggered, this, [this] {
        TsrPartMarka makers(db_, this);
        openNames(makers);
    });
    connect(btnTypes_, &QAction::triggered, this, [this] {
        TsrType types(db_, this);
        openNames(types);
    });
    connect(mnExit_, &QAction::triggered, this, &TfrmDiscounts::reject);

    auto* dbNav = new QWidget(this);
    dbNav->setObjectName(QStringLiteral("dbNav"));
    nbInsert_ = navButton(dbNav, "nbInsert", QStringLiteral("Нов"));
    nbDelete_ = navButton(dbNav, "nbDelete", QStringLiteral("Изтриване"));
    nbPost_ = navButton(dbNav, "nbPost", QStringLiteral("Запис"));
    nbCancel_ = navButton(dbNav, "nbCancel", QStringLiteral("Отказ"));
    auto* navLayout = new QHBoxLayout(dbNav);
    navLayout->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* b : {nbInsert_, nbDelete_, nbPost_, nbCancel_})
        navLayout->addWidget(b);
    navLayout->addStretch();
    connect(nbInsert_, &QPushButton::clicked, this, &TfrmDiscounts::insertRow);
    connect(nbDelete_, &QPushButton::clicked, this, &TfrmDiscounts::deleteRow);
    connect(nbPost_, &QPushButton::clicked, this, &TfrmDiscounts::storeRow);
    connect(nbCancel_, &QPushButton::clicked, this, &TfrmDiscounts::cancelEdit);

    connect(model_, &QAbstractItemModel::dataChanged, this, &TfrmDiscounts::updateState);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &TfrmDiscounts::updateState);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &TfrmDiscounts::updateState);
    connect(model_, &QAbstractItemModel::modelReset, this, &TfrmDiscounts::updateState);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TfrmDiscounts::currentRowChanged);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(toolbar);
    layout->addWidget(grid_);
    layout->addWidget(dbNav);
    resize(640, 420);

    reloadNames();
    reload();
}

bool TfrmDiscounts::isEditing() const {
    return model_->isDirty();
}

void TfrmDiscounts::reload() {
    model_->select();
    ui::fetchAllRows(*model_);
    if (model_->rowCount() > 0)
        grid_->setCurrentIndex(model_->index(0, makerColumn_));
    updateState();
}

void TfrmDiscounts::reloadNames() {
    static_cast<NamePickDelegate*>(grid_->itemDelegateForColumn(makerColumn_))->names =
        warehouse::namesOf(db_, warehouse::kPartMakers);
    static_cast<NamePickDelegate*>(grid_->itemDelegateForColumn(typeColumn_))->names =
        warehouse::namesOf(db_, warehouse::kPartTypes);
    grid_->viewport()->update();
}

// New makers and types appear in the pick lists; a row being edited keeps what was typed.
void TfrmDiscounts::openNames(QDialog& names) {
    names.exec();
    reloadNames();
    if (!isEditing())
        reload();
}

void TfrmDiscounts::updateState() {
    const bool editing = isEditing();
    mnExit_->setEnabled(!editing);
    nbDelete_->setEnabled(!editing && model_->rowCount() > 0);
    nbPost_->setEnabled(editing);
    nbCancel_->setEnabled(editing);
}

warehouse::DiscountRow TfrmDiscounts::rowAt(int row) const {
    const QSqlRecord record = model_->record(row);
    return {record.value(QStringLiteral("id")).toLongLong(),
            idIn(record, QStringLiteral("idMarka")), idIn(record, QStringLiteral("idType")),
            record.value(QStringLiteral("discDlvr")).toDouble(),
            record.value(QStringLiteral("discSale")).toDouble()};
}

// A cell editor that is still open hands its value over first when committing, or is
// dropped with what was typed in it.
void TfrmDiscounts::closeOpenEditor(bool commit) {
    const auto editors = grid_->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* editor : editors) {
        if (!editor->isVisible())
            continue;
        if (commit)
            QMetaObject::invokeMethod(grid_, "commitData", Q_ARG(QWidget*, editor));
        QMetaObject::invokeMethod(
            grid_, "closeEditor", Q_ARG(QWidget*, editor),
            Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    }
}

// Rows are stored one at a time, so at most one holds changes; a changed existing row is dirty
// only in the fields that changed.
int TfrmDiscounts::editedRow() const {
    for (int row = 0; row < model_->rowCount(); ++row) {
        for (int column = 0; column < model_->columnCount(); ++column) {
            if (model_->isDirty(model_->index(row, column)))
                return row;
        }
    }
    return -1;
}

void TfrmDiscounts::reopen(int row, int column) {
    const QModelIndex cell = model_->index(row, column);
    quiet_ = true;
    grid_->setCurrentIndex(cell);
    quiet_ = false;
    grid_->setFocus();
    grid_->edit(cell);
}

void TfrmDiscounts::insertRow() {
    if (isEditing() && !storeRow())
        return;
    const int row = model_->rowCount();
    model_->insertRow(row);
    model_->setData(model_->index(row, model_->fieldIndex(QStringLiteral("discDlvr"))), 0.0);
    model_->setData(model_->index(row, model_->fieldIndex(QStringLiteral("discSale"))), 0.0);
    reopen(row, makerColumn_);
}

bool TfrmDiscounts::storeRow() {
    closeOpenEditor(true);
    const int row = editedRow();
    if (row < 0)
        return true;
    const QModelIndex current = grid_->currentIndex();
    std::optional<DiscountProblem> problem;
    QString failure;
    // The check and the write hold the write lock together, so that two workstations cannot
    // both store the same pair.
    try {
        store::Transaction tx(db_);
        problem = warehouse::checkDiscount(db_, rowAt(row));
        if (!problem && model_->submitAll())
            tx.commit();
        else if (!problem)
            failure = model_->lastError().text();
    } catch (const store::DbError& e) {
        failure = e.message();
    }
    if (!failure.isEmpty())
        ui::error(this, failure);
    if (problem == DiscountProblem::Duplicate)
        ui::message(this, ui::captionMessage(), warehouse::duplicateDiscountMessage(),
                    ui::MessageIcon::Warning);
    if (problem || !failure.isEmpty()) {
        reopen(row, problem == DiscountProblem::NoType ? typeColumn_ : makerColumn_);
        return false;
    }
    ui::fetchAllRows(*model_);
    // Rows keep their order (by id, a new one last), so the cursor stays where it was.
    if (current.isValid() && current.row() < model_->rowCount()) {
        quiet_ = true;
        grid_->setCurrentIndex(model_->index(current.row(), current.column()));
        quiet_ = false;
    }
    updateState();
    return true;
}

void TfrmDiscounts::cancelEdit() {
    closeOpenEditor(false);
    // A dropped new row moves the cursor; that move stores nothing.
    quiet_ = true;
    model_->revertAll();
    quiet_ = false;
    updateState();
}

void TfrmDiscounts::deleteRow() {
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid() || isEditing())
        return;
    model_->removeRow(current.row());
    if (!model_->submitAll()) {
        ui::error(this, model_->lastError().text());
        model_->revertAll();
    }
    ui::fetchAllRows(*model_);
    if (model_->rowCount() > 0)
        grid_->setCurrentIndex(
            model_->index(std::min(current.row(), model_->rowCount() - 1), makerColumn_));
    updateState();
}

// Leaving an edited row stores it; a refused row takes the cursor back.
void TfrmDiscounts::currentRowChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (quiet_ || !previous.isValid() || current.row() == previous.row() || !isEditing())
        return;
    storeRow();
}

// Escape while a row is in edit cancels the edit; the window closes only when none is.
void TfrmDiscounts::reject() {
    if (isEditing()) {
        cancelEdit();
        return;
    }
    QDialog::reject();
}

void TfrmDiscounts::closeEvent(QCloseEvent* event) {
    if (isEditing()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
