#pragma once

#include <QList>
#include <QString>

// The checks before an order is marked ready or paid: refusals stop, questions go on with Yes.
namespace orders {

enum class CheckFocus { None, Fee, LabourClient };

struct OrderCheck {
    bool question = false;
    QString text;
    CheckFocus focus = CheckFocus::None;
};

// The money fields the checks look at.
struct CheckedMoney {
    int orderType = 0;
    double amount = 0;
    double fee = 0;
    double defaultFee = 0;
    double labourClient = 0;
    double labourClerk = 0;
    bool hasLabour = false;
};

// In the order they are made; the first refusal or No ends them.
QList<OrderCheck> readyChecks(const CheckedMoney& money);
QList<OrderCheck> paymentChecks(const CheckedMoney& money);

QString negativeAmountText(); // "Не може да отчетете поръчка с отрицателна цена!"

} // namespace orders
