#include "orders/operations_catalogue_window.h"

#include "orders/operations_tree.h"
#include "shell/help_window.h"
#include "shell/session.h"
#include "store/database.h"
#include "store/list_query.h"
#include "store/money.h"
#include "ui/grid_export.h"
#include "ui/grid_printer.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "ui/row_list.h"
#include "vehicles/vehicle_pick_chain_controls.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QComboBox>
#include <QDoubleValidator>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSplitter>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orders {

namespace {

const QString kOperationsMime = QStringLiteral("application/x-workshop-operations");

enum OpColumn { ColCode, ColName, ColClient, ColWorker, ColWarranty, ColTime, ColId };

// Amounts in the fields as everywhere else: "1 234,50".
QString money(double v) {
    return store::formatMoney(v);
}

double valueOf(const QLineEdit* edit) {
    return store::parseMoney(edit->text()).value_or(0);
}

QLineEdit* numberEdit(QWidget* parent, const char* name, bool allowMinus = true) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setValidator(new QRegularExpressionValidator(
        QRegularExpression(allowMinus ? QStringLiteral("-?[0-9 ]*[.,]?[0-9]*")
                                      : QStringLiteral("[0-9 ]*[.,]?[0-9]*")),
        e));
    return e;
}

QFrame* floatingPanel(QWidget* parent, const char* name) {
    auto* f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setFrameShape(QFrame::Panel);
    f->setFrameShadow(QFrame::Raised);
    f->setAutoFillBackground(true);
    f->hide();
    return f;
}

} // namespace

// The operations list: prices can be typed into it while price editing is on, and selected
// rows can be dragged onto the tree.
class OperationsModel : public QSqlQueryModel {
public:
    OperationsModel(store::Database& db, QObject* parent) : QSqlQueryModel(parent), db_(db) {}

    bool editPrices = false;
    bool dragging = false;
    std::function<void()> reload;

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = QSqlQueryModel::flags(index);
        if (editPrices && index.column() >= ColClient && index.column() <= ColTime)
            f |= Qt::ItemIsEditable;
        if (dragging)
            f |= Qt::ItemIsDragEnabled;
        return f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
            return false;
        const auto amount = store::parseMoney(value.toString());
        if (!amount || *amount < 0)
            return false;
        const qint64 id = this->index(index.row(), ColId).data().toLongLong();
        try {
            setOperationPrice(db_, id, static_cast<PriceColumn>(index.column() - ColClient),
                              *amount);
        } catch (const store::DbError& e) {
            ui::error(nullptr, e.message());
            return false;
        }
        if (reload)
            reload();
        return true;
    }

    QStringList mimeTypes() const override { return {kOperationsMime}; }

    QMimeData* mimeData(const QModelIndexList& indexes) const override {
        QStringList ids;
        for (const QModelIndex& i : indexes) {
            const QString id = index(i.row(), ColId).data().toString();
            if (!ids.contains(id))
                ids << id;
        }
        auto* data = new QMimeData;
        data->setData(kOperationsMime, ids.join(QLatin1Char(',')).toLatin1());
        return data;
    }

private:
    store::Database& db_;
};

// The classification tree: accepts its own nodes and operations from the list as drops.
class OperationsTree : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

    bool dropping = false;
    std::function<void(const QList<qint64>&, qint64)> operationsDropped;
    std::function<void(qint64, qint64)> nodeDropped;

protected:
    void dragEnterEvent(QDragEnterEvent* e) override {
        if (dropping && (e->source() == this || e->mimeData()->hasFormat(kOperationsMime)))
            e->acceptProposedAction();
        else
            e->ignore();
    }
    void dragMoveEvent(QDragMoveEvent* e) override {
        if (dropping && itemAt(e->position().toPoint()))
            e->acceptProposedAction();
        else
            e->ignore();
    }
    void dropEvent(QDropEvent* e) override {
        QTreeWidgetItem* target = itemAt(e->position().toPoint());
        if (!dropping || !target) {
            e->ignore();
            return;
        }
        const qint64 targetId = target->data(0, Qt::UserRole).toLongLong();
        if (e->mimeData()->hasFormat(kOperationsMime)) {
            QList<qint64> ids;
            for (const QByteArray& id : e->mimeData()->data(kOperationsMime).split(','))
                ids << id.toLongLong();
            if (operationsDropped)
                operationsDropped(ids, targetId);
        } else if (e->source() == this && currentItem() && nodeDropped) {
            nodeDropped(currentItem()->data(0, Qt::UserRole).toLongLong(), targetId);
        }
        // The data decides the new tree; the control does not move items itself.
        e->setDropAction(Qt::IgnoreAction);
        e->accept();
    }
};

} // namespace orders

using namespace orders;

TfrmWorkOp::TfrmWorkOp(store::Database& db, const shell::Session& session, QWidget* parent)
    : QDialog(parent), db_(db), session_(session) {
    setObjectName(QStringLiteral("TfrmWorkOp"));
    setWindowTitle(QStringLiteral("Операции"));
    resize(980, 620);
    buildTree();
    buildList();
    buildCommands();
    buildBrandPanel();
    buildOperationPanel();
    buildEntryPanel();

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tree_);
    splitter->addWidget(gridOp_);
    splitter->setStretchFactor(1, 2);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusBar1"));
    auto* layout = qobject_cast<QVBoxLayout*>(this->layout());
    layout->addWidget(splitter, 1);
    layout->addWidget(panButtons_);
    layout->addWidget(status_);
    panButtons_->hide();
}

