#include "staff/employees_window.h"

#include "staff/employee_dialog.h"
#include "staff/employees.h"
#include "store/database.h"
#include "store/money.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "ui/row_list.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kIdRole = Qt::UserRole;
const QString kChangeCaption = QStringLiteral("Промяна");

QLineEdit* numberEdit(QWidget* parent, const char* name, const QString& pattern) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    edit->setAlignment(Qt::AlignRight);
    edit->setMaximumWidth(100);
    return edit;
}

QString ratesQuestion() {
    return QStringLiteral("Разценките за труд на всички техници ще бъдат заменени!\nЖелаете ли "
                          "да продължите?");
}

QString percentQuestion() {
    return QStringLiteral("Личните проценти на всички техници ще бъдат заменени!\nЖелаете ли да "
                          "продължите?");
}

} // namespace

TsrClerks::TsrClerks(store::Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("TsrClerks"));
    setWindowTitle(QStringLiteral("Служители"));
    buildList();
    buildRatePanel();
    reload();
    if (grNames_->topLevelItemCount() > 0) {
        grNames_->setCurrentItem(grNames_->topLevelItem(0));
        grNames_->setFocus();
    } else {
        brnIns_->setFocus();
    }
    resize(860, 480);
    bestFit();
}

void TsrClerks::buildList() {
    buttonPanel_ = new QWidget(this);
    buttonPanel_->setObjectName(QStringLiteral("pnlButtons"));
    brnIns_ = ui::namedPlainButton(buttonPanel_, "brnIns", QStringLiteral("Нов служител"));
    auto* btnEdit = ui::namedPlainButton(buttonPanel_, "btnEdit", QStringLiteral("Редакция"));
    auto* btnBestFit =
        ui::namedPlainButton(buttonPanel_, "btnBestFit", QStringLiteral("Ширина на колоните"));
    auto* bitBtn1 =
        ui::namedPlainButton(buttonPanel_, "BitBtn1", QStringLiteral("Разценки на техниците"));
    auto* btnExit = ui::namedPlainButton(buttonPanel_, "btnExit", QStringLiteral("Изход"));
    chkInfo_ = new QCheckBox(QStringLiteral("Бележки под реда"), buttonPanel_);
    chkInfo_->setObjectName(QStringLiteral("chkInfo"));
    connect(brnIns_, &QPushButton::clicked, this, &TsrClerks::newEmployee);
    connect(btnEdit, &QPushButton::clicked, this, &TsrClerks::editEmployee);
    connect(btnBestFit, &QPushButton::clicked, this, &TsrClerks::bestFit);
    connect(bitBtn1, &QPushButton::clicked, this, &TsrClerks::openRatePanel);
    connect(btnExit, &QPushButton::clicked, this, &TsrClerks::reject);
    connect(chkInfo_, &QCheckBox::toggled, this, [this] {
        reload();
        bestFit();
    });
    auto* buttons = new QHBoxLayout(buttonPanel_);
    buttons->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w :
         std::initializer_list<QWidget*>{brnIns_, btnEdit, btnBestFit, chkInfo_, bitBtn1})
        buttons->addWidget(w);
    buttons->addStretch();
    buttons->addWidget(btnExit);

    listPanel_ = new QWidget(this);
    listPanel_->setObjectName(QStringLiteral("pnlList"));
    grNames_ = new QTreeWidget(listPanel_);
    grNames_->setObjectName(QStringLiteral("grNames"));
    grNames_->setColumnCount(ColumnCount);
    grNames_->setHeaderLabels({QStringLiteral("Име"), QStringLiteral("Заплата"),
                               QStringLiteral("Вид"), QStringLiteral("Статус"),
                               QStringLiteral("Норма час"), QStringLiteral("Норма час гаранция"),
                               QStringLiteral("Процент")});
    grNames_->header()->setStretchLastSection(false);
    grNames_->setRootIsDecorated(false);
    grNames_->setItemsExpandable(false);
    grNames_->setAlternatingRowColors(true);
    ui::prepareRowList(grNames_);
    connect(grNames_, &QTreeWidget::itemDoubleClicked, this, &TsrClerks::editEmployee);
    auto* listLayout = new QVBoxLayout(listPanel_);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(grNames_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buttonPanel_);
    layout->addWidget(listPanel_, 1);
}

