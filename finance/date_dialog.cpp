#include "finance/date_dialog.h"

#include "finance/finance_commands.h"
#include "finance/rate_dialog.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TsrDate::TsrDate(store::Database& db, store::CurrencyMode mode, QWidget* parent)
    : QDialog(parent), db_(db), mode_(mode), dateBox_(new QDateEdit(this)) {
    setObjectName(QStringLiteral("TsrDate"));
    setWindowTitle(QStringLiteral("Дата"));
    dateBox_->setObjectName(QStringLiteral("DateBox"));
    dateBox_->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    dateBox_->setCalendarPopup(true);
    // A typed date outside the range is pulled to the nearest end of it, not dropped.
    dateBox_->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    resetRange();

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отказ"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    connect(ok, &QPushButton::clicked, this, &TsrDate::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* label = new QLabel(QStringLiteral("Дата:"), this);
    label->setBuddy(dateBox_);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(dateBox_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    setMinimumWidth(260);
}

QDate TsrDate::clamped(const QDate& date, const QDate& today) {
    if (!date.isValid() || date > today)
        return today;
    return std::max(date, today.addDays(-kDaysBack));
}

void TsrDate::resetRange() {
    const QDate today = QDate::currentDate();
    dateBox_->setDateRange(today.addDays(-kDaysBack), today);
}

QDate TsrDate::date() const {
    return dateBox_->date();
}

void TsrDate::setDate(const QDate& date) {
    resetRange();
    dateBox_->setDate(clamped(date, QDate::currentDate()));
}

void TsrDate::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window lives across days: "today" is the day it is shown.
    setDate(QDate::currentDate());
    dateBox_->setFocus();
}

void TsrDate::confirm() {
    if (mode_ == store::CurrencyMode::ThreeCurrencies) {
        if (!finance::ensureRates(this, db_, date())) {
            reject();
            return;
        }
    }
    accept();
}
