#include "finance/finance_commands.h"

#include "finance/rate_dialog.h"
#include "finance/rate_register_window.h"
#include "invoicing/client_firms.h"
#include "store/db_error.h"
#include "ui/message_box.h"
#include "warehouse/suppliers.h"

namespace finance {

void openRateRegister(QWidget* parent, store::Database& db) {
    TsrCourse rates(db, parent);
    ui::runModal(rates);
}

void openSupplierAccounts(QWidget* parent, store::Database& db) {
    if (!warehouse::hasSuppliers(db)) {
        ui::message(parent, ui::captionMessage(), QStringLiteral("Няма въведени доставчици"),
                    ui::MessageIcon::Warning);
        return;
    }
    // The supplier accounts window comes with the finance windows.
}

void openClientAccounts(QWidget* parent, store::Database& db) {
    if (!invoicing::hasClientFirms(db)) {
        ui::message(parent, ui::captionMessage(), QStringLiteral("Няма въведени фирми-клиенти"),
                    ui::MessageIcon::Warning);
        return;
    }
    // The client accounts window comes with the finance windows.
}

std::optional<store::Rates> ensureRates(QWidget* parent, store::Database& db, const QDate& date) {
    try {
        if (auto rates = store::ratesOf(db, date))
            return rates;
    } catch (const store::DbError& e) {
        ui::error(parent, e.message());
        return std::nullopt;
    }
    TsrCurrency dialog(db, date, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.saved();
}

} // namespace finance