TfrmWorkOp::~TfrmWorkOp() = default;

void TfrmWorkOp::buildTree() {
    tree_ = new OperationsTree(this);
    tree_->setObjectName(QStringLiteral("DBTreeList"));
    tree_->setColumnCount(3);
    tree_->setHeaderLabels(
        {QStringLiteral("id"), QStringLiteral("parent"), QStringLiteral("Класификация")});
    tree_->headerItem()->setData(0, Qt::UserRole, QStringLiteral("DBTreeListPr_id"));
    tree_->setColumnHidden(0, true);
    tree_->setColumnHidden(1, true);
    tree_->setDragDropMode(QAbstractItemView::DragDrop);
    tree_->setDragEnabled(false);
    tree_->setAcceptDrops(true);
    tree_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    tree_->operationsDropped = [this](const QList<qint64>& ids, qint64 node) {
        dropOperationsOn(ids, node);
    };
    tree_->nodeDropped = [this](qint64 node, qint64 target) { dropNodeOn(node, target); };
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { nodeChanged(); });
    connect(tree_, &QTreeWidget::itemChanged, this, &TfrmWorkOp::treeItemChanged);
    connect(tree_->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            &TfrmWorkOp::treeEditorClosed);
    tree_->installEventFilter(this);
}

void TfrmWorkOp::buildList() {
    model_ = new OperationsModel(db_, this);
    model_->reload = [this] {
        const auto keep = currentOperationId();
        loadList();
        if (keep)
            selectOperation(*keep);
    };
    gridOp_ = ui::rowList(this, "gridOp", model_);
    // Prices are edited in place, and several operations go into an order at once.
    gridOp_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    gridOp_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    gridOp_->setSortingEnabled(false);
    connect(gridOp_, &QTableView::doubleClicked, this, [this] {
        if (model_->editPrices)
            return;
        if (orderMode_)
            openEntry();
        else
            editOperation();
    });
}

void TfrmWorkOp::buildCommands() {
    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    QMenu* opMenu = menu->addMenu(QStringLiteral("Операции"));
    QMenu* listMenu = menu->addMenu(QStringLiteral("Списък"));
    layout->setMenuBar(menu);

    auto* top = new QHBoxLayout;
    btnAdd_ = ui::namedButton(this, "btnAdd", QStringLiteral("Добави"));
    btnAddChild_ = ui::namedButton(this, "btnAddChild", QStringLiteral("Добави подниво"));
    btnDelete_ = ui::namedButton(this, "btnDelete", QStringLiteral("Изтрий"));
    auto* expand = ui::namedButton(this, "btnExpand", QStringLiteral("Разгъни"));
    auto* collapse = ui::namedButton(this, "btnCollapse", QStringLiteral("Свий"));
    opNew_ = ui::namedButton(this, "opNew", QStringLiteral("Нова операция"));
    opEdit_ = ui::namedButton(this, "opEdit", QStringLiteral("Редакция"));
    opDelete_ = ui::namedButton(this, "opDelete", QStringLiteral("Изтриване"));
    eSearch_ = new QLineEdit(this);
    eSearch_->setObjectName(QStringLiteral("eSearch"));
    eSearch_->setPlaceholderText(QStringLiteral("код, * за произволни знаци"));
    btnGo_ = ui::namedButton(this, "btnGo", QStringLiteral("Търси"));
    for (QWidget* w : std::initializer_list<QWidget*>{btnAdd_, btnAddChild_, btnDelete_, expand,
                                                      collapse, opNew_, opEdit_, opDelete_})
        top->addWidget(w);
    top->addStretch();
    top->addWidget(new QLabel(QStringLiteral("Код:"), this));
    top->addWidget(eSearch_);
    top->addWidget(btnGo_);
    layout->addLayout(top);

    connect(btnAdd_, &QPushButton::clicked, this, &TfrmWorkOp::addNode);
    connect(btnAddChild_, &QPushButton::clicked, this, &TfrmWorkOp::addChild);
    connect(btnDelete_, &QPushButton::clicked, this, &TfrmWorkOp::deleteNode);
    connect(expand, &QPushButton::clicked, tree_, &QTreeWidget::expandAll);
    connect(collapse, &QPushButton::clicked, tree_, &QTreeWidget::collapseAll);
    connect(opNew_, &QPushButton::clicked, this, &TfrmWorkOp::newOperation);
    connect(opEdit_, &QPushButton::clicked, this, &TfrmWorkOp::editOperation);
    connect(opDelete_, &QPushButton::clicked, this, &TfrmWorkOp::deleteOperations);
    connect(btnGo_, &QPushButton::clicked, this, &TfrmWorkOp::go);
    connect(eSearch_, &QLineEdit::returnPressed, this, &TfrmWorkOp::searchCode);

    auto add = [this](QMenu* into, const char* name, const QString& text, auto slot) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        into->addAction(a);
        return a;
    };
    add(listMenu, "opPrint", QStringLiteral("Печат на целия каталог"), &TfrmWorkOp::printAll);
    add(listMenu, "TBItem1", QStringLiteral("Печат на списъка"), &TfrmWorkOp::printList);
    add(listMenu, "TBItem3", QStringLiteral("Експорт на списъка"), &TfrmWorkOp::exportList);
    add(listMenu, "TBItem2", QStringLiteral("Експорт на целия каталог"), &TfrmWorkOp::exportAll);
    mnDrag_ = add(opMenu, "mnDrag", QStringLiteral("Преместване с мишката"), [this] {
        const bool on = mnDrag_->isChecked();
        tree_->dropping = on;
        tree_->setDragEnabled(on);
        model_->dragging = on;
        gridOp_->setDragEnabled(on);
    });
    mnDrag_->setCheckable(true);
    mnEditPrices_ = add(opMenu, "mnEditPrices", QStringLiteral("Редакция на цените в списъка"),
                        [this] { model_->editPrices = mnEditPrices_->isChecked(); });
    mnEditPrices_->setCheckable(true);
    auto* focusSearch =
        add(opMenu, "Action1", QStringLiteral("Търсене по код"), [this] { eSearch_->setFocus(); });
    focusSearch->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    auto* help = add(opMenu, "Action2", QStringLiteral("Помощ"), [this] {
        shell::HelpWindow::showTopic(this, QStringLiteral("WorkOperations"));
    });
    help->setShortcut(QKeySequence::HelpContents);
    addAction(focusSearch);
    addAction(help);

    panButtons_ = new QWidget(this);
    panButtons_->setObjectName(QStringLiteral("panButtons"));
    auto* strip = new QHBoxLayout(panButtons_);
    auto* link =
        new QLabel(QStringLiteral("<a href=\"#\">Добавяне на труд към поръчката</a>"), panButtons_);
    link->setObjectName(QStringLiteral("Label2000X1"));
    connect(link, &QLabel::linkActivated, this, &TfrmWorkOp::openEntry);
    strip->addWidget(link);
    strip->addStretch();
}

