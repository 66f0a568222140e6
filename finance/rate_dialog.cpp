#include "finance/rate_dialog.h"

#include "store/database.h"
#include "ui/message_box.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

QString rateText(double rate) {
    return QString::number(rate, 'g', 10).replace(QLatin1Char('.'), QLatin1Char(','));
}

QLineEdit* rateEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    // A minus can be typed so that the refusal below, not the keyboard, explains the rule.
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?[0-9]{0,6}([.,][0-9]{0,6})?")), edit));
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

} // namespace

TsrCurrency::TsrCurrency(store::Database& db, const QDate& date, QWidget* parent)
    : QDialog(parent), db_(db), date_(date), dateLabel_(new QLabel(this)),
      usd_(rateEdit(QStringLiteral("DBEdit1"), this)),
      eur_(rateEdit(QStringLiteral("DBEdit2"), this)) {
    setObjectName(QStringLiteral("TsrCurrency"));
    setWindowTitle(QStringLiteral("Валутен курс"));
    dateLabel_->setObjectName(QStringLiteral("stDate"));
    dateLabel_->setText(date_.toString(QStringLiteral("dd.MM.yyyy")));
    QFont bold = dateLabel_->font();
    bold.setBold(true);
    dateLabel_->setFont(bold);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Дата:"), dateLabel_);
    form->addRow(QStringLiteral("1 USD = (лв.)"), usd_);
    form->addRow(QStringLiteral("1 EUR = (лв.)"), eur_);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отказ"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    connect(ok, &QPushButton::clicked, this, &TsrCurrency::confirm);
    connect(cancel, &QPushButton::clicked, this, &TsrCurrency::cancelRow);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(280);
}

QString TsrCurrency::refusalText() {
    return QStringLiteral(
        "Не можете да въвеждате нулеви или отрицателни стойност за валутния курс!");
}

void TsrCurrency::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (pending_)
        return;
    store::Rates proposal{date_, store::kDefaultUsdRate, store::kDefaultEurRate};
    try {
        proposal = store::proposedRates(db_, date_);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
    usd_->setText(rateText(proposal.usd));
    eur_->setText(rateText(proposal.eur));
    pending_ = true;
    usd_->setFocus();
    usd_->selectAll();
}

double TsrCurrency::valueOf(const QLineEdit* edit) const {
    QString text = edit->text().trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? value : 0.0; // "", "-" and "." mean nothing typed
}

void TsrCurrency::confirm() {
    const double usd = valueOf(usd_);
    const double eur = valueOf(eur_);
    if (usd <= 0 || eur <= 0) {
        ui::message(this, ui::captionWarning(), refusalText(), ui::MessageIcon::Error);
        if (usd == 0)
            usd_->setFocus();
        else if (eur == 0)
            eur_->setFocus();
        return;
    }
    const store::Rates rates{date_, usd, eur};
    try {
        store::addRates(db_, rates);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
        return;
    }
    saved_ = rates;
    pending_ = false;
    accept();
}

void TsrCurrency::cancelRow() {
    pending_ = false;
    QDialog::reject();
}

void TsrCurrency::reject() {
    // Escape drops the pending row like the Cancel button does.
    cancelRow();
}

void TsrCurrency::closeEvent(QCloseEvent* event) {
    if (pending_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
