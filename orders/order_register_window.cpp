#include "orders/order_register_window.h"

#include "orders/order_header_dialog.h"
#include "orders/order_texts.h"
#include "orders/order_type_dialog.h"
#include "shell/business_settings.h"
#include "shell/session.h"
#include "shell/user_settings.h"
#include "store/database.h"
#include "store/list_query.h"
#include "store/money.h"
#include "store/sql_values.h"
#include "ui/grid_export.h"
#include "ui/grid_printer.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "ui/optional_date_edit.h"
#include "ui/row_list.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSplitter>
#include <QSqlError>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

using namespace orders;

namespace {

const QString kLayoutKey = QStringLiteral("SprPor/grid");

// The list as the grid shows it: flags as flags, dates as dates, amounts as numbers.
class RegisterModel : public QSqlQueryModel {
public:
    using QSqlQueryModel::QSqlQueryModel;

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::TextAlignmentRole && isAmount(index.column()))
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        const QVariant raw = QSqlQueryModel::data(index, role);
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return raw;
        switch (index.column()) {
        case ColPayed:
        case ColReady:
        case ColExternal:
            return store::boolFromDb(raw);
        case ColPorDate:
        case ColReadyDate:
        case ColPayDate:
        case ColEndDate: {
            const QDate date = store::dateFromDb(raw);
            return date.isValid() ? QVariant(date) : QVariant();
        }
        case ColIdPor:
            return raw.toLongLong();
        default:
            if (isAmount(index.column()))
                return raw.isNull() ? QVariant() : QVariant(raw.toDouble());
            return raw;
        }
    }

    static bool isAmount(int column) {
        return (column >= ColTaksa && column <= ColSumAll) || column == ColPech;
    }
};

QAction* action(QObject* parent, const char* name, const QString& text) {
    auto* a = new QAction(text, parent);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

bool isWithin(const QWidget* widget, const QWidget* container) {
    return widget && (widget == container || container->isAncestorOf(widget));
}

void enableAll(const QList<QAction*>& actions, bool enabled) {
    for (QAction* a : actions)
        a->setEnabled(enabled);
}

// Columns the grid shows only on request, and those it never shows.
bool hiddenByDefault(int column) {
    return column >= ColTypePor && column < ColCodeGet;
}
bool neverShown(int column) {
    return column >= ColCodeGet;
}

} // namespace

TfrmSprPor::TfrmSprPor(store::Database& db, const shell::Session& session,
                       const shell::BusinessSettings& settings, QWidget* parent)
    : QDialog(parent), db_(db), session_(session), settings_(settings),
      seesProfit_(session.holdsRight(store::Right::Profit)) {
    setObjectName(QStringLiteral("TfrmSprPor"));
    setWindowTitle(QStringLiteral("Справка за поръчките"));
    setSizeGripEnabled(true);

    pFilt_ = new QWidget(this);
    pFilt_->setObjectName(QStringLiteral("pFilt"));
    buildCriteria();
    buildReports();
    auto* filtLayout = new QHBoxLayout(pFilt_);
    filtLayout->setContentsMargins(0, 0, 0, 0);
    filtLayout->addWidget(criteria_, 3);
    filtLayout->addWidget(reports_, 2);

    buildList();
    buildCommands();

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(findChild<QMenuBar*>(QStringLiteral("menu")));
    auto* commands = new QHBoxLayout;
    for (QPushButton* b :
         {btnFilt_, btnOtchet_, btnParts_, btnPay_, btnEditPor_, btnRestore_, prnPor_, prnGrid_})
        commands->addWidget(b);
    commands->addStretch();
    layout->addLayout(commands);
    layout->addWidget(pFilt_);
    layout->addWidget(lbFilter_);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    auto* listBox = new QWidget(splitter);
    auto* listLayout = new QVBoxLayout(listBox);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(grid_);
    listLayout->addWidget(lbTotals_);
    splitter->addWidget(listBox);
    splitter->addWidget(pInfo_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);

    resize(985, 695);
    if (QGuiApplication::primaryScreen() && QGuiApplication::primaryScreen()->size().width() <= 800)
        setWindowState(Qt::WindowMaximized);
}

