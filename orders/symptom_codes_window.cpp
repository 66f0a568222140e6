#include "orders/symptom_codes_window.h"

#include "orders/symptom_codes.h"
#include "shell/help_window.h"
#include "store/database.h"
#include "ui/grid_export.h"
#include "ui/grid_printer.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "ui/row_list.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

enum Column { ColId, ColDescription, ColGroup, ColCode, ColValue };

// Rows are trimmed before they are stored; one without a description is refused.
class SymptomModel : public QSqlTableModel {
public:
    SymptomModel(QObject* parent, const QSqlDatabase& db) : QSqlTableModel(parent, db) {}

protected:
    bool insertRowIntoTable(const QSqlRecord& values) override {
        QSqlRecord row = values;
        row.setGenerated(QStringLiteral("ID"), false);
        if (!orders::prepareSymptomRecord(row))
            return refuse();
        return QSqlTableModel::insertRowIntoTable(row);
    }
    bool updateRowInTable(int row, const QSqlRecord& values) override {
        QSqlRecord changed = values;
        if (!orders::prepareSymptomRecord(changed))
            return refuse();
        return QSqlTableModel::updateRowInTable(row, changed);
    }

private:
    bool refuse() {
        setLastError(QSqlError(orders::kEmptySymptomMessage, QString(), QSqlError::StatementError,
                               QStringLiteral("empty")));
        return false;
    }
};

// The group is picked from the catalogue's brands or typed.
class GroupDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QStringList groups;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(groups);
        return combo;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QComboBox*>(editor)->setEditText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText());
    }
};

} // namespace

TfrmSymp::TfrmSymp(store::Database& db, Mode mode, QWidget* parent)
    : QDialog(parent), db_(db), mode_(mode) {
    setObjectName(QStringLiteral("TfrmSymp"));
    setWindowTitle(QStringLiteral("Симптоми на повреди"));
    setSizeGripEnabled(true);

    model_ = new SymptomModel(this, db_.connection());
    model_->setTable(QStringLiteral("Sympt_Codes"));
    model_->setEditStrategy(QSqlTableModel::OnManualSubmit);
    model_->setSort(ColGroup, Qt::AscendingOrder);
    model_->setHeaderData(ColDescription, Qt::Horizontal, QStringLiteral("Описание"));
    model_->setHeaderData(ColGroup, Qt::Horizontal, QStringLiteral("Група"));
    model_->setHeaderData(ColCode, Qt::Horizontal, QStringLiteral("Код"));
    model_->setHeaderData(ColValue, Qt::Horizontal, QStringLiteral("Стойност"));

    grid_ = ui::rowList(this, "grid", model_);
    grid_->setItemDelegateForColumn(ColGroup, new GroupDelegate(grid_));
    // The codes are typed straight into the list.
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    grid_->setColumnHidden(ColId, true);
    grid_->horizontalHeader()->moveSection(ColDescription, ColValue);
    grid_->horizontalHeader()->setStretchLastSection(true);

    auto* btnAdd = ui::namedPlainButton(this, "btnAdd", QStringLiteral("Нов"));
    auto* btnDel = ui::namedPlainButton(this, "btnDel", QStringLiteral("Изтриване"));
    btnPost_ = ui::namedPlainButton(this, "btnPost", QStringLiteral("Запис"));
    btnCancelEdit_ = ui::namedPlainButton(this, "btnCancelEdit", QStringLiteral("Отказ"));
    btnOk_ = ui::namedPlainButton(this, "btnOk", QStringLiteral("OK"));
    btnPrn_ = ui::namedPlainButton(this, "btnPrn", QStringLiteral("Печат"));
    btnExp_ = ui::namedPlainButton(this, "btnExp", QStringLiteral("Експорт"));
    btnExit_ = ui::namedPlainButton(this, "btnExit", QStringLiteral("Изход"));
    btnOk_->setVisible(mode_ == Mode::Pick);
    connect(btnAdd, &QPushButton::clicked, this, &TfrmSymp::addRow);
    connect(btnDel, &QPushButton::clicked, this, &TfrmSymp::deleteRow);
    connect(btnPost_, &QPushButton::clicked, this, &TfrmSymp::storeRows);
    connect(btnCancelEdit_, &QPushButton::clicked, this, &TfrmSymp::cancelEdit);
    connect(btnOk_, &QPushButton::clicked, this, [this] {
        if (!isEditing() && chosenSymptom())
            accept();
    });
    connect(btnPrn_, &QPushButton::clicked, this, &TfrmSymp::printList);
    connect(btnExp_, &QPushButton::clicked, this, &TfrmSymp::exportList);
    connect(btnExit_, &QPushButton::clicked, this, &TfrmSymp::reject);
    connect(grid_, &QTableView::doubleClicked, this, [this] {
        if (mode_ == Mode::Pick && !isEditing())
            btnOk_->click();
    });
    connect(model_, &QAbstractItemModel::dataChanged, this, &TfrmSymp::updateButtons);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &TfrmSymp::updateButtons);
    connect(model_, &QAbstractItemModel::modelReset, this, &TfrmSymp::updateButtons);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TfrmSymp::currentRowChanged);

    auto* help = new QAction(this);
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this,
            [this] { shell::HelpWindow::showTopic(this, QStringLiteral("SymptomCodes")); });
    addAction(help);

    auto* top = new QHBoxLayout;
    for (QPushButton* b : {btnAdd, btnDel, btnPost_, btnCancelEdit_})
        top->addWidget(b);
    top->addStretch();
    for (QPushButton* b : {btnPrn_, btnExp_, btnOk_, btnExit_})
        top->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_);
    resize(820, 480);
}

