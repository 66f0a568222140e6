#include "orders/order_checks.h"

#include <cmath>

namespace orders {

namespace {

OrderCheck refusal(const QString& text, CheckFocus focus) {
    return OrderCheck{false, text, focus};
}

OrderCheck question(const QString& text, CheckFocus focus) {
    return OrderCheck{true, text, focus};
}

QString negativeFeeText() {
    return QStringLiteral("не може да въвеждате отрицателна стойност за такса!");
}

// Written with a Latin "a" after the "T" since the first version; kept byte for byte.
QString feeDiffersText() {
    return QStringLiteral("Taксата е различна от обявената!\nЖелаете ли да продължите?");
}

// Fees are typed to hundredths; a difference below half a stotinka is no difference.
bool feeDiffers(const CheckedMoney& m) {
    return m.orderType == 0 && std::abs(m.fee - m.defaultFee) >= 0.005;
}

} // namespace

QString negativeAmountText() {
    return QStringLiteral("Не може да отчетете поръчка с отрицателна цена!");
}

QList<OrderCheck> readyChecks(const CheckedMoney& m) {
    QList<OrderCheck> checks;
    if (m.amount < 0)
        checks << refusal(negativeAmountText(), CheckFocus::Fee);
    if (m.amount == 0 && m.orderType == 0)
        checks << question(QStringLiteral("Отчет на поръчка с нулева цена!\nТова вероятно "
                                          "означва отказан ремонт.\nЖелаете ли да продължите?"),
                           CheckFocus::Fee);
    if (m.fee < 0)
        checks << refusal(negativeFeeText(), CheckFocus::Fee);
    if (feeDiffers(m))
        checks << question(feeDiffersText(), CheckFocus::Fee);
    if (m.labourClient < 0)
        checks << refusal(QStringLiteral("Не може да въвеждате отрицателна стойност за цена на "
                                         "труда!"),
                          CheckFocus::LabourClient);
    if (m.labourClerk == 0 && m.hasLabour)
        checks << question(QStringLiteral("За ремонта е положен труд, а цената на труда е "
                                          "нулева\nЖелаете ли да продължите?"),
                           CheckFocus::None);
    return checks;
}

QList<OrderCheck> paymentChecks(const CheckedMoney& m) {
    QList<OrderCheck> checks;
    if (m.amount < 0)
        checks << refusal(negativeAmountText(), CheckFocus::Fee);
    if (m.fee < 0)
        checks << refusal(negativeFeeText(), CheckFocus::Fee);
    if (feeDiffers(m))
        checks << question(feeDiffersText(), CheckFocus::Fee);
    return checks;
}

} // namespace orders
