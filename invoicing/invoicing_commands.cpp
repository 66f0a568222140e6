#include "invoicing/invoicing_commands.h"

#include "invoicing/client_firms.h"
#include "invoicing/clients_window.h"
#include "ui/message_box.h"

namespace invoicing {

void openClients(QWidget* parent, store::Database& db) {
    TsmPeoples clients(db, parent);
    ui::runModal(clients);
}

void openUnbilledPayments(QWidget* parent, store::Database& db) {
    if (!hasClientFirms(db)) {
        ui::message(parent, ui::captionMessage(), QStringLiteral("Няма въведени клиенти!"),
                    ui::MessageIcon::Warning);
        return;
    }
    // The unbilled payments window comes with the invoicing windows.
}

} // namespace invoicing