void TfrmWorkOp::buildBrandPanel() {
    addRoot_ = floatingPanel(this, "addRoot");
    eMarka_ = new QComboBox(addRoot_);
    eMarka_->setObjectName(QStringLiteral("eMarka"));
    vehicles::VehiclePickChain::preparePickField(eMarka_);
    vehicles::PickChainFields fields;
    fields.brand = eMarka_;
    brandChain_ = new vehicles::VehiclePickChain(db_, fields, vehicles::EngineStep::TrimOnly, this);
    auto* save = ui::namedButton(addRoot_, "bRecExp", QStringLiteral("Запис"));
    auto* cancel = ui::namedButton(addRoot_, "bCancel", QStringLiteral("Отказ"));
    auto* l = new QFormLayout(addRoot_);
    l->addRow(QStringLiteral("Марка:"), eMarka_);
    auto* row = new QHBoxLayout;
    row->addWidget(save);
    row->addWidget(cancel);
    l->addRow(row);
    connect(save, &QPushButton::clicked, this, &TfrmWorkOp::saveBrand);
    connect(cancel, &QPushButton::clicked, this, &TfrmWorkOp::cancelBrand);
}

void TfrmWorkOp::buildOperationPanel() {
    addOp_ = floatingPanel(this, "addOp");
    eCode_ = new QLineEdit(addOp_);
    eCode_->setObjectName(QStringLiteral("eCode"));
    eOp_ = new QLineEdit(addOp_);
    eOp_->setObjectName(QStringLiteral("eOp"));
    eOp_->setMinimumWidth(320);
    clientPrice_ = numberEdit(addOp_, "clientPrice");
    workerPrice_ = numberEdit(addOp_, "workerPrice", false);
    warrantyPrice_ = numberEdit(addOp_, "warrantyPrice");
    eTime_ = numberEdit(addOp_, "eTime", false);
    auto* save = ui::namedButton(addOp_, "btnRecOp", QStringLiteral("Запис"));
    auto* cancel = ui::namedButton(addOp_, "btnCancelOp", QStringLiteral("Отказ"));
    auto* l = new QFormLayout(addOp_);
    l->addRow(QStringLiteral("Код:"), eCode_);
    l->addRow(QStringLiteral("Операция:"), eOp_);
    l->addRow(QStringLiteral("Цена за клиента:"), clientPrice_);
    l->addRow(QStringLiteral("Цена за техника:"), workerPrice_);
    l->addRow(QStringLiteral("Гаранционна цена:"), warrantyPrice_);
    l->addRow(QStringLiteral("Норма време (ч):"), eTime_);
    auto* row = new QHBoxLayout;
    row->addWidget(save);
    row->addWidget(cancel);
    l->addRow(row);
    connect(save, &QPushButton::clicked, this, &TfrmWorkOp::saveOperation);
    connect(cancel, &QPushButton::clicked, this, &TfrmWorkOp::cancelOperation);
}