void TfrmSprPor::buildCriteria() {
    criteria_ = new QGroupBox(QStringLiteral("Търсене по критерии"), pFilt_);
    ePorNo_ = ui::namedEdit(criteria_, "ePorNo");
    ePorNo_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), ePorNo_));
    eNames_ = ui::namedEdit(criteria_, "eNames");
    eAdres_ = ui::namedEdit(criteria_, "eAdres");
    ePhone_ = ui::namedEdit(criteria_, "ePhone");
    eMarka_ = new QComboBox(criteria_);
    eMarka_->setObjectName(QStringLiteral("eMarka"));
    eModel_ = ui::namedEdit(criteria_, "eModel");
    eRegNo_ = ui::namedEdit(criteria_, "eRegNo");
    eClerk_ = new QComboBox(criteria_);
    eClerk_->setObjectName(QStringLiteral("eClerk"));
    eCouppe_ = ui::namedEdit(criteria_, "eCouppe");
    eEngine_ = ui::namedEdit(criteria_, "eEngine");
    fdate1_ = new ui::OptionalDateEdit(criteria_);
    fdate1_->setObjectName(QStringLiteral("fdate1"));
    fdate2_ = new ui::OptionalDateEdit(criteria_);
    fdate2_->setObjectName(QStringLiteral("fdate2"));
    auto* search = ui::namedPlainButton(criteria_, "BitBtn2", QStringLiteral("Търсене"));
    connect(search, &QPushButton::clicked, this, &TfrmSprPor::search);
    connect(ePorNo_, &QLineEdit::textChanged, this, &TfrmSprPor::porNoEdited);
    connect(fdate1_, &QDateEdit::dateChanged, this,
            [this] { keepPeriod(fdate1_, fdate1_, fdate2_); });
    connect(fdate2_, &QDateEdit::dateChanged, this,
            [this] { keepPeriod(fdate2_, fdate1_, fdate2_); });

    auto* grid = new QGridLayout(criteria_);
    const std::pair<const char*, QWidget*> left[] = {
        {"Поръчка №:", ePorNo_}, {"Клиент:", eNames_}, {"Адрес:", eAdres_},
        {"Телефон:", ePhone_},   {"Техник:", eClerk_}, {"Приета от:", fdate1_}};
    const std::pair<const char*, QWidget*> right[] = {
        {"Марка:", eMarka_},       {"Модел:", eModel_},           {"Рег. номер:", eRegNo_},
        {"No на шаси:", eCouppe_}, {"No на двигател:", eEngine_}, {"до:", fdate2_}};
    for (int i = 0; i < 6; ++i) {
        grid->addWidget(new QLabel(QString::fromUtf8(left[i].first), criteria_), i, 0);
        grid->addWidget(left[i].second, i, 1);
        grid->addWidget(new QLabel(QString::fromUtf8(right[i].first), criteria_), i, 2);
        grid->addWidget(right[i].second, i, 3);
    }
    grid->addWidget(search, 6, 3, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
}

void TfrmSprPor::buildReports() {
    reports_ = new QGroupBox(QStringLiteral("Справки"), pFilt_);
    const std::pair<const char*, const char*> buttons[] = {
        {"rb1", "Неотчетени (неизпълнени) ремонти"}, {"rb6", "Неотчетени с изтекъл срок"},
        {"rb2", "Готови, но непредадени"},           {"rb3", "Приети за периода"},
        {"rb4", "Извършени ремонти за периода"},     {"rb5", "Платени ремонти за периода"}};
    auto* layout = new QVBoxLayout(reports_);
    for (const auto& [name, text] : buttons) {
        auto* rb = new QRadioButton(QString::fromUtf8(text), reports_);
        rb->setObjectName(QString::fromLatin1(name));
        connect(rb, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                reportChosen();
        });
        reportButtons_ << rb;
        layout->addWidget(rb);
    }
    date1_ = new ui::OptionalDateEdit(reports_);
    date1_->setObjectName(QStringLiteral("date1"));
    date2_ = new ui::OptionalDateEdit(reports_);
    date2_->setObjectName(QStringLiteral("date2"));
    connect(date1_, &QDateEdit::dateChanged, this, [this] { keepPeriod(date1_, date1_, date2_); });
    connect(date2_, &QDateEdit::dateChanged, this, [this] { keepPeriod(date2_, date1_, date2_); });
    auto* period = new QHBoxLayout;
    period->addWidget(new QLabel(QStringLiteral("от"), reports_));
    period->addWidget(date1_, 1);
    period->addWidget(new QLabel(QStringLiteral("до"), reports_));
    period->addWidget(date2_, 1);
    layout->addLayout(period);
    auto* run = ui::namedPlainButton(reports_, "BitBtn1", QStringLiteral("Справка"));
    connect(run, &QPushButton::clicked, this, &TfrmSprPor::runReport);
    layout->addWidget(run, 0, Qt::AlignRight);
}

