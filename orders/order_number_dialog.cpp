#include "orders/order_number_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
// Order numbers are 32-bit in the database; ten digits hold every one of them.
constexpr int kMaxDigits = 10;
} // namespace

TfrmPorNo::TfrmPorNo(QWidget* parent)
    : QDialog(parent), edit_(new QLineEdit(this)), button_(new QPushButton(this)) {
    setObjectName(QStringLiteral("TfrmPorNo"));
    setWindowTitle(QStringLiteral("Номер на поръчка"));
    edit_->setObjectName(QStringLiteral("ePorNo"));
    edit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit_));
    edit_->setMaxLength(kMaxDigits);
    button_->setObjectName(QStringLiteral("btnNum"));
    button_->setText(QStringLiteral("OK"));
    button_->setDefault(true);
    connect(button_, &QPushButton::clicked, this, &TfrmPorNo::confirm);

    auto* label = new QLabel(QStringLiteral("Номер на поръчка:"), this);
    label->setBuddy(edit_);
    auto* row = new QHBoxLayout;
    row->addWidget(edit_, 1);
    row->addWidget(button_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row);
    setMinimumWidth(300);
}

std::optional<qint64> TfrmPorNo::number() const {
    if (result() != QDialog::Accepted || edit_->text().isEmpty())
        return std::nullopt;
    return edit_->text().toLongLong();
}

void TfrmPorNo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setResult(QDialog::Rejected);
    edit_->clear();
    edit_->setFocus();
}

void TfrmPorNo::confirm() {
    if (edit_->text().isEmpty()) {
        edit_->clear();
        edit_->setFocus();
        return;
    }
    accept();
}
