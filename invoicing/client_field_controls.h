#pragma once

#include "invoicing/client_firms.h"

#include <optional>

class QLineEdit;
class QWidget;

namespace invoicing {

// The name, address and telephone edits in which a window keeps its client.
struct ClientFields {
    QLineEdit* name;
    QLineEdit* address;
    QLineEdit* phone;
};

// Leaving the name: trims it; a client firm of exactly that name fills address and telephone.
// True when one was found.
bool fillFromRegisteredName(store::Database& db, const ClientFields& fields);

// The client chooser, preselected on the typed name; the chosen firm fills the three fields.
std::optional<ClientFirm> chooseClientInto(store::Database& db, const ClientFields& fields,
                                           QWidget* parent);

} // namespace invoicing