void TfrmSprPor::buildList() {
    lbFilter_ = new QLabel(this);
    lbFilter_->setObjectName(QStringLiteral("lbFilter"));
    QFont bold = lbFilter_->font();
    bold.setBold(true);
    lbFilter_->setFont(bold);
    lbFilter_->setWordWrap(true);

    model_ = new RegisterModel(this);
    grid_ = ui::rowList(this, "grid", model_);
    grid_->setAlternatingRowColors(true);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    grid_->horizontalHeader()->setSectionsMovable(true);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(grid_->viewport()->mapToGlobal(at)); });

    // Shown in the middle of the window while a search of years of orders runs.
    pMess_ = new QLabel(QStringLiteral("Търсене, моля изчакайте ..."), this);
    pMess_->setObjectName(QStringLiteral("pMess"));
    pMess_->setFrameShape(QFrame::Panel);
    pMess_->setFrameShadow(QFrame::Raised);
    pMess_->setAutoFillBackground(true);
    pMess_->setAlignment(Qt::AlignCenter);
    pMess_->setMargin(16);
    pMess_->hide();

    lbTotals_ = new QLabel(this);
    lbTotals_->setObjectName(QStringLiteral("lbTotals"));
    lbTotals_->setVisible(seesProfit_);

    pInfo_ = new QWidget(this);
    pInfo_->setObjectName(QStringLiteral("pInfo"));
    partsModel_ = new QSqlQueryModel(this);
    labourModel_ = new QSqlQueryModel(this);
    dxDBGrid2_ = ui::rowList(pInfo_, "dxDBGrid2", partsModel_);
    grTrud_ = ui::rowList(pInfo_, "grTrud", labourModel_);
    memoNote_ = ui::namedEdit(pInfo_, "memoNote");
    connect(memoNote_, &QLineEdit::editingFinished, this, &TfrmSprPor::saveNote);
    auto* infoLayout = new QGridLayout(pInfo_);
    infoLayout->setContentsMargins(0, 0, 0, 0);
    infoLayout->addWidget(new QLabel(QStringLiteral("Части"), pInfo_), 0, 0);
    infoLayout->addWidget(new QLabel(QStringLiteral("Труд"), pInfo_), 0, 1);
    infoLayout->addWidget(dxDBGrid2_, 1, 0);
    infoLayout->addWidget(grTrud_, 1, 1);
    auto* note = new QHBoxLayout;
    note->addWidget(new QLabel(QStringLiteral("Бележка:"), pInfo_));
    note->addWidget(memoNote_, 1);
    infoLayout->addLayout(note, 2, 0, 1, 2);
    pInfo_->hide();
}