void TfrmWorkOp::buildEntryPanel() {
    pInsert_ = floatingPanel(this, "pInsert");
    cmbClerks_ = new QComboBox(pInsert_);
    cmbClerks_->setObjectName(QStringLiteral("cmbClerks"));
    rb1_ = new QRadioButton(QStringLiteral("Операция от каталога"), pInsert_);
    rb1_->setObjectName(QStringLiteral("rb1"));
    rb2_ = new QRadioButton(QStringLiteral("Свободен текст"), pInsert_);
    rb2_->setObjectName(QStringLiteral("rb2"));
    eInsOp_ = new QLineEdit(pInsert_);
    eInsOp_->setObjectName(QStringLiteral("eInsOp"));
    eInsOp_->setMinimumWidth(360);
    clPrice_ = numberEdit(pInsert_, "clPrice");
    payClerk_ = numberEdit(pInsert_, "payClerk");
    wTime_ = numberEdit(pInsert_, "wTime", false);
    eCoef_ = numberEdit(pInsert_, "eCoef", false);
    auto* ok = ui::namedButton(pInsert_, "btnOk", QStringLiteral("OK"));
    auto* exit = ui::namedButton(pInsert_, "btnExit", QStringLiteral("Изход"));
    auto* l = new QFormLayout(pInsert_);
    l->addRow(QStringLiteral("Техник:"), cmbClerks_);
    auto* source = new QHBoxLayout;
    source->addWidget(rb1_);
    source->addWidget(rb2_);
    l->addRow(source);
    l->addRow(QStringLiteral("Описание:"), eInsOp_);
    l->addRow(QStringLiteral("Цена за клиента:"), clPrice_);
    l->addRow(QStringLiteral("За техника:"), payClerk_);
    wTimeLabel_ = new QLabel(QStringLiteral("Часове:"), pInsert_);
    l->addRow(wTimeLabel_, wTime_);
    l->addRow(QStringLiteral("Коефициент:"), eCoef_);
    auto* row = new QHBoxLayout;
    row->addWidget(ok);
    row->addWidget(exit);
    l->addRow(row);
    connect(rb1_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            computeEntry();
    });
    connect(rb2_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            computeEntry();
    });
    // The rates used must be those of the technician shown when OK is pressed.
    connect(cmbClerks_, &QComboBox::currentIndexChanged, this, [this] {
        if (pInsert_->isVisible())
            computeEntry();
    });
    for (QLineEdit* factor : {wTime_, eCoef_}) {
        factor->installEventFilter(this);
        connect(factor, &QLineEdit::editingFinished, this, [this, factor] { applyFactor(factor); });
    }
    connect(ok, &QPushButton::clicked, this, &TfrmWorkOp::confirmEntry);
    connect(exit, &QPushButton::clicked, this, &TfrmWorkOp::closeEntry);
}

// Opening -----------------------------------------------------------------------------------

void TfrmWorkOp::setOrderMode(int orderType, const QStringList& technicians) {
    orderMode_ = true;
    orderType_ = orderType;
    choice_.reset();
    cmbClerks_->clear();
    cmbClerks_->addItems(technicians);
    cmbClerks_->setCurrentIndex(0);
    panButtons_->show();
}

void TfrmWorkOp::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setPanel(nullptr);
    eSearch_->clear();
    if (screen() && screen()->geometry().width() < 1024)
        setWindowState(windowState() | Qt::WindowMaximized);
    mnDrag_->setChecked(false);
    tree_->dropping = false;
    tree_->setDragEnabled(false);
    model_->dragging = false;
    gridOp_->setDragEnabled(false);
    mnEditPrices_->setChecked(false);
    model_->editPrices = false;
    applyRights();
    reloadTree(currentNode());
    eCoef_->setText(QStringLiteral("1"));
    applyPayMode();
}

void TfrmWorkOp::applyRights() {
    const bool editor = session_.holdsRight(store::Right::OperationsEditing);
    for (QWidget* w : std::initializer_list<QWidget*>{btnAdd_, btnAddChild_, btnDelete_, opNew_,
                                                      opEdit_, opDelete_})
        w->setEnabled(editor);
    mnDrag_->setEnabled(editor);
    mnEditPrices_->setEnabled(editor);
}

PayMode TfrmWorkOp::payMode() const {
    return payModeOf(session_.settings());
}

void TfrmWorkOp::applyPayMode() {
    const PayMode mode = payMode();
    const bool byOperation = mode != PayMode::ByTime;
    clientPrice_->setEnabled(byOperation);
    warrantyPrice_->setEnabled(byOperation);
    workerPrice_->setEnabled(mode == PayMode::ByFixedAmount);
    eTime_->setEnabled(!byOperation);
    for (int c : {ColClient, ColWorker, ColWarranty})
        gridOp_->setColumnHidden(c, !byOperation);
    gridOp_->setColumnHidden(ColTime, byOperation);
    gridOp_->setColumnHidden(ColId, true);
}

// Tree --------------------------------------------------------------------------------------

