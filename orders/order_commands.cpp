#include "orders/order_commands.h"

#include "orders/order_payment.h"
#include "orders/order_ready.h"
#include "orders/order_report_window.h"
#include "shell/session.h"
#include "staff/employees_window.h"
#include "store/database.h"
#include "ui/message_box.h"
#include "ui/order_number_prompt.h"

namespace orders {

int orderCommandRight(OrderMode mode) {
    switch (mode) {
    case OrderMode::Parts:
        return 19;
    case OrderMode::Report:
        return 20;
    case OrderMode::Payment:
        return 21;
    }
    return 0;
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
        if (mode != OrderMode::Parts && activeTechnicianNames(db).isEmpty()) {
            ui::message(parent, ui::captionMessage(), noTechniciansText(),
                        ui::MessageIcon::Warning);
            TsrClerks clerks(db, parent);
            clerks.exec();
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

} // namespace orders
