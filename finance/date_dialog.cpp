#include "finance/date_dialog.h"

#include "finance/finance_commands.h"
#include "finance/rate_dialog.h"
#include "ui/message_box.h"

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
    // A date typed or picked outside the range is moved into it on leaving the field or on
    // OK, and the user sees the date that will be used before anything is booked.
    connect(dateBox_, &QDateEdit::editingFinished, this, &TsrDate::pullIntoRange);

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

TsrDate::~TsrDate() {
    // The field loses the focus while the window goes; that is not the user leaving it.
    dateBox_->disconnect(this);
}

QDate TsrDate::clamped(const QDate& date, const QDate& today) {
    if (!date.isValid() || date > today)
        return today;
    return std::max(date, today.addDays(-kDaysBack));
}

bool TsrDate::pullIntoRange() {
    const QDate today = QDate::currentDate();
    const QDate typed = dateBox_->date();
    const QDate used = clamped(typed, today);
    if (used == typed)
        return false;
    dateBox_->setDate(used);
    const QString format = QStringLiteral("dd.MM.yyyy");
    ui::message(this, ui::captionMessage(),
                QStringLiteral("Датата може да бъде от %1 до %2.\nЩе бъде използвана %3.")
                    .arg(today.addDays(-kDaysBack).toString(format), today.toString(format),
                         used.toString(format)),
                ui::MessageIcon::Warning);
    dateBox_->setFocus();
    return true;
}

QDate TsrDate::date() const {
    return clamped(dateBox_->date(), QDate::currentDate());
}

void TsrDate::setDate(const QDate& date) {
    dateBox_->setDate(clamped(date, QDate::currentDate()));
}

void TsrDate::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window lives across days: "today" is the day it is shown.
    setDate(QDate::currentDate());
    dateBox_->setFocus();
}

void TsrDate::confirm() {
    // A date moved now is confirmed with a second OK, after the user has seen it.
    if (pullIntoRange())
        return;
    if (mode_ == store::CurrencyMode::ThreeCurrencies) {
        if (!finance::ensureRates(this, db_, date())) {
            reject();
            return;
        }
    }
    accept();
}
