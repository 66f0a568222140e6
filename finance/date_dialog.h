#pragma once

#include "store/currency.h"

#include <QDate>
#include <QDialog>

class QDateEdit;

namespace store {
class Database;
}

// Asks for the date of an operation (a delivery, for example): today or one of the ten days
// before. When the workshop works in three currencies, confirming makes sure the rates of the
// chosen date are known, asking for them if needed; without them the dialog ends as cancelled.
class TsrDate : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDaysBack = 10;

    TsrDate(store::Database& db, store::CurrencyMode mode = store::CurrencyMode::LevaOnly,
            QWidget* parent = nullptr);
    ~TsrDate() override;

    void setCurrencyMode(store::CurrencyMode mode) { mode_ = mode; }
    QDate date() const;
    // Later than today becomes today, earlier than ten days back becomes ten days back.
    void setDate(const QDate& date);

    static QDate clamped(const QDate& date, const QDate& today);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();
    // A typed date outside the range is moved into it and the user is told; true when moved.
    bool pullIntoRange();

    store::Database& db_;
    store::CurrencyMode mode_;
    QDateEdit* dateBox_;
};
