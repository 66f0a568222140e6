#include "staff/employee_dialog.h"

#include "shell/help_window.h"
#include "store/database.h"
#include "store/money.h"
#include "store/rights.h"
#include "ui/message_box.h"

#include <QAction>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>

using staff::Employee;

namespace {

const QString kHelpEmployee = QStringLiteral("Въвеждане_редакция_на_служители");

QLineEdit* numberEdit(QWidget* parent, const char* name, const QString& pattern) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

// Amounts with "." or "," as decimal mark; the pay field has no minus key at all.
const QString kAmount = QStringLiteral("-?[0-9 ]*([.,][0-9]*)?");
const QString kPositiveAmount = QStringLiteral("[0-9 ]*([.,][0-9]*)?");
const QString kWholeNumber = QStringLiteral("-?[0-9]{0,4}");

double amountOf(const QLineEdit* edit) {
    return store::parseMoney(edit->text()).value_or(0.0);
}

Qt::CheckState stateOf(QChar digit) {
    if (digit == QLatin1Char('1'))
        return Qt::Checked;
    if (digit == QLatin1Char('3'))
        return Qt::PartiallyChecked;
    return Qt::Unchecked;
}

QChar digitOf(Qt::CheckState state) {
    switch (state) {
    case Qt::Checked:
        return QLatin1Char('1');
    case Qt::PartiallyChecked:
        return QLatin1Char('3');
    default:
        return QLatin1Char('2');
    }
}

QComboBox* combo(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    return box;
}

} // namespace

TsrAddClerk::TsrAddClerk(store::Database& db, std::optional<qint64> id, QWidget* parent)
    : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("TsrAddClerk"));
    setWindowTitle(QStringLiteral("Въвеждане/редакция на служител"));
    employee_ =
        id ? staff::loadEmployee(db_, *id).value_or(staff::newEmployee()) : staff::newEmployee();
    buildFields();
    showEmployee();
}

