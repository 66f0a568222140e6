#include "orders/order_parts_dialog.h"

#include "store/database.h"
#include "ui/message_box.h"
#include "ui/row_list.h"
#include "warehouse/part_catalogue.h"
#include "warehouse/parts_list_panel.h"
#include "warehouse/stock.h"

#include <QAction>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// Where a row of the groups came from in the plain list; group rows have none.
constexpr int kListRowRole = Qt::UserRole + 1;

void notInStock(QWidget* parent) {
    ui::message(parent, ui::captionMessage(),
                QStringLiteral("Артикулът не е намерен в наличността!"), ui::MessageIcon::Warning);
}

int columnTitled(const QAbstractItemModel& model, const QString& title) {
    for (int c = 0; c < model.columnCount(); ++c) {
        if (model.headerData(c, Qt::Horizontal).toString() == title)
            return c;
    }
    return -1;
}

QAction* menuItem(QMenu* menu, const char* name, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

// The group of a focused part is its type's group; a group stands for itself.
QModelIndex focusedGroup(const QTreeView& view) {
    QModelIndex index = view.currentIndex().siblingAtColumn(0);
    if (index.isValid() && index.parent().isValid())
        index = index.parent();
    return index;
}

void collapseRecursively(QTreeView* view, const QModelIndex& index) {
    const QAbstractItemModel* model = index.model();
    for (int row = 0; row < model->rowCount(index); ++row)
        collapseRecursively(view, model->index(row, 0, index));
    view->collapse(index);
}

} // namespace