void TfrmSprPor::buildCommands() {
    btnFilt_ = ui::namedPlainButton(this, "btnFilt", QStringLiteral("Критерии"));
    connect(btnFilt_, &QPushButton::clicked, this,
            [this] { pFilt_->setVisible(!pFilt_->isVisible()); });
    btnOtchet_ = ui::namedPlainButton(this, "btnOtchet", QStringLiteral("Отчет"));
    btnParts_ = ui::namedPlainButton(this, "btnParts", QStringLiteral("Части"));
    btnPay_ = ui::namedPlainButton(this, "btnPay", QStringLiteral("Плащане"));
    btnEditPor_ = ui::namedPlainButton(this, "btnEditPor", QStringLiteral("Редакция"));
    btnRestore_ = ui::namedPlainButton(this, "btnRestore", QStringLiteral("Връщане в работа"));
    prnPor_ = ui::namedPlainButton(this, "prnPor", QStringLiteral("Сервизна поръчка"));
    prnGrid_ = ui::namedPlainButton(this, "prnGrid", QStringLiteral("Печат"));
    connect(btnOtchet_, &QPushButton::clicked, this, &TfrmSprPor::showReport);
    connect(btnParts_, &QPushButton::clicked, this, &TfrmSprPor::showParts);
    connect(btnPay_, &QPushButton::clicked, this, &TfrmSprPor::showPayment);
    connect(btnEditPor_, &QPushButton::clicked, this, &TfrmSprPor::editHeader);
    connect(btnRestore_, &QPushButton::clicked, this, &TfrmSprPor::restoreOrder);
    connect(prnPor_, &QPushButton::clicked, this, &TfrmSprPor::printServiceOrder);
    connect(prnGrid_, &QPushButton::clicked, this, &TfrmSprPor::printList);

    auto* menu = new QMenuBar(this);
    menu->setObjectName(QStringLiteral("menu"));
    QMenu* order = menu->addMenu(QStringLiteral("Поръчка"));
    QMenu* list = menu->addMenu(QStringLiteral("Списък"));
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("popup"));

    auto add = [this](QMenu* into, const char* name, const QString& text, auto slot) {
        QAction* a = action(this, name, text);
        connect(a, &QAction::triggered, this, slot);
        into->addAction(a);
        return a;
    };
    reportActions_ = {add(order, "mnOtchet", QStringLiteral("Отчет"), &TfrmSprPor::showReport),
                      add(popup_, "popOtchet", QStringLiteral("Отчет"), &TfrmSprPor::showReport)};
    partsActions_ = {add(order, "mnParts", QStringLiteral("Части"), &TfrmSprPor::showParts),
                     add(popup_, "popParts", QStringLiteral("Части"), &TfrmSprPor::showParts)};
    payActions_ = {add(order, "mnPay", QStringLiteral("Плащане"), &TfrmSprPor::showPayment),
                   add(popup_, "popPay", QStringLiteral("Плащане"), &TfrmSprPor::showPayment)};
    order->addSeparator();
    popup_->addSeparator();
    prnPorActions_ = {add(popup_, "popPrnPor", QStringLiteral("Печат на сервизна поръчка"),
                          &TfrmSprPor::printServiceOrder)};
    popPrnCard_ = add(popup_, "popPrnCard", QStringLiteral("Печат на ремонтна карта"),
                      &TfrmSprPor::printRepairCard);
    mnChngType_ = add(order, "mnChngType", QStringLiteral("Смяна на типа на ремонта"),
                      &TfrmSprPor::changeType);
    mnWaitPart_ =
        add(order, "mnWaitPart", QStringLiteral("Чака за части"), &TfrmSprPor::waitForParts);
    mnNotReady_ =
        add(order, "mnNotReady", QStringLiteral("Връщане в работа"), &TfrmSprPor::restoreOrder);
    order->addSeparator();
    mnInfo_ =
        add(order, "mnInfo", QStringLiteral("Части и труд на поръчката"), &TfrmSprPor::toggleInfo);
    mnInfo_->setCheckable(true);
    popup_->addSeparator();
    listActions_ = {
        add(list, "mnPrnGrid", QStringLiteral("Печат на списъка"), &TfrmSprPor::printList),
        add(popup_, "popPrnGrid", QStringLiteral("Печат на списъка"), &TfrmSprPor::printList),
        add(popup_, "popExcel", QStringLiteral("Експорт към Excel"), &TfrmSprPor::exportList),
        add(list, "grBestFit", QStringLiteral("Ширина на колоните"),
            [this] { grid_->resizeColumnsToContents(); })};
    list->addSeparator();
    add(list, "TBItem1", QStringLiteral("Запазване на изгледа"), &TfrmSprPor::saveLayout);
    columnMenu_ = list->addMenu(QStringLiteral("Колони"));
    columnMenu_->menuAction()->setObjectName(QStringLiteral("TBItem11"));
    connect(columnMenu_, &QMenu::aboutToShow, this, &TfrmSprPor::fillColumnMenu);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        updateCommands();
        updateInfo();
    });
}

void TfrmSprPor::setReportCommand(OrderCommand command) {
    report_ = std::move(command);
    updateCommands();
}
void TfrmSprPor::setPartsCommand(OrderCommand command) {
    parts_ = std::move(command);
    updateCommands();
}
void TfrmSprPor::setPaymentCommand(OrderCommand command) {
    payment_ = std::move(command);
    updateCommands();
}
void TfrmSprPor::setPrintServiceOrder(OrderCommand command) {
    printServiceOrder_ = std::move(command);
    updateCommands();
}
void TfrmSprPor::setPrintRepairCard(OrderCommand command) {
    printRepairCard_ = std::move(command);
    updateCommands();
}