void TsrAddClerk::buildFields() {
    eName_ = new QLineEdit(this);
    eName_->setObjectName(QStringLiteral("eName"));
    cmbWorker_ =
        combo(this, "cmbWorker",
              {staff::kindText(staff::kTechnician), staff::kindText(staff::kOtherEmployee)});
    ePay_ = numberEdit(this, "ePay", kPositiveAmount);
    cmbStatus_ = combo(this, "cmbStatus", {staff::statusText(true), staff::statusText(false)});
    eNick_ = new QLineEdit(this);
    eNick_->setObjectName(QStringLiteral("eNick"));
    ePass_ = new QLineEdit(this);
    ePass_->setObjectName(QStringLiteral("ePass"));
    ePass_->setEchoMode(QLineEdit::Password);
    cmbPrefs_ = combo(this, "cmbPrefs",
                      {staff::levelCaption(0), staff::levelCaption(1), staff::levelCaption(2)});
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("dxDBMemo1"));
    memo_->setFixedHeight(70);
    eNorm_ = numberEdit(this, "eNorm", kAmount);
    eWarr_ = numberEdit(this, "eWarr", kAmount);
    eProc_ = numberEdit(this, "eProc", kWholeNumber);

    chkTree_ = new QTreeWidget(this);
    chkTree_->setObjectName(QStringLiteral("chkTree"));
    chkTree_->setHeaderHidden(true);
    chkTree_->setColumnCount(1);
    for (const staff::RightsGroup& group : staff::rightsGroups()) {
        auto* groupNode = new QTreeWidgetItem(chkTree_, {staff::rightCaption(group.position)});
        nodes_.append(groupNode);
        for (int p = group.first; p <= group.last; ++p)
            nodes_.append(new QTreeWidgetItem(groupNode, {staff::rightCaption(p)}));
    }
    // Every position has its box from the start, also beyond a short stored string.
    for (QTreeWidgetItem* node : nodes_) {
        node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        node->setCheckState(0, Qt::Unchecked);
    }
    chkTree_->expandAll();
    // Wide enough for every caption; the tree scrolls only downwards.
    chkTree_->resizeColumnToContents(0);
    chkTree_->setMinimumSize(chkTree_->columnWidth(0) + 40, 560);
    connect(chkTree_, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* item) { nodeChanged(item); });
    connect(cmbPrefs_, &QComboBox::currentIndexChanged, this, [this](int level) {
        if (!showing_)
            levelChosen(level);
    });
    connect(cmbWorker_, &QComboBox::currentIndexChanged, this, &TsrAddClerk::applyKindRule);

    btnRec_ = new QPushButton(QStringLiteral("Запис"), this);
    btnRec_->setObjectName(QStringLiteral("btnRec"));
    btnCancel_ = new QPushButton(QStringLiteral("Отказ"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnRec_->setAutoDefault(false);
    btnCancel_->setAutoDefault(false);
    connect(btnRec_, &QPushButton::clicked, this, &TsrAddClerk::save);
    connect(btnCancel_, &QPushButton::clicked, this, &TsrAddClerk::cancel);

    auto* help = new QAction(this);
    help->setObjectName(QStringLiteral("Action1"));
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this,
            [this] { shell::HelpWindow::showTopic(this, kHelpEmployee); });
    addAction(help);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Име:"), eName_);
    form->addRow(QStringLiteral("Вид:"), cmbWorker_);
    form->addRow(QStringLiteral("Заплата (лв.):"), ePay_);
    form->addRow(QStringLiteral("Статус:"), cmbStatus_);
    form->addRow(QStringLiteral("Потребителско име:"), eNick_);
    form->addRow(QStringLiteral("Парола:"), ePass_);
    form->addRow(QStringLiteral("Ниво на достъп:"), cmbPrefs_);
    form->addRow(QStringLiteral("Бележки:"), memo_);

    auto* rates = new QGroupBox(QStringLiteral("Разценки на техника"), this);
    auto* ratesForm = new QFormLayout(rates);
    ratesForm->addRow(QStringLiteral("Норма час, нормален ремонт (лв.):"), eNorm_);
    ratesForm->addRow(QStringLiteral("Норма час, гаранционен ремонт (лв.):"), eWarr_);
    ratesForm->addRow(QStringLiteral("Личен процент:"), eProc_);

    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(rates);
    left->addStretch();
    auto* rightsBox = new QGroupBox(QStringLiteral("Права на достъп"), this);
    auto* rightsLayout = new QVBoxLayout(rightsBox);
    rightsLayout->addWidget(chkTree_);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addWidget(rightsBox, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnRec_);
    buttons->addWidget(btnCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
}

void TsrAddClerk::showEmployee() {
    showing_ = true;
    const Employee& e = employee_;
    eName_->setText(e.name);
    const bool knownKind =
        e.worker && (*e.worker == staff::kTechnician || *e.worker == staff::kOtherEmployee);
    cmbWorker_->setCurrentIndex(knownKind ? *e.worker : -1);
    ePay_->setText(store::formatMoney(e.pay));
    cmbStatus_->setCurrentIndex(e.active ? 0 : 1);
    eNick_->setText(e.nick);
    ePass_->clear();
    ePass_->setPlaceholderText(e.hasPassword ? QStringLiteral("празно - паролата не се променя")
                                             : QString());
    cmbPrefs_->setCurrentIndex(e.level >= 0 && e.level <= 2 ? e.level : -1);
    memo_->setPlainText(e.info);
    eNorm_->setText(store::formatMoney(e.rateNormal));
    eWarr_->setText(store::formatMoney(e.rateWarranty));
    eProc_->setText(QString::number(e.percent));
    applyKindRule();
    const bool editable = e.id != staff::kProtectedEmployeeId;
    for (QWidget* w : std::initializer_list<QWidget*>{cmbStatus_, cmbPrefs_, cmbWorker_, chkTree_})
        w->setEnabled(editable);
    showRights(e.rights);
    chkTree_->expandAll();
    showing_ = false;
    eName_->setFocus();
}

void TsrAddClerk::showRights(const QString& rights) {
    const bool wasShowing = showing_;
    showing_ = true;
    // A shorter string sets only the first nodes; the rest stay as they are.
    for (int i = 0; i < nodes_.size() && i < rights.size(); ++i)
        nodes_[i]->setCheckState(0, stateOf(rights.at(i)));
    showing_ = wasShowing;
}

QString TsrAddClerk::treeRights() const {
    QString rights;
    for (const QTreeWidgetItem* node : nodes_)
        rights += digitOf(node->checkState(0));
    return rights;
}

QTreeWidgetItem* TsrAddClerk::rightsNode(int position) const {
    return position >= 1 && position <= nodes_.size() ? nodes_[position - 1] : nullptr;
}

void TsrAddClerk::nodeChanged(QTreeWidgetItem* item) {
    if (showing_)
        return;
    const int position = int(nodes_.indexOf(item)) + 1;
    if (position < 1)
        return;
    const bool granted = item->checkState(0) == Qt::Checked;
    showRights(staff::withRightSet(treeRights(), position, granted));
}

void TsrAddClerk::applyKindRule() {
    const bool technician = cmbWorker_->currentIndex() == staff::kTechnician;
    for (QLineEdit* edit : {eNorm_, eWarr_, eProc_})
        edit->setEnabled(technician);
}

void TsrAddClerk::levelChosen(int level) {
    if (const std::optional<QString> preset = store::rightsPresetForLevel(level))
        showRights(*preset);
}

void TsrAddClerk::save() {
    btnRec_->setFocus();
    for (QLineEdit* edit : {eName_, eNick_, ePass_})
        edit->setText(edit->text().trimmed());
    Employee e = employee_;
    e.name = eName_->text();
    e.nick = eNick_->text();
    e.info = memo_->toPlainText();
    e.pay = amountOf(ePay_);
    e.rateNormal = amountOf(eNorm_);
    e.rateWarranty = amountOf(eWarr_);
    e.percent = eProc_->text().toInt();
    if (cmbPrefs_->currentIndex() >= 0)
        e.level = cmbPrefs_->currentIndex();
    e.worker = cmbWorker_->currentIndex() >= 0 ? std::optional<int>(cmbWorker_->currentIndex())
                                               : std::nullopt;
    e.rights = treeRights();
    e.active = cmbStatus_->currentIndex() == 0;

    staff::SaveOutcome outcome;
    try {
        outcome = staff::saveEmployee(db_, e, ePass_->text());
    } catch (const store::DbError& error) {
        ui::error(this, error.message());
        return;
    } catch (const std::exception& error) {
        ui::error(this, QString::fromLocal8Bit(error.what()));
        return;
    }
    if (outcome == staff::SaveOutcome::DuplicateName) {
        ui::error(this, staff::duplicateNameText());
        eName_->selectAll();
        eName_->setFocus();
        return;
    }
    employee_ = e;
    QDialog::accept();
}

void TsrAddClerk::cancel() {
    btnCancel_->setFocus();
    QDialog::reject();
}

void TsrAddClerk::reject() {
    // Escape and the window's close box do nothing: the record ends by save or cancel.
}