void TfrmWorkOp::reloadTree(std::optional<qint64> keep) {
    draggingOrLoading_ = true;
    const QSignalBlocker block(tree_);
    tree_->clear();
    QHash<qint64, QTreeWidgetItem*> items;
    const QList<TreeNode> nodes = treeNodes(db_);
    const bool editor = session_.holdsRight(store::Right::OperationsEditing);
    // Parents may come after their children in id order: place nodes until nothing moves.
    QList<TreeNode> pending = nodes;
    while (!pending.isEmpty()) {
        QList<TreeNode> later;
        for (const TreeNode& n : pending) {
            QTreeWidgetItem* parent = n.parent == kNoParent ? nullptr : items.value(n.parent);
            if (n.parent != kNoParent && !parent) {
                later << n;
                continue;
            }
            auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
            item->setText(0, QString::number(n.id));
            item->setText(1, QString::number(n.parent));
            item->setText(2, n.name);
            item->setData(0, Qt::UserRole, n.id);
            Qt::ItemFlags flags = item->flags() | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
            // Brand names come from the brand list, never typed into the tree.
            if (editor && parent)
                flags |= Qt::ItemIsEditable;
            item->setFlags(flags);
            items.insert(n.id, item);
        }
        if (later.size() == pending.size()) { // orphans: show them at the top
            for (TreeNode& n : later)
                n.parent = kNoParent;
        }
        pending = later;
    }
    tree_->sortItems(2, Qt::AscendingOrder);
    draggingOrLoading_ = false;
    QTreeWidgetItem* current = keep ? items.value(*keep) : nullptr;
    if (!current && tree_->topLevelItemCount() > 0)
        current = tree_->topLevelItem(0);
    tree_->setCurrentItem(current);
    if (current)
        tree_->scrollToItem(current);
    nodeChanged();
}

std::optional<qint64> TfrmWorkOp::currentNode() const {
    QTreeWidgetItem* item = tree_->currentItem();
    if (!item || item->data(0, Qt::UserRole).toLongLong() == 0)
        return std::nullopt;
    return item->data(0, Qt::UserRole).toLongLong();
}

bool TfrmWorkOp::selectNode(qint64 id) {
    QTreeWidgetItemIterator it(tree_);
    for (; *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toLongLong() == id) {
            tree_->setCurrentItem(*it);
            return true;
        }
    }
    return false;
}

void TfrmWorkOp::nodeChanged() {
    if (draggingOrLoading_)
        return;
    const auto node = currentNode();
    status_->setText(node ? nodeNamePath(db_, *node) : QString());
    loadList();
    updateNodeCommands();
}

void TfrmWorkOp::loadList() {
    const auto node = currentNode();
    try {
        if (node) {
            const OperationsQuery q = operationsUnderNode(db_, *node);
            loadQuery(q.sql, q.binds);
        } else {
            model_->clear();
        }
    } catch (const store::DbError&) {
        // The list keeps what it showed; the next node change tries again.
    }
}

void TfrmWorkOp::loadQuery(const QString& sql, const QVariantMap& binds) {
    ui::showRows(*model_, store::listQuery(db_, sql, binds),
                 {QStringLiteral("Код"), QStringLiteral("Операция"), QStringLiteral("Цена клиент"),
                  QStringLiteral("Цена техник"), QStringLiteral("Гаранционна"),
                  QStringLiteral("Норма време"), QStringLiteral("id")});
    applyPayMode();
    gridOp_->resizeColumnsToContents();
    if (model_->rowCount() > 0)
        gridOp_->selectRow(0);
}

void TfrmWorkOp::updateNodeCommands() {
    const auto node = currentNode();
    const bool editor = session_.holdsRight(store::Right::OperationsEditing);
    btnDelete_->setEnabled(editor && node && canDeleteNode(db_, *node));
    btnAddChild_->setEnabled(editor && node && canAddChild(db_, *node));
}

void TfrmWorkOp::refuseNode() {
    ui::error(this, nodeNameRefusalText());
}

void TfrmWorkOp::addNode() {
    if (!session_.holdsRight(store::Right::OperationsEditing) || panelOpen())
        return;
    QTreeWidgetItem* current = tree_->currentItem();
    if (!current || !current->parent()) {
        brandChain_->fillBrandList();
        eMarka_->setCurrentIndex(-1);
        eMarka_->setEditText(QString());
        setPanel(addRoot_);
        eMarka_->setFocus();
        return;
    }
    auto* item = new QTreeWidgetItem(current->parent());
    item->setData(0, Qt::UserRole, 0);
    item->setData(1, Qt::UserRole, current->parent()->data(0, Qt::UserRole));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    tree_->setCurrentItem(item);
    tree_->editItem(item, 2);
}

void TfrmWorkOp::addChild() {
    const auto node = currentNode();
    if (!session_.holdsRight(store::Right::OperationsEditing) || !node ||
        !canAddChild(db_, *node) || panelOpen())
        return;
    QTreeWidgetItem* parent = tree_->currentItem();
    const QSignalBlocker block(tree_);
    auto* item = new QTreeWidgetItem(parent);
    item->setData(0, Qt::UserRole, 0);
    item->setData(1, Qt::UserRole, *node);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    parent->setExpanded(true);
    draggingOrLoading_ = true;
    tree_->setCurrentItem(item);
    draggingOrLoading_ = false;
    tree_->editItem(item, 2);
}