TfrmPorParts::TfrmPorParts(store::Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("TfrmPorParts"));
    setWindowTitle(QStringLiteral("Резервни части в наличност"));
    resize(900, 520);
    warehouse::PartsList::Options options;
    options.searchInStockOnly = true;
    options.emptySearchLoadsStock = true;
    options.priceColumns = true;
    list_ = new warehouse::PartsList(db_, options, this);
    connect(list_, &warehouse::PartsList::partActivated, this, &TfrmPorParts::choose);
    list_->grid()->installEventFilter(this);
    groupRows_ = new QStandardItemModel(this);
    groups_ = new QTreeView(this);
    groups_->setObjectName(QStringLiteral("gridGroups"));
    groups_->setModel(groupRows_);
    ui::prepareRowList(groups_);
    groups_->setAlternatingRowColors(true);
    groups_->installEventFilter(this);
    groups_->hide();
    connect(groups_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TfrmPorParts::groupRowFocused);
    connect(groups_, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.parent().isValid())
            choose();
    });
    // The groups follow every new list (a search, a reload after a refusal).
    connect(
        list_->grid()->model(), &QAbstractItemModel::modelReset, this,
        [this] {
            if (isGrouped())
                rebuildGroups();
        },
        Qt::QueuedConnection);
    connect(list_, &warehouse::PartsList::searchingChanged, this, [this](bool searching) {
        groups_->setEnabled(!searching);
        if (!searching && isGrouped())
            groups_->setFocus();
    });

    auto* bar = new QToolBar(this);
    auto* mnSearch = bar->addAction(QStringLiteral("Търсене"));
    mnSearch->setObjectName(QStringLiteral("mnSearch"));
    connect(mnSearch, &QAction::triggered, this,
            [this] { list_->isSearching() ? list_->hideSearch() : list_->showSearch(); });
    auto* fit = bar->addAction(QStringLiteral("Ширина на колоните"));
    connect(fit, &QAction::triggered, this, [this] {
        list_->grid()->resizeColumnsToContents();
        for (int c = 0; c < groupRows_->columnCount(); ++c)
            groups_->resizeColumnToContents(c);
    });
    auto* info = bar->addAction(QStringLiteral("Описание"));
    info->setObjectName(QStringLiteral("mnInfo"));
    connect(info, &QAction::triggered, this, [this] {
        list_->setDescriptionVisible(!list_->descriptionVisible());
        if (isGrouped())
            rebuildGroups();
    });
    mnGroups_ = bar->addAction(QStringLiteral("Групи по тип"));
    mnGroups_->setObjectName(QStringLiteral("mnGroups"));
    mnGroups_->setCheckable(true);
    connect(mnGroups_, &QAction::toggled, this, &TfrmPorParts::setGrouped);
    QMenu* popup = buildPopup();
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(list_->grid()),
                                    static_cast<QAbstractItemView*>(groups_)}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, [view, popup](const QPoint& at) {
            popup->popup(view->viewport()->mapToGlobal(at));
        });
    }

    auto* btnChoose = new QPushButton(QStringLiteral("Избор"), this);
    btnChoose->setObjectName(QStringLiteral("btnChoose"));
    auto* btnExit = new QPushButton(QStringLiteral("Изход"), this);
    btnExit->setObjectName(QStringLiteral("btnExit"));
    connect(btnChoose, &QPushButton::clicked, this, &TfrmPorParts::choose);
    connect(btnExit, &QPushButton::clicked, this, &TfrmPorParts::reject);

    pAmnt_ = new QFrame(this);
    pAmnt_->setObjectName(QStringLiteral("pAmnt"));
    pAmnt_->setFrameShape(QFrame::Panel);
    pAmnt_->setFrameShadow(QFrame::Raised);
    pAmnt_->setAutoFillBackground(true);
    partName_ = new QLabel(pAmnt_);
    listSN_ = new QComboBox(pAmnt_);
    listSN_->setObjectName(QStringLiteral("listSN"));
    eAmnt_ = new QLineEdit(pAmnt_);
    eAmnt_->setObjectName(QStringLiteral("eAmnt"));
    eAmnt_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), eAmnt_));
    auto* btnRec = new QPushButton(QStringLiteral("OK"), pAmnt_);
    btnRec->setObjectName(QStringLiteral("btnRec"));
    auto* btnCancel = new QPushButton(QStringLiteral("Отказ"), pAmnt_);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* form = new QFormLayout(pAmnt_);
    form->addRow(partName_);
    form->addRow(QStringLiteral("Сериен №:"), listSN_);
    form->addRow(QStringLiteral("Количество:"), eAmnt_);
    auto* row = new QHBoxLayout;
    row->addWidget(btnRec);
    row->addWidget(btnCancel);
    form->addRow(row);
    connect(btnRec, &QPushButton::clicked, this, &TfrmPorParts::confirm);
    connect(eAmnt_, &QLineEdit::returnPressed, this, &TfrmPorParts::confirm);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmPorParts::cancelAmount);
    connect(listSN_, &QComboBox::currentIndexChanged, this, &TfrmPorParts::serialPicked);
    pAmnt_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->addWidget(list_, 1);
    layout->addWidget(groups_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnChoose);
    buttons->addWidget(btnExit);
    layout->addLayout(buttons);
}

void TfrmPorParts::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    choice_.reset();
    pAmnt_->hide();
    list_->hideSearch();
    try {
        list_->loadBroad(true);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
}

QMenu* TfrmPorParts::buildPopup() {
    auto* popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    connect(menuItem(popup, "mnChoose", QStringLiteral("Избор")), &QAction::triggered, this,
            &TfrmPorParts::choose);
    popup->addSeparator();
    connect(menuItem(popup, "N1", QStringLiteral("Разгъни групата")), &QAction::triggered, this,
            &TfrmPorParts::expandFocusedGroup);
    connect(menuItem(popup, "N2", QStringLiteral("Свий групата")), &QAction::triggered, this,
            &TfrmPorParts::collapseFocusedGroup);
    popup->addSeparator();
    connect(menuItem(popup, "N4", QStringLiteral("Разгъни всички")), &QAction::triggered, this,
            &TfrmPorParts::expandAllGroups);
    connect(menuItem(popup, "N5", QStringLiteral("Свий всички")), &QAction::triggered, this,
            &TfrmPorParts::collapseAllGroups);
    return popup;
}