void TsrClerks::buildRatePanel() {
    p1_ = new QFrame(this);
    p1_->setObjectName(QStringLiteral("p1"));
    p1_->setFrameShape(QFrame::Panel);
    p1_->setFrameShadow(QFrame::Raised);
    p1_->setLineWidth(2);
    p1_->setAutoFillBackground(true);
    const QString amount = QStringLiteral("[0-9 ]*([.,][0-9]*)?");
    e1_ = numberEdit(p1_, "e1", amount);
    e2_ = numberEdit(p1_, "e2", amount);
    e3_ = numberEdit(p1_, "e3", QStringLiteral("[0-9]{0,3}"));
    auto* b1 = ui::namedPlainButton(p1_, "b1", QStringLiteral("Замени"));
    auto* b2 = ui::namedPlainButton(p1_, "b2", QStringLiteral("Замени"));
    auto* b3 = ui::namedPlainButton(p1_, "b3", QStringLiteral("Замени"));
    auto* bitBtn5 = ui::namedPlainButton(p1_, "BitBtn5", QStringLiteral("Затвори"));
    connect(b1, &QPushButton::clicked, this, [this] { setRates(0); });
    connect(b2, &QPushButton::clicked, this, [this] { setRates(1); });
    connect(b3, &QPushButton::clicked, this, [this] { setRates(2); });
    connect(bitBtn5, &QPushButton::clicked, this, &TsrClerks::closeRatePanel);

    auto* grid = new QGridLayout;
    const QStringList labels = {QStringLiteral("Норма час, нормален ремонт (лв.):"),
                                QStringLiteral("Норма час, гаранционен ремонт (лв.):"),
                                QStringLiteral("Личен процент на техниците:")};
    const QList<QLineEdit*> edits = {e1_, e2_, e3_};
    const QList<QPushButton*> buttons = {b1, b2, b3};
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(new QLabel(labels[row], p1_), row, 0);
        grid->addWidget(edits[row], row, 1);
        grid->addWidget(buttons[row], row, 2);
    }
    auto* title = new QLabel(QStringLiteral("Обща промяна за всички работещи техници"), p1_);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(bitBtn5);
    auto* layout = new QVBoxLayout(p1_);
    layout->addWidget(title);
    layout->addLayout(grid);
    layout->addLayout(bottom);
    p1_->adjustSize();
    p1_->move(16, 32);
    p1_->hide();
}

void TsrClerks::reload() {
    const std::optional<qint64> keep = currentEmployeeId();
    grNames_->clear();
    QFont previewFont = grNames_->font();
    previewFont.setItalic(true);
    for (const staff::Employee& e : staff::employees(db_)) {
        auto* item = new QTreeWidgetItem(grNames_);
        item->setData(0, kIdRole, e.id);
        item->setText(grNamesName, e.name);
        item->setText(grNamesPay, store::formatMoney(e.pay));
        item->setText(grNamesworker, staff::kindText(e.worker));
        item->setText(grNamesStatus, staff::statusText(e.active));
        item->setText(grNamesH1, store::formatMoney(e.rateNormal));
        item->setText(grNamesH2, store::formatMoney(e.rateWarranty));
        item->setText(grNamesPercent, QString::number(e.percent));
        for (int column : {grNamesPay, grNamesH1, grNamesH2, grNamesPercent})
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        if (chkInfo_->isChecked() && !e.info.trimmed().isEmpty()) {
            // The note as a preview line under the row, across all columns.
            auto* preview = new QTreeWidgetItem(item, {e.info.simplified()});
            preview->setData(0, kIdRole, e.id);
            preview->setFont(0, previewFont);
            preview->setForeground(0, QBrush(Qt::darkBlue));
            preview->setFlags(Qt::ItemIsEnabled);
            preview->setFirstColumnSpanned(true);
        }
    }
    grNames_->expandAll();
    if (keep)
        selectEmployee(*keep);
}

std::optional<qint64> TsrClerks::currentEmployeeId() const {
    const QTreeWidgetItem* item = grNames_->currentItem();
    if (!item)
        return std::nullopt;
    return item->data(0, kIdRole).toLongLong();
}

void TsrClerks::selectEmployee(qint64 id) {
    for (int i = 0; i < grNames_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = grNames_->topLevelItem(i);
        if (item->data(0, kIdRole).toLongLong() == id) {
            grNames_->setCurrentItem(item);
            return;
        }
    }
}

void TsrClerks::bestFit() {
    constexpr int kGap = 14; // so that neighbouring columns do not run together
    for (int column = 0; column < ColumnCount; ++column) {
        grNames_->resizeColumnToContents(column);
        grNames_->setColumnWidth(column, grNames_->columnWidth(column) + kGap);
    }
}

void TsrClerks::newEmployee() {
    editInDialog(std::nullopt);
}

void TsrClerks::editEmployee() {
    if (const std::optional<qint64> id = currentEmployeeId())
        editInDialog(id);
}

void TsrClerks::editInDialog(std::optional<qint64> id) {
    TsrAddClerk dialog(db_, id, this);
    if (dialog.exec() == QDialog::Accepted) {
        reload();
        selectEmployee(dialog.employee().id);
    }
    bestFit();
}

void TsrClerks::openRatePanel() {
    p1_->show();
    p1_->raise();
    listPanel_->setEnabled(false);
    buttonPanel_->setEnabled(false);
    e1_->setFocus();
}

void TsrClerks::closeRatePanel() {
    listPanel_->setEnabled(true);
    buttonPanel_->setEnabled(true);
    p1_->hide();
}

void TsrClerks::setRates(int field) {
    QLineEdit* edit = field == 0 ? e1_ : field == 1 ? e2_ : e3_;
    const std::optional<double> value = store::parseMoney(edit->text());
    if (!value) {
        // An empty field would wipe every technician's rate; it asks for a number first.
        edit->setFocus();
        return;
    }
    if (!ui::ask(this, field == 2 ? percentQuestion() : ratesQuestion(), kChangeCaption))
        return;
    const auto rate = field == 0   ? staff::TechnicianRate::Normal
                      : field == 1 ? staff::TechnicianRate::Warranty
                                   : staff::TechnicianRate::Percent;
    try {
        staff::setRateOfWorkingTechnicians(db_, rate, *value);
    } catch (const store::DbError& error) {
        ui::error(this, error.message());
    }
    reload();
}

void TsrClerks::reject() {
    // The rate panel is closed with its own button first.
    if (!p1_->isHidden())
        return;
    QDialog::reject();
}