void TfrmWorkOp::treeItemChanged(QTreeWidgetItem* item, int column) {
    if (column != 2 || draggingOrLoading_)
        return;
    const qint64 id = item->data(0, Qt::UserRole).toLongLong();
    NodeResult result;
    try {
        if (id == 0) {
            result = orders::addNode(db_, item->data(1, Qt::UserRole).toLongLong(), item->text(2));
        } else {
            const auto chain = nodeChain(db_, id);
            if (!chain.isEmpty() && chain.last().name == item->text(2).trimmed()) {
                reloadTree(id); // unchanged: the edit is cancelled
                return;
            }
            result = renameNode(db_, id, item->text(2));
        }
    } catch (const store::DbError&) {
        result.refusal = NodeRefusal::DuplicateName;
    }
    if (!result.ok()) {
        refuseNode();
        reloadTree(id == 0 ? item->data(1, Qt::UserRole).toLongLong() : id);
        return;
    }
    reloadTree(result.id);
}

void TfrmWorkOp::treeEditorClosed() {
    // A new node left without a name is dropped.
    QTreeWidgetItem* item = tree_->currentItem();
    if (item && item->data(0, Qt::UserRole).toLongLong() == 0 && item->text(2).trimmed().isEmpty())
        reloadTree(item->data(1, Qt::UserRole).toLongLong());
}