void TfrmSprPor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    resetForShowing();
    if (!pendingRegNo_.isEmpty()) {
        eRegNo_->setText(pendingRegNo_);
        pendingRegNo_.clear();
        search();
    }
}

void TfrmSprPor::resetForShowing() {
    const bool external = settings_.storeMode(db_) == 2;
    partsModel_->setProperty("external", external);
    const QDate today = QDate::currentDate();
    date1_->setMaximumDate(today);
    date2_->setMaximumDate(today);
    fdate1_->setMaximumDate(today);
    fdate2_->setMaximumDate(today);
    date1_->setValue(QDate(today.year(), today.month(), 1));
    date2_->setValue(today);
    try {
        eMarka_->clear();
        eMarka_->addItems(brandChoices(db_));
        eClerk_->clear();
        eClerk_->addItems(technicianChoices(db_));
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
    for (QLineEdit* e : {ePorNo_, eNames_, eAdres_, ePhone_, eModel_, eRegNo_, eCouppe_, eEngine_})
        e->clear();
    fdate1_->clearValue();
    fdate2_->clearValue();
    eMarka_->setCurrentIndex(0);
    eClerk_->setCurrentIndex(0);
    reportButtons_.first()->setChecked(true);
    reportChosen();
    pInfo_->hide();
    mnInfo_->setChecked(false);
    pFilt_->show();
    restoreLayout();
    updateCommands();
}

void TfrmSprPor::porNoEdited(const QString& text) {
    // An order number is a selection of its own.
    const bool free = text.trimmed().isEmpty();
    for (QLineEdit* e : {eNames_, eAdres_, ePhone_, eModel_, eRegNo_, eCouppe_, eEngine_}) {
        if (!free)
            e->clear();
        e->setEnabled(free);
    }
    for (QComboBox* c : {eMarka_, eClerk_}) {
        if (!free)
            c->setCurrentIndex(0);
        c->setEnabled(free);
    }
    for (ui::OptionalDateEdit* d : {fdate1_, fdate2_}) {
        if (!free)
            d->clearValue();
        d->setEnabled(free);
    }
}

void TfrmSprPor::reportChosen() {
    const int chosen = int(std::find_if(reportButtons_.begin(), reportButtons_.end(),
                                        [](QRadioButton* b) { return b->isChecked(); }) -
                           reportButtons_.begin());
    const bool period = chosen >= 3;
    date1_->setEnabled(period);
    date2_->setEnabled(period);
}

void TfrmSprPor::keepPeriod(ui::OptionalDateEdit* edited, ui::OptionalDateEdit* from,
                            ui::OptionalDateEdit* to) {
    const auto a = from->value();
    const auto b = to->value();
    if (!a || !b || *a <= *b)
        return;
    // The edited date takes the other one's value.
    QSignalBlocker block(edited);
    edited->setValue(edited == from ? *b : *a);
}

void TfrmSprPor::search() {
    RegisterCriteria c;
    c.porNo = ePorNo_->text();
    c.names = eNames_->text();
    c.adres = eAdres_->text();
    c.phone = ePhone_->text();
    c.marka = eMarka_->currentIndex() > 0 ? eMarka_->currentText() : QString();
    c.model = eModel_->text();
    c.regNo = eRegNo_->text();
    c.clerk = eClerk_->currentIndex() > 0 ? eClerk_->currentText() : QString();
    c.couppe = eCouppe_->text();
    c.engine = eEngine_->text();
    c.from = fdate1_->value();
    c.to = fdate2_->value();
    std::optional<Selection> selection;
    try {
        selection = criteriaSelection(db_, c);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
        return;
    }
    if (!selection) {
        ui::message(this, ui::captionMessage(),
                    QStringLiteral("Не сте задали критерий за търсене!"), ui::MessageIcon::Warning);
        return;
    }
    run(*selection);
}

void TfrmSprPor::runReport() {
    static const FixedReport reports[] = {FixedReport::Unfinished,        FixedReport::Overdue,
                                          FixedReport::ReadyNotCollected, FixedReport::Received,
                                          FixedReport::Repaired,          FixedReport::Paid};
    const auto checked = std::find_if(reportButtons_.begin(), reportButtons_.end(),
                                      [](QRadioButton* b) { return b->isChecked(); });
    if (checked == reportButtons_.end())
        return;
    const FixedReport report = reports[checked - reportButtons_.begin()];
    const Selection selection =
        fixedReportSelection(report, date1_->value(), date2_->value(), QDate::currentDate());
    if (selection.condition.isEmpty() &&
        !ui::ask(this,
                 QStringLiteral("Не сте задали дати за търсене - ще бъдат показани\nвсички "
                                "ремонти от началото на ползване на програмата\n\nЖелаете ли "
                                "да продължите?"),
                 ui::captionMessage()))
        return;
    run(selection);
}

void TfrmSprPor::run(const Selection& selection) {
    pFilt_->hide();
    lbFilter_->setText(selection.text);
    selection_ = selection;
    reload(std::nullopt);
    if (model_->rowCount() == 0) {
        ui::message(this, ui::captionMessage(),
                    QStringLiteral("Няма намерени данни по зададените критерии!"),
                    ui::MessageIcon::Warning);
        updateCommands();
        return;
    }
    grid_->resizeColumnsToContents();
    grid_->setFocus();
}

void TfrmSprPor::reload(std::optional<qint64> keep) {
    if (!selection_)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setEnabled(false);
    pMess_->adjustSize();
    pMess_->move((width() - pMess_->width()) / 2, (height() - pMess_->height()) / 2);
    pMess_->show();
    pMess_->raise();
    pMess_->repaint();
    std::optional<QString> failure;
    try {
        ui::showRows(*model_, store::listQuery(db_, registerQuery(*selection_), selection_->binds),
                     registerHeaders());
    } catch (const store::DbError& e) {
        model_->clear();
        ui::setHeaders(*model_, registerHeaders());
        failure = e.message();
    }
    applyFixedColumns();
    pMess_->hide();
    setEnabled(true);
    QApplication::restoreOverrideCursor();
    if (failure) {
        ui::error(this, *failure);
        updateCommands();
        return;
    }
    if (!keep || !selectOrder(*keep)) {
        if (model_->rowCount() > 0)
            grid_->setCurrentIndex(model_->index(0, 0));
    }
    updateTotals();
    updateCommands();
    updateInfo();
}

bool TfrmSprPor::selectOrder(qint64 idPor) {
    return ui::selectRowWithId(grid_, ColIdPor, idPor);
}

void TfrmSprPor::applyFixedColumns() {
    for (int c = 0; c < ColumnCount; ++c) {
        if (neverShown(c) || (c == ColPech && !seesProfit_))
            grid_->setColumnHidden(c, true);
    }
}

void TfrmSprPor::updateTotals() {
    if (!seesProfit_ || !selection_)
        return;
    try {
        const RegisterTotals t = registerTotals(db_, *selection_);
        lbTotals_->setText(QStringLiteral("Общо: такса %1; труд %2; части %3; сума %4; печалба %5")
                               .arg(store::formatMoney(t.taksa), store::formatMoney(t.sumTrud),
                                    store::formatMoney(t.sumParts), store::formatMoney(t.sumAll),
                                    store::formatMoney(t.pech)));
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
}

QVariant TfrmSprPor::currentValue(int column) const {
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return {};
    return model_->index(current.row(), column).data();
}

std::optional<qint64> TfrmSprPor::currentOrder() const {
    const QVariant id = currentValue(ColIdPor);
    if (!id.isValid() || id.isNull())
        return std::nullopt;
    return id.toLongLong();
}

QString TfrmSprPor::filterText() const {
    return lbFilter_->text();
}

int TfrmSprPor::listedRows() const {
    return model_->rowCount();
}

void TfrmSprPor::updateCommands() {
    const bool any = model_->rowCount() > 0;
    const bool has = any && currentOrder().has_value();
    const bool ready = has && currentValue(ColReady).toBool();
    const bool payed = has && currentValue(ColPayed).toBool();
    const bool notReady = has && !ready;
    const bool readyNotPaid = has && ready && !payed;
    btnOtchet_->setEnabled(notReady && bool(report_));
    enableAll(reportActions_, notReady && bool(report_));
    btnParts_->setEnabled(notReady && bool(parts_));
    enableAll(partsActions_, notReady && bool(parts_));
    btnPay_->setEnabled(readyNotPaid && bool(payment_));
    enableAll(payActions_, readyNotPaid && bool(payment_));
    prnPor_->setEnabled(notReady && bool(printServiceOrder_));
    enableAll(prnPorActions_, notReady && bool(printServiceOrder_));
    popPrnCard_->setEnabled(ready && bool(printRepairCard_));
    btnEditPor_->setEnabled(has);
    mnChngType_->setEnabled(notReady);
    mnWaitPart_->setEnabled(has && currentValue(ColPorState).toInt() == kStateRegistered);
    btnRestore_->setEnabled(readyNotPaid);
    mnNotReady_->setEnabled(readyNotPaid);
    prnGrid_->setEnabled(any);
    enableAll(listActions_, any);
    mnInfo_->setEnabled(any);
    const QString kind = currentValue(ColCodeGet).toString();
    memoNote_->setReadOnly(
        !(notReady && kind != QLatin1String("PRO") && kind != QLatin1String("MON")));
}

void TfrmSprPor::updateInfo() {
    const auto id = currentOrder();
    memoNote_->setText(id ? currentValue(ColNote).toString() : QString());
    if (!pInfo_->isVisible() || !id) {
        partsModel_->clear();
        labourModel_->clear();
        return;
    }
    const bool external = partsModel_->property("external").toBool();
    const QString first = external ? QStringLiteral("l.microBase, l.microPart")
                                   : QStringLiteral("typeParts.Type, parts.Part");
    auto load = [this, id](QSqlQueryModel* model, const QString& sql, const QStringList& headers) {
        try {
            ui::showRows(*model, store::listQuery(db_, sql, {{QStringLiteral("id"), *id}}),
                         headers);
        } catch (const store::DbError& e) {
            model->clear();
            ui::error(this, e.message());
        }
    };
    load(partsModel_,
         QStringLiteral("SELECT ") + first +
             QStringLiteral(", parts.PartNo, l.amnt, l.priceLV, l.serial FROM PartsInPor l "
                            "LEFT JOIN parts ON parts.id = l.idPart LEFT JOIN typeParts ON "
                            "typeParts.id = parts.TypeID WHERE l.idPor = :id ORDER BY l.id"),
         {external ? QStringLiteral("База данни") : QStringLiteral("Тип"),
          external ? QStringLiteral("Код на стока") : QStringLiteral("Означение"),
          QStringLiteral("Кат. номер"), QStringLiteral("Количество"), QStringLiteral("Цена"),
          QStringLiteral("Сериен номер")});
    load(labourModel_,
         QStringLiteral("SELECT j.Trud, j.Pr1, clerks.Name FROM Jobs_In_Por j LEFT JOIN clerks "
                        "ON clerks.id = j.idClerk WHERE j.idPor = :id ORDER BY j.id"),
         {QStringLiteral("Операция"), QStringLiteral("Цена"), QStringLiteral("Техник")});
    dxDBGrid2_->resizeColumnsToContents();
    grTrud_->resizeColumnsToContents();
}

void TfrmSprPor::toggleInfo() {
    pInfo_->setVisible(!pInfo_->isVisible());
    mnInfo_->setChecked(pInfo_->isVisible());
    updateInfo();
}

void TfrmSprPor::saveNote() {
    const auto id = currentOrder();
    if (!id || memoNote_->isReadOnly() || memoNote_->text() == currentValue(ColNote).toString())
        return;
    try {
        db_.exec(QStringLiteral("UPDATE porychka SET por_note = :n WHERE idPor = :id"),
                 {{"n", memoNote_->text()}, {"id", *id}});
        reload(*id);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
}

void TfrmSprPor::runOrderCommand(const OrderCommand& command) {
    const auto id = currentOrder();
    if (!command || !id)
        return;
    command(*id);
    // The command may have changed the order: show it as it is now.
    reload(*id);
}

void TfrmSprPor::showReport() {
    if (btnOtchet_->isEnabled())
        runOrderCommand(report_);
}

void TfrmSprPor::showParts() {
    if (btnParts_->isEnabled())
        runOrderCommand(parts_);
}

void TfrmSprPor::showPayment() {
    if (btnPay_->isEnabled())
        runOrderCommand(payment_);
}

void TfrmSprPor::printServiceOrder() {
    if (!currentOrder())
        return;
    if (currentValue(ColReady).toBool()) {
        ui::message(this, ui::captionMessage(),
                    QStringLiteral("Не можете да отпечатате сервизна карта\nза поръчка, която "
                                   "вече е отчетена"),
                    ui::MessageIcon::Warning);
        return;
    }
    runOrderCommand(printServiceOrder_);
}

void TfrmSprPor::printRepairCard() {
    if (currentValue(ColReady).toBool())
        runOrderCommand(printRepairCard_);
}

void TfrmSprPor::editHeader() {
    const auto id = currentOrder();
    if (!id)
        return;
    TfrmEditPor dialog(db_, currentValue(ColClientName).toString(),
                       currentValue(ColRegNo).toString(), currentValue(ColCouppe).toString(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    try {
        editOrderHeader(db_, *id, dialog.clientName(), dialog.couppe(), dialog.regNo());
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
    reload(*id);
}

void TfrmSprPor::changeType() {
    const auto id = currentOrder();
    if (!id || currentValue(ColReady).toBool())
        return;
    try {
        if (orderHasWork(db_, *id)) {
            ui::message(this, ui::captionMessage(),
                        QStringLiteral("Не можете да смените типа на ремонта, ако имат въведени "
                                       "труд или части!\nЗа целта изберете \"Отчет\" и изтрийте "
                                       "всички вложени части и сервизни операции по "
                                       "поръчката!\nСлед това излезте от там, като натиснете "
                                       "бутона \"Изход\". След това можете да смените типа на "
                                       "ремонта"),
                        ui::MessageIcon::Warning);
            return;
        }
        TfrmChangeTypePor dialog(currentValue(ColTypeWarr).toInt(), this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        changeOrderType(db_, *id, dialog.selectedType());
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
    reload(*id);
}

void TfrmSprPor::waitForParts() {
    const auto id = currentOrder();
    if (!id || !mnWaitPart_->isEnabled())
        return;
    try {
        setWaitingForParts(db_, *id);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
    reload(*id);
}

void TfrmSprPor::restoreOrder() {
    const auto id = currentOrder();
    if (!id || !btnRestore_->isEnabled())
        return;
    try {
        restoreToWork(db_, *id);
    } catch (const OrderStateRefused& e) {
        // Paid, restored or paid out meanwhile: say why, then show the order as it is now.
        ui::message(this, ui::captionMessage(), e.message(), ui::MessageIcon::Warning);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
    reload(*id);
}

void TfrmSprPor::printList() {
    if (model_->rowCount() == 0)
        return;
    ui::PrintHeader header;
    header.title = lbFilter_->text();
    // The printout carries the totals the window shows, to those who may see them.
    if (seesProfit_ && !lbTotals_->text().isEmpty())
        header.totals = {lbTotals_->text()};
    ui::printGrid(this, *grid_, header);
}

void TfrmSprPor::exportList() {
    if (model_->rowCount() == 0)
        return;
    ui::exportGrid(this, *grid_, ui::ExportOptions{QStringLiteral("spr_porychki.xls")});
}

void TfrmSprPor::saveLayout() {
    shell::userSettings().setValue(kLayoutKey, grid_->horizontalHeader()->saveState());
}

void TfrmSprPor::restoreLayout() {
    // The columns must exist before a saved state can be laid over them.
    if (model_->columnCount() == 0) {
        try {
            ui::showRows(*model_,
                         store::listQuery(db_, registerQuery({QStringLiteral("1 = 0"), {}, {}})),
                         registerHeaders());
        } catch (const store::DbError&) {
            // Without columns the saved layout simply does not apply.
        }
    }
    const QByteArray state = shell::userSettings().value(kLayoutKey).toByteArray();
    if (state.isEmpty() || !grid_->horizontalHeader()->restoreState(state)) {
        for (int c = 0; c < ColumnCount; ++c)
            grid_->setColumnHidden(c, hiddenByDefault(c));
    }
    applyFixedColumns();
}

void TfrmSprPor::fillColumnMenu() {
    columnMenu_->clear();
    const QStringList headers = registerHeaders();
    for (int c = 0; c < ColumnCount; ++c) {
        if (neverShown(c) || (c == ColPech && !seesProfit_))
            continue;
        QAction* a = columnMenu_->addAction(headers[c]);
        a->setCheckable(true);
        a->setChecked(!grid_->isColumnHidden(c));
        connect(a, &QAction::toggled, this, [this, c](bool on) { grid_->setColumnHidden(c, !on); });
    }
}

void TfrmSprPor::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter runs what the focused panel is for.
        QWidget* focus = QApplication::focusWidget();
        if (isWithin(focus, criteria_)) {
            search();
            return;
        }
        if (isWithin(focus, reports_)) {
            runReport();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}
