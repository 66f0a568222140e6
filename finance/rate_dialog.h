#pragma once

#include "store/currency.h"

#include <QDate>
#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace store {
class Database;
}

// Adds the exchange rates of one date. The new row is pending from the moment the window shows
// until OK saves it or Cancel drops it; meanwhile the window cannot be closed otherwise.
class TsrCurrency : public QDialog {
    Q_OBJECT
public:
    TsrCurrency(store::Database& db, const QDate& date, QWidget* parent = nullptr);

    QDate date() const { return date_; }
    // The saved row after OK.
    std::optional<store::Rates> saved() const { return saved_; }

    static QString refusalText();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

public Q_SLOTS:
    void reject() override;

private:
    void confirm();
    void cancelRow();
    double valueOf(const QLineEdit* edit) const;

    store::Database& db_;
    QDate date_;
    bool pending_ = false;
    std::optional<store::Rates> saved_;
    QLabel* dateLabel_;
    QLineEdit* usd_;
    QLineEdit* eur_;
};