bool TfrmPorParts::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the list chooses, as a double click does.
    if ((watched == list_->grid() || watched == groups_) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == list_->grid() || groups_->currentIndex().parent().isValid())
                choose();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TfrmPorParts::isGrouped() const {
    return !groups_->isHidden();
}

void TfrmPorParts::setGrouped(bool grouped) {
    if (grouped == isGrouped())
        return;
    {
        const QSignalBlocker quiet(mnGroups_);
        mnGroups_->setChecked(grouped);
    }
    list_->grid()->setVisible(!grouped);
    groups_->setVisible(grouped);
    if (auto* box = qobject_cast<QBoxLayout*>(layout()))
        box->setStretchFactor(list_, grouped ? 0 : 1);
    if (grouped) {
        rebuildGroups();
        groups_->setFocus();
    } else {
        list_->grid()->setFocus();
    }
}

void TfrmPorParts::rebuildGroups() {
    QTableView* grid = list_->grid();
    QAbstractItemModel* rows = grid->model();
    ui::fetchAllRows(*rows);
    const int keepRow = grid->currentIndex().row();
    const QSignalBlocker quiet(groups_->selectionModel());
    groupRows_->clear();
    QList<int> columns;
    QStringList headers;
    for (int c = 0; c < rows->columnCount(); ++c) {
        if (!grid->isColumnHidden(c)) {
            columns << c;
            headers << rows->headerData(c, Qt::Horizontal).toString();
        }
    }
    groupRows_->setColumnCount(int(columns.size()));
    groupRows_->setHorizontalHeaderLabels(headers);
    const int typeColumn = columnTitled(*rows, QStringLiteral("Тип"));
    QHash<QString, QStandardItem*> groupOf;
    std::optional<QModelIndex> focus;
    for (int row = 0; row < rows->rowCount(); ++row) {
        const QString type =
            typeColumn < 0 ? QString() : rows->index(row, typeColumn).data().toString();
        QStandardItem*& group = groupOf[type];
        if (!group) {
            group = new QStandardItem(type.isEmpty() ? QStringLiteral("(без тип)") : type);
            QFont bold = group->font();
            bold.setBold(true);
            group->setFont(bold);
            QList<QStandardItem*> groupRow{group};
            for (int c = 1; c < columns.size(); ++c)
                groupRow << new QStandardItem;
            groupRows_->appendRow(groupRow);
        }
        QList<QStandardItem*> cells;
        for (int c : columns) {
            auto* item = new QStandardItem;
            item->setData(rows->index(row, c).data(Qt::DisplayRole), Qt::DisplayRole);
            cells << item;
        }
        cells.first()->setData(row, kListRowRole);
        group->appendRow(cells);
        if (row == keepRow)
            focus = cells.first()->index();
    }
    // Every new list opens with all its groups expanded.
    groups_->expandAll();
    for (int c = 0; c < groupRows_->columnCount(); ++c)
        groups_->resizeColumnToContents(c);
    if (!focus && groupRows_->rowCount() > 0 && groupRows_->item(0)->rowCount() > 0)
        focus = groupRows_->item(0)->child(0)->index();
    if (focus) {
        groups_->setCurrentIndex(*focus);
        groupRowFocused(*focus);
    }
}

void TfrmPorParts::groupRowFocused(const QModelIndex& index) {
    const QVariant row = index.siblingAtColumn(0).data(kListRowRole);
    if (row.isValid())
        list_->grid()->selectRow(row.toInt());
}

void TfrmPorParts::expandFocusedGroup() {
    setGrouped(true);
    const QModelIndex group = focusedGroup(*groups_);
    if (group.isValid())
        groups_->expandRecursively(group);
}

void TfrmPorParts::collapseFocusedGroup() {
    setGrouped(true);
    const QModelIndex group = focusedGroup(*groups_);
    if (!group.isValid())
        return;
    collapseRecursively(groups_, group);
    groups_->setCurrentIndex(group);
}

void TfrmPorParts::expandAllGroups() {
    setGrouped(true);
    groups_->expandAll();
}

