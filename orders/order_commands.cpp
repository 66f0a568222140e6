#include "orders/order_commands.h"

#include "orders/new_order_window.h"
#include "orders/operations_catalogue_window.h"
#include "orders/order_number_dialog.h"
#include "orders/order_payment.h"
#include "orders/order_ready.h"
#include "orders/order_register_window.h"
#include "orders/order_report_window.h"
#include "orders/parts_in_orders_window.h"
#include "orders/symptom_codes_window.h"
#include "shell/session.h"
#include "staff/employees.h"
#include "staff/staff_commands.h"
#include "store/database.h"
#include "ui/message_box.h"

namespace orders {

store::Right orderCommandRight(OrderMode mode) {
    switch (mode) {
    case OrderMode::Parts:
        return store::Right::PartsIntoOrder;
    case OrderMode::Report:
        return store::Right::OrderReport;
    case OrderMode::Payment:
        break;
    }
    return store::Right::OrderPayment;
}

std::optional<QString> orderCommandRefusal(store::Database& db, OrderMode mode, qint64 idPor) {
    const auto head = loadOrderHead(db, idPor);
    if (!head)
        return QStringLiteral("Няма поръчка с номер %1!").arg(idPor);
    if (mode == OrderMode::Payment) {
        if (head->payed)
            return alreadyPaidText(idPor);
        if (!head->ready)
            return notReadyText(idPor);
        return std::nullopt;
    }
    if (head->ready)
        return alreadyReportedText(idPor);
    // A paid order is closed for every command, even one never marked ready.
    if (head->payed)
        return alreadyPaidText(idPor);
    if (mode == OrderMode::Report && sentToOutsideService(db, idPor))
        return QStringLiteral("Поръчка  №%1 e изпратена към външен сервиз и не е върната")
            .arg(idPor);
    return std::nullopt;
}

QString noTechniciansText() {
    return QStringLiteral(
        "Няма въведени сервизни техници!\nЗа да отчетете поръчка, трябва да сте ги въвели!");
}

void runOrderCommand(QWidget* parent, store::Database& db, shell::Session& session, OrderMode mode,
                     std::optional<qint64> idPor, const std::function<void(qint64)>& repairCard) {
    if (session.saleVisible() || !session.holdsRight(orderCommandRight(mode)))
        return;
    if (!idPor) {
        TfrmPorNo prompt(parent);
        if (prompt.exec() != QDialog::Accepted || !prompt.number())
            return;
        idPor = prompt.number();
    }
    try {
        if (const auto refusal = orderCommandRefusal(db, mode, *idPor)) {
            ui::message(parent, ui::captionMessage(), *refusal, ui::MessageIcon::Warning);
            return;
        }
        if (mode != OrderMode::Parts && staff::activeTechnicianNames(db).isEmpty()) {
            ui::message(parent, ui::captionMessage(), noTechniciansText(),
                        ui::MessageIcon::Warning);
            staff::openEmployees(parent, db);
            return;
        }
        TfrmOtchet window(db, session, parent);
        window.setRepairCardCommand(repairCard);
        if (window.openOrder(*idPor, mode))
            window.exec();
    } catch (const store::DbError& e) {
        ui::error(parent, e.message());
    }
}

void openNewOrder(QWidget* parent, store::Database& db, shell::Session& session) {
    TsrPor order(db, RepairPlace::Workshop, parent);
    // The car picker's "orders of the car" shows them in the order register.
    order.setOrdersOfCar(
        [&](const QString& regNo) { openOrderRegister(&order, db, session, regNo); });
    ui::runModal(order);
}

void openOrderRegister(QWidget* parent, store::Database& db, shell::Session& session,
                       const QString& regNo) {
    TfrmSprPor orders(db, session, session.settings(), parent);
    auto command = [&](OrderMode mode) {
        return [&, mode](qint64 idPor) { runOrderCommand(&orders, db, session, mode, idPor); };
    };
    orders.setReportCommand(command(OrderMode::Report));
    orders.setPartsCommand(command(OrderMode::Parts));
    orders.setPaymentCommand(command(OrderMode::Payment));
    if (!regNo.isEmpty())
        orders.searchRegistrationNumber(regNo);
    ui::runModal(orders);
}

void openPartsInOrders(QWidget* parent, store::Database& db) {
    TsrPartsPor parts(db, parent);
    ui::runModal(parts);
}

void openOperationsCatalogue(QWidget* parent, store::Database& db, const shell::Session& session) {
    TfrmWorkOp catalogue(db, session, parent);
    ui::runModal(catalogue);
}

void openSymptomCodes(QWidget* parent, store::Database& db) {
    TfrmSymp codes(db, TfrmSymp::Mode::Browse, parent);
    ui::runModal(codes);
}

} // namespace orders