void TfrmWorkOp::deleteNode() {
    const auto node = currentNode();
    if (!session_.holdsRight(store::Right::OperationsEditing) || !node || panelOpen())
        return;
    if (!canDeleteNode(db_, *node))
        return;
    if (!ui::ask(this, QStringLiteral("Изтриване на селекцията?"), QStringLiteral("Изтриване")))
        return;
    QTreeWidgetItem* item = tree_->currentItem();
    QTreeWidgetItem* parent = item->parent();
    const int position = parent ? parent->indexOfChild(item) : tree_->indexOfTopLevelItem(item);
    try {
        orders::deleteNode(db_, *node);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
    // The node now at the same position becomes the current one.
    std::optional<qint64> next;
    const qint64 parentId = parent ? parent->data(0, Qt::UserRole).toLongLong() : kNoParent;
    QList<TreeNode> siblings;
    for (const TreeNode& n : treeNodes(db_)) {
        if (n.parent == parentId)
            siblings << n;
    }
    std::sort(siblings.begin(), siblings.end(),
              [](const TreeNode& a, const TreeNode& b) { return a.name < b.name; });
    if (!siblings.isEmpty())
        next = siblings.at(std::min<int>(position, int(siblings.size()) - 1)).id;
    else if (parent)
        next = parentId;
    reloadTree(next);
}

void TfrmWorkOp::saveBrand() {
    brandChain_->leaveBrand();
    const QString brand = eMarka_->currentText().trimmed();
    if (brand.isEmpty())
        return;
    try {
        const NodeResult r = orders::addNode(db_, kNoParent, brand);
        if (!r.ok()) {
            refuseNode();
            return;
        }
        setPanel(nullptr);
        reloadTree(r.id);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
}

void TfrmWorkOp::cancelBrand() {
    setPanel(nullptr);
}

void TfrmWorkOp::dropOperationsOn(const QList<qint64>& ids, qint64 nodeId) {
    try {
        moveOperations(db_, ids, nodeId);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
    loadList();
    updateNodeCommands();
}

void TfrmWorkOp::dropNodeOn(qint64 nodeId, qint64 targetId) {
    if (nodeId == targetId)
        return;
    try {
        moveNode(db_, nodeId, targetId);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
    reloadTree(nodeId);
}

// Operations --------------------------------------------------------------------------------

std::optional<qint64> TfrmWorkOp::currentOperationId() const {
    const QModelIndex current = gridOp_->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return model_->index(current.row(), ColId).data().toLongLong();
}

QList<qint64> TfrmWorkOp::selectedOperations() const {
    QList<qint64> ids;
    for (const QModelIndex& row : gridOp_->selectionModel()->selectedRows())
        ids << model_->index(row.row(), ColId).data().toLongLong();
    return ids;
}

bool TfrmWorkOp::selectOperation(qint64 id) {
    for (int row = 0; row < model_->rowCount(); ++row) {
        if (model_->index(row, ColId).data().toLongLong() == id) {
            gridOp_->selectRow(row);
            return true;
        }
    }
    return false;
}

int TfrmWorkOp::listedOperations() const {
    return model_->rowCount();
}

QString TfrmWorkOp::statusText() const {
    return status_->text();
}

void TfrmWorkOp::newOperation() {
    if (!session_.holdsRight(store::Right::OperationsEditing) || panelOpen())
        return;
    if (tree_->topLevelItemCount() == 0 || !currentNode()) {
        ui::message(this, ui::captionMessage(), QStringLiteral("Няма въведени класификации!"),
                    ui::MessageIcon::Warning);
        return;
    }
    editingId_.reset();
    eCode_->clear();
    eOp_->clear();
    clientPrice_->setText(money(0));
    workerPrice_->setText(money(0));
    eTime_->setText(money(0));
    if (warrantyPrice_->text().isEmpty())
        warrantyPrice_->setText(money(0));
    setPanel(addOp_);
    eCode_->setFocus();
}

void TfrmWorkOp::editOperation() {
    const auto id = currentOperationId();
    if (!session_.holdsRight(store::Right::OperationsEditing) || !id || panelOpen())
        return;
    const auto op = loadOperation(db_, *id);
    if (!op)
        return;
    editingId_ = op->id;
    eCode_->setText(op->code);
    eOp_->setText(op->name);
    clientPrice_->setText(money(op->clientPrice));
    workerPrice_->setText(money(op->workerPrice));
    warrantyPrice_->setText(money(op->warrantyPrice));
    eTime_->setText(money(op->hours));
    setPanel(addOp_);
    eOp_->setFocus();
}

void TfrmWorkOp::saveOperation() {
    const auto node = currentNode();
    if (!node)
        return;
    Operation op;
    if (editingId_) {
        if (const auto stored = loadOperation(db_, *editingId_))
            op = *stored;
    }
    op.code = eCode_->text();
    op.name = eOp_->text();
    op.clientPrice = valueOf(clientPrice_);
    op.workerPrice = valueOf(workerPrice_);
    op.warrantyPrice = valueOf(warrantyPrice_);
    op.hours = valueOf(eTime_);
    try {
        const auto refusal =
            orders::saveOperation(db_, op, *node, OperationCheck{workerPrice_->isEnabled()});
        if (refusal == OperationRefusal::NegativePrice) {
            ui::message(this, ui::captionMessage(), operationRefusalText(*refusal),
                        ui::MessageIcon::Warning);
            return;
        }
        if (refusal == OperationRefusal::CodeTaken) {
            ui::message(this, QStringLiteral("Повтаряне"), operationRefusalText(*refusal),
                        ui::MessageIcon::Warning);
            const auto stored = editingId_ ? loadOperation(db_, *editingId_) : std::nullopt;
            eCode_->setText(stored ? stored->code : QString());
            eCode_->setFocus();
            return;
        }
        if (refusal == OperationRefusal::EmptyName) {
            ui::message(this, ui::captionMessage(), operationRefusalText(*refusal),
                        ui::MessageIcon::Error);
            eOp_->setFocus();
            return;
        }
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
        return;
    }
    setPanel(nullptr);
    loadList();
    selectOperation(op.id);
    updateNodeCommands();
}

void TfrmWorkOp::cancelOperation() {
    setPanel(nullptr);
}

void TfrmWorkOp::deleteOperations() {
    if (!session_.holdsRight(store::Right::OperationsEditing) || model_->rowCount() == 0 ||
        panelOpen())
        return;
    const QList<qint64> ids = selectedOperations();
    if (ids.isEmpty())
        return;
    if (!ui::ask(
            this,
            QStringLiteral("Ще изтриете всички селектирани редове, \nжелаете ли да продължите?"),
            QStringLiteral("Изтриване")))
        return;
    try {
        orders::deleteOperations(db_, ids);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
    loadList();
    updateNodeCommands();
}

void TfrmWorkOp::go() {
    if (orderMode_)
        openEntry();
    else
        searchCode();
}

void TfrmWorkOp::searchCode() {
    const QString text = eSearch_->text().trimmed();
    if (text.isEmpty())
        return;
    if (text.size() < 3) {
        ui::message(this, ui::captionMessage(),
                    QStringLiteral("Въведете поне 3 символа за търсене"), ui::MessageIcon::Warning);
        eSearch_->setFocus();
        return;
    }
    try {
        const OperationsQuery q = operationsByCode(db_, text);
        loadQuery(q.sql, q.binds);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
        return;
    }
    if (!text.startsWith(QLatin1Char('*'))) {
        QString begin = text;
        if (begin.endsWith(QLatin1Char('*')))
            begin.chop(1);
        for (int row = 0; row < model_->rowCount(); ++row) {
            if (model_->index(row, ColCode)
                    .data()
                    .toString()
                    .startsWith(begin, Qt::CaseInsensitive)) {
                gridOp_->selectRow(row);
                break;
            }
        }
    }
    gridOp_->setFocus();
    eSearch_->clear();
}

void TfrmWorkOp::printList() {
    if (model_->rowCount() == 0)
        return;
    ui::PrintHeader header;
    header.title = windowTitle() + QStringLiteral(" - ") + status_->text();
    ui::printGrid(this, *gridOp_, header);
}

void TfrmWorkOp::printAll() {
    loadQuery(allOperations().sql, {});
    if (model_->rowCount() > 0) {
        ui::PrintHeader header;
        header.title = windowTitle();
        ui::printGrid(this, *gridOp_, header);
    }
    loadList();
}

void TfrmWorkOp::exportList() {
    if (model_->rowCount() == 0)
        return;
    ui::exportGrid(this, *gridOp_, ui::ExportOptions{QStringLiteral("work_operations")});
}

void TfrmWorkOp::exportAll() {
    loadQuery(allOperations().sql, {});
    if (model_->rowCount() > 0)
        ui::exportGrid(this, *gridOp_, ui::ExportOptions{QStringLiteral("work_operations")});
    loadList();
}

// Panels ------------------------------------------------------------------------------------

void TfrmWorkOp::setPanel(QFrame* panel) {
    for (QFrame* p : {addRoot_, addOp_, pInsert_})
        p->setVisible(p == panel);
    tree_->setEnabled(!panel);
    gridOp_->setEnabled(!panel);
    if (panel) {
        panel->adjustSize();
        const QPoint corner = panel == pInsert_ ? gridOp_->geometry().topLeft() + QPoint(50, 50)
                                                : rect().center() - panel->rect().center();
        panel->move(corner);
        panel->raise();
    }
}

bool TfrmWorkOp::panelOpen() const {
    return addRoot_->isVisible() || addOp_->isVisible() || pInsert_->isVisible();
}

void TfrmWorkOp::closeEvent(QCloseEvent* event) {
    if (panelOpen()) {
        event->ignore();
        return;
    }
    orderMode_ = false;
    panButtons_->hide();
    QDialog::closeEvent(event);
}

void TfrmWorkOp::reject() {
    if (panelOpen())
        return;
    orderMode_ = false;
    panButtons_->hide();
    QDialog::reject();
}

bool TfrmWorkOp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tree_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (QTreeWidgetItem* item = tree_->currentItem()) {
            if (key->key() == Qt::Key_Right) {
                item->setExpanded(true);
                return true;
            }
            if (key->key() == Qt::Key_Left) {
                item->setExpanded(false);
                return true;
            }
        }
    }
    if ((watched == wTime_ || watched == eCoef_) && event->type() == QEvent::FocusIn)
        remember(static_cast<QLineEdit*>(watched));
    return QDialog::eventFilter(watched, event);
}

// Order mode entry --------------------------------------------------------------------------

void TfrmWorkOp::openEntry() {
    if (!orderMode_ || panelOpen())
        return;
    cmbClerks_->setCurrentIndex(0);
    const bool empty = model_->rowCount() == 0;
    rb1_->setEnabled(!empty);
    const QSignalBlocker b1(rb1_);
    const QSignalBlocker b2(rb2_);
    (empty ? rb2_ : rb1_)->setChecked(true);
    const bool byTime = payMode() == PayMode::ByTime;
    wTime_->setVisible(byTime);
    wTimeLabel_->setVisible(byTime);
    eCoef_->setText(QStringLiteral("1"));
    setPanel(pInsert_);
    computeEntry();
}

void TfrmWorkOp::computeEntry() {
    const auto tech = technicianByName(db_, cmbClerks_->currentText());
    const TechnicianRates rates = tech ? tech->rates : TechnicianRates{};
    const PayMode mode = payMode();
    const bool catalogue = rb1_->isChecked();
    std::optional<Operation> op;
    if (catalogue) {
        if (const auto id = currentOperationId())
            op = loadOperation(db_, *id);
    }
    if (catalogue && op) {
        entry_ = priceCatalogueOperation(mode, orderType_, rates, toCatalogueOperation(*op));
        eInsOp_->setReadOnly(true);
        clPrice_->setReadOnly(true);
        payClerk_->setReadOnly(mode == PayMode::ByTime);
        eCoef_->setReadOnly(false);
    } else {
        entry_ = priceFreeText(mode, orderType_, rates);
        eInsOp_->setReadOnly(false);
        eCoef_->setReadOnly(true);
        const bool byTime = mode == PayMode::ByTime;
        clPrice_->setReadOnly(byTime || orderType_ != 0);
        payClerk_->setReadOnly(byTime);
    }
    entry_.coefficient = 1;
    showEntry();
}

void TfrmWorkOp::showEntry() {
    eInsOp_->setText(entry_.description);
    clPrice_->setText(money(entry_.clientPrice));
    payClerk_->setText(money(entry_.technicianAmount));
    wTime_->setText(QString::number(entry_.hours));
    eCoef_->setText(QString::number(entry_.coefficient));
}

void TfrmWorkOp::remember(QLineEdit* field) {
    remembered_ = valueOf(field);
}

void TfrmWorkOp::applyFactor(QLineEdit* field) {
    const double now = valueOf(field);
    entry_.clientPrice = valueOf(clPrice_);
    entry_.technicianAmount = valueOf(payClerk_);
    rescale(entry_, remembered_, now);
    remembered_ = now;
    clPrice_->setText(money(entry_.clientPrice));
    payClerk_->setText(money(entry_.technicianAmount));
}

void TfrmWorkOp::confirmEntry() {
    if (!pInsert_->isVisible())
        return;
    const double coefficient = valueOf(eCoef_);
    if (eCoef_->text().trimmed().isEmpty() || coefficient == 0) {
        eCoef_->setFocus();
        return;
    }
    const QString description = eInsOp_->text().trimmed();
    if (description.isEmpty()) {
        ui::message(this, ui::captionMessage(), QStringLiteral("Въведете описание на труда"),
                    ui::MessageIcon::Warning);
        eInsOp_->setFocus();
        return;
    }
    LabourChoice c;
    c.entry.description = description;
    c.entry.clientPrice = store::roundMoney(valueOf(clPrice_));
    c.entry.technicianAmount = store::roundMoney(valueOf(payClerk_));
    c.entry.hours = wTime_->isVisible() ? valueOf(wTime_) : 0;
    c.entry.coefficient = coefficient;
    if (rb1_->isChecked())
        c.operationId = currentOperationId();
    c.technician = cmbClerks_->currentText();
    choice_ = c;
    setPanel(nullptr);
    orderMode_ = false;
    panButtons_->hide();
    accept();
}

void TfrmWorkOp::closeEntry() {
    setPanel(nullptr);
}
