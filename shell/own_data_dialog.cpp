#include "shell/own_data_dialog.h"

#include "shell/help_pages.h"
#include "shell/help_window.h"
#include "store/db_error.h"
#include "ui/message_box.h"

#include <QAction>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QVBoxLayout>

TfrmMyInfo::TfrmMyInfo(store::Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("TfrmMyInfo"));
    setWindowTitle(QStringLiteral("Собствени данни"));

    eName_ = addEdit("eName");
    eNDR_ = addEdit("eNDR");
    eNDR_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), eNDR_));
    eBul_ = addEdit("eBul");
    eAdres_ = addEdit("eAdres");
    eMol_ = addEdit("eMol");
    eServName_ = addEdit("eServName");
    eServAdres_ = addEdit("eServAdres");
    eServPhones_ = addEdit("eServPhones");

    // Both groups share one label width so that their fields line up.
    QList<QLabel*> labels;
    auto addRow = [&labels](QFormLayout* form, const QString& text, QLineEdit* edit) {
        auto* label = new QLabel(text);
        label->setBuddy(edit);
        labels << label;
        form->addRow(label, edit);
    };
    auto* company = new QGroupBox(QStringLiteral("Фирма"), this);
    auto* companyForm = new QFormLayout(company);
    addRow(companyForm, QStringLiteral("Име на фирмата:"), eName_);
    addRow(companyForm, QStringLiteral("Данъчен номер:"), eNDR_);
    addRow(companyForm, QStringLiteral("БУЛСТАТ:"), eBul_);
    addRow(companyForm, QStringLiteral("Адрес:"), eAdres_);
    addRow(companyForm, QStringLiteral("МОЛ:"), eMol_);
    auto* workshop = new QGroupBox(QStringLiteral("Сервиз"), this);
    auto* workshopForm = new QFormLayout(workshop);
    addRow(workshopForm, QStringLiteral("Име на сервиза:"), eServName_);
    addRow(workshopForm, QStringLiteral("Адрес на сервиза:"), eServAdres_);
    addRow(workshopForm, QStringLiteral("Телефони:"), eServPhones_);
    int labelWidth = 0;
    for (QLabel* label : labels)
        labelWidth = qMax(labelWidth, label->sizeHint().width());
    for (QLabel* label : labels)
        label->setMinimumWidth(labelWidth);

    btnRec_ = new QPushButton(QStringLiteral("Запис"), this);
    btnRec_->setObjectName(QStringLiteral("btnRec"));
    btnCancel_ = new QPushButton(QStringLiteral("Отказ"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnRec_->setAutoDefault(false);
    btnCancel_->setAutoDefault(false);
    connect(btnRec_, &QPushButton::clicked, this, &TfrmMyInfo::save);
    connect(btnCancel_, &QPushButton::clicked, this, &TfrmMyInfo::cancel);

    auto* help = new QAction(this);
    help->setObjectName(QStringLiteral("Action1"));
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this,
            [this] { shell::HelpWindow::showTopic(this, shell::kHelpOwnData); });
    addAction(help);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnRec_);
    buttons->addWidget(btnCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(company);
    layout->addWidget(workshop);
    layout->addLayout(buttons);
    setMinimumWidth(520);

    display(shell::loadOwnData(db_));
}

QLineEdit* TfrmMyInfo::addEdit(const char* objectName) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(objectName));
    connect(edit, &QLineEdit::textEdited, this, [this] { edited_ = true; });
    return edit;
}

void TfrmMyInfo::setCancelEnabled(bool enabled) {
    btnCancel_->setEnabled(enabled);
}

void TfrmMyInfo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        eName_->setFocus();
}

QLineEdit* TfrmMyInfo::editOf(shell::OwnDataField field) const {
    using F = shell::OwnDataField;
    switch (field) {
    case F::Name:
        return eName_;
    case F::TaxNumber:
        return eNDR_;
    case F::Bulstat:
        return eBul_;
    case F::Address:
        return eAdres_;
    case F::Representative:
        return eMol_;
    case F::ServiceName:
        return eServName_;
    case F::ServiceAddress:
        return eServAdres_;
    case F::ServicePhones:
        return eServPhones_;
    }
    return eName_;
}

shell::OwnData TfrmMyInfo::typed() const {
    return {eName_->text(), eNDR_->text(),      eBul_->text(),       eAdres_->text(),
            eMol_->text(),  eServName_->text(), eServAdres_->text(), eServPhones_->text()};
}

void TfrmMyInfo::display(const shell::OwnData& d) {
    eName_->setText(d.name);
    eNDR_->setText(d.taxNumber);
    eBul_->setText(d.bulstat);
    eAdres_->setText(d.address);
    eMol_->setText(d.representative);
    eServName_->setText(d.serviceName);
    eServAdres_->setText(d.serviceAddress);
    eServPhones_->setText(d.servicePhones);
    edited_ = false;
}

void TfrmMyInfo::save() {
    btnRec_->setFocus();
    shell::OwnData data = typed();
    const auto problem = shell::checkOwnData(data);
    // The trimmed texts stay in the fields, as they will be saved.
    const bool wasEdited = edited_;
    display(data);
    edited_ = wasEdited;
    if (problem) {
        ui::error(this, problem->message);
        QLineEdit* edit = editOf(problem->field);
        edit->setFocus();
        if (problem->field == shell::OwnDataField::TaxNumber ||
            problem->field == shell::OwnDataField::Bulstat)
            edit->selectAll();
        return;
    }
    try {
        shell::saveOwnData(db_, data);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
        return;
    }
    edited_ = false;
    btnCancel_->setEnabled(true);
    accept();
}

void TfrmMyInfo::cancel() {
    display(shell::loadOwnData(db_));
    QDialog::reject();
}

void TfrmMyInfo::reject() {
    // Closing the window or Escape: only when nothing is pending and leaving is allowed.
    if (edited_ || !btnCancel_->isEnabled())
        return;
    QDialog::reject();
}