void TfrmPorParts::collapseAllGroups() {
    setGrouped(true);
    const QModelIndex group = focusedGroup(*groups_);
    groups_->collapseAll();
    if (group.isValid())
        groups_->setCurrentIndex(group);
}

void TfrmPorParts::setListEnabled(bool enabled) {
    list_->setEnabled(enabled);
    groups_->setEnabled(enabled);
}

void TfrmPorParts::choose() {
    // A group row names no part.
    if (isGrouped() && !groups_->currentIndex().parent().isValid())
        return;
    const auto id = list_->currentPartId();
    if (!id || pAmnt_->isVisible())
        return;
    const auto part = warehouse::loadPart(db_, *id);
    if (!part)
        return;
    chosenPart_ = *id;
    partName_->setText(part->part);
    const QStringList serials = warehouse::serialNumbersOf(db_, *id);
    plainUnits_ = serials.isEmpty() ? part->amnt : warehouse::plainUnitsInStock(db_, *id);
    {
        const QSignalBlocker quiet(listSN_);
        listSN_->clear();
        for (const QString& serial : serials)
            listSN_->addItem(serial, serial);
        // Units that came without a number are taken by count, next to the numbered ones.
        if (!serials.isEmpty() && plainUnits_ > 0)
            listSN_->addItem(QStringLiteral("(без сериен номер)"));
        listSN_->setCurrentIndex(serials.isEmpty() ? -1 : 0);
    }
    listSN_->setVisible(!serials.isEmpty());
    listSN_->setEnabled(!serials.isEmpty());
    eAmnt_->setText(QStringLiteral("1"));
    serialPicked();
    pAmnt_->adjustSize();
    pAmnt_->move(rect().center() - pAmnt_->rect().center());
    pAmnt_->show();
    pAmnt_->raise();
    setListEnabled(false);
    (serials.isEmpty() ? static_cast<QWidget*>(eAmnt_) : listSN_)->setFocus();
}

void TfrmPorParts::serialPicked() {
    // A numbered unit is one unit; the others are counted up to the units without a number.
    const bool numbered = listSN_->isEnabled() && !listSN_->currentData().isNull();
    listedStock_ = numbered ? 1 : plainUnits_;
    if (numbered)
        eAmnt_->setText(QStringLiteral("1"));
    eAmnt_->setEnabled(!numbered);
}

void TfrmPorParts::confirm() {
    if (!pAmnt_->isVisible() || !chosenPart_)
        return;
    if (eAmnt_->text().isEmpty()) {
        eAmnt_->setFocus();
        return;
    }
    const int quantity = eAmnt_->text().toInt();
    if (quantity == 0) {
        eAmnt_->clear();
        eAmnt_->setFocus();
        return;
    }
    if (quantity > listedStock_) {
        ui::message(this, ui::captionMessage(),
                    QStringLiteral("Не може да въведете по-голямо количество от наличното!"),
                    ui::MessageIcon::Warning);
        eAmnt_->clear();
        eAmnt_->setFocus();
        return;
    }
    // Another workstation may have taken the units since the list was read.
    const QString serial = listSN_->isEnabled() ? listSN_->currentData().toString() : QString();
    bool stillThere = false;
    try {
        stillThere = serial.isEmpty()
                         ? warehouse::plainUnitsInStock(db_, *chosenPart_) >= quantity
                         : warehouse::serialNumbersOf(db_, *chosenPart_).contains(serial);
    } catch (const warehouse::StockError&) {
    }
    if (!stillThere) {
        notInStock(this);
        cancelAmount();
        list_->reload();
        return;
    }
    choice_ = PartChoice{*chosenPart_, quantity, serial};
    pAmnt_->hide();
    setListEnabled(true);
    accept();
}

void TfrmPorParts::cancelAmount() {
    pAmnt_->hide();
    setListEnabled(true);
}

void TfrmPorParts::reject() {
    if (pAmnt_->isVisible())
        return; // the quantity is confirmed or cancelled first
    QDialog::reject();
}
