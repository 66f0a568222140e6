#include "orders/start_number_dialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
// Order numbers are 32-bit in the database; nine digits always fit.
constexpr int kMaxDigits = 9;
} // namespace

TfrmStartNum::TfrmStartNum(QWidget* parent)
    : QDialog(parent), lbMess_(new QLabel(this)), eStartNo_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("TfrmStartNum"));
    setWindowTitle(QStringLiteral("Стартов номер"));
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    lbMess_->setObjectName(QStringLiteral("lbMess"));
    lbMess_->setWordWrap(true);
    eStartNo_->setObjectName(QStringLiteral("eStartNo"));
    eStartNo_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), eStartNo_));
    eStartNo_->setMaxLength(kMaxDigits);
    auto* btnNum = new QPushButton(QStringLiteral("OK"), this);
    btnNum->setObjectName(QStringLiteral("btnNum"));
    btnNum->setDefault(true);
    connect(btnNum, &QPushButton::clicked, this, &TfrmStartNum::confirm);

    auto* row = new QHBoxLayout;
    row->addWidget(eStartNo_, 1);
    row->addWidget(btnNum);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbMess_);
    layout->addLayout(row);
    setMinimumWidth(340);
}

void TfrmStartNum::setMessage(const QString& text) {
    lbMess_->setText(text);
}

std::optional<qint64> TfrmStartNum::number() const {
    if (!confirmed_ || eStartNo_->text().isEmpty())
        return std::nullopt;
    return eStartNo_->text().toLongLong();
}

void TfrmStartNum::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    confirmed_ = false;
    eStartNo_->clear();
    eStartNo_->setFocus();
}

void TfrmStartNum::confirm() {
    if (eStartNo_->text().isEmpty()) {
        eStartNo_->clear();
        eStartNo_->setFocus();
        return;
    }
    confirmed_ = true;
    accept();
}

void TfrmStartNum::reject() {
    // Escape does not leave without a number.
    if (confirmed_)
        QDialog::reject();
}

void TfrmStartNum::closeEvent(QCloseEvent* event) {
    if (!confirmed_)
        event->ignore();
    else
        QDialog::closeEvent(event);
}