void TfrmSymp::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    static_cast<GroupDelegate*>(grid_->itemDelegateForColumn(ColGroup))->groups =
        orders::symptomGroups(db_);
    model_->select();
    ui::fetchAllRows(*model_);
    grid_->resizeColumnsToContents();
    if (model_->rowCount() > 0)
        grid_->setCurrentIndex(model_->index(0, ColDescription));
    grid_->setFocus();
    updateButtons();
}

bool TfrmSymp::isEditing() const {
    return model_->isDirty();
}

std::optional<TfrmSymp::Symptom> TfrmSymp::chosenSymptom() const {
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    const QSqlRecord row = model_->record(current.row());
    return Symptom{row.value(QStringLiteral("description")).toString(),
                   row.value(QStringLiteral("marka")), row.value(QStringLiteral("code_add"))};
}

void TfrmSymp::updateButtons() {
    const bool editing = isEditing();
    const bool any = model_->rowCount() > 0;
    btnOk_->setEnabled(!editing && any);
    btnPrn_->setEnabled(!editing && any);
    btnExp_->setEnabled(!editing && any);
    btnExit_->setEnabled(!editing);
    btnPost_->setEnabled(editing);
    btnCancelEdit_->setEnabled(editing);
}

void TfrmSymp::addRow() {
    if (isEditing() && !storeRows())
        return;
    const int row = model_->rowCount();
    model_->insertRow(row);
    model_->setData(model_->index(row, ColValue), 0);
    const QModelIndex description = model_->index(row, ColDescription);
    grid_->setCurrentIndex(description);
    grid_->edit(description);
    updateButtons();
}

bool TfrmSymp::storeRows() {
    // An open cell editor hands its text over first.
    {
        QWidget* editor = grid_->viewport()->focusWidget();
        if (editor && editor != grid_->viewport() && editor->isVisible()) {
            QMetaObject::invokeMethod(grid_, "commitData", Q_ARG(QWidget*, editor));
            QMetaObject::invokeMethod(
                grid_, "closeEditor", Q_ARG(QWidget*, editor),
                Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
        }
    }
    grid_->setFocus();
    if (!model_->isDirty())
        return true;
    const int row = grid_->currentIndex().row();
    if (!model_->submitAll()) {
        const QSqlError error = model_->lastError();
        grid_->setFocus();
        ui::error(this, error.nativeErrorCode() == QLatin1String("empty")
                            ? orders::kEmptySymptomMessage
                            : error.text());
        updateButtons();
        return false;
    }
    ui::fetchAllRows(*model_);
    if (row >= 0 && model_->rowCount() > 0)
        grid_->setCurrentIndex(
            model_->index(std::min(row, model_->rowCount() - 1), ColDescription));
    updateButtons();
    return true;
}

void TfrmSymp::cancelEdit() {
    model_->revertAll();
    updateButtons();
}

void TfrmSymp::deleteRow() {
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid() || isEditing())
        return;
    const int row = current.row();
    model_->removeRow(row);
    if (!model_->submitAll()) {
        ui::error(this, model_->lastError().text());
        model_->revertAll();
    }
    ui::fetchAllRows(*model_);
    if (model_->rowCount() > 0)
        grid_->setCurrentIndex(
            model_->index(std::min(row, model_->rowCount() - 1), ColDescription));
    updateButtons();
}

void TfrmSymp::currentRowChanged(const QModelIndex& current, const QModelIndex& previous) {
    // Leaving an edited row stores it; a refused row keeps the cursor.
    if (returning_ || !previous.isValid() || current.row() == previous.row() || !isEditing())
        return;
    if (!storeRows()) {
        returning_ = true;
        grid_->setCurrentIndex(previous);
        returning_ = false;
    }
}

void TfrmSymp::printList() {
    if (isEditing())
        return;
    ui::PrintHeader header;
    header.title = windowTitle();
    ui::printGrid(this, *grid_, header);
}

void TfrmSymp::exportList() {
    if (isEditing())
        return;
    ui::exportGrid(this, *grid_, ui::ExportOptions{QStringLiteral("symptom codes")});
}

void TfrmSymp::reject() {
    if (isEditing())
        return;
    QDialog::reject();
}

void TfrmSymp::closeEvent(QCloseEvent* event) {
    if (isEditing()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
