#include "invoicing/client_field_controls.h"

#include "invoicing/firm_chooser_dialog.h"

#include <QLineEdit>

namespace invoicing {

bool fillFromRegisteredName(store::Database& db, const ClientFields& fields) {
    const QString name = fields.name->text().trimmed();
    fields.name->setText(name);
    if (name.isEmpty())
        return false;
    const auto firm = findFirmByName(db, name);
    if (!firm)
        return false;
    fields.address->setText(firm->adres);
    fields.phone->setText(firm->phones);
    return true;
}

std::optional<ClientFirm> chooseClientInto(store::Database& db, const ClientFields& fields,
                                           QWidget* parent) {
    TfrmIzbFirm chooser(db, parent);
    chooser.preselect(fields.name->text().trimmed());
    const auto firm = chooser.exec() == QDialog::Accepted ? chooser.chosenFirm() : std::nullopt;
    if (firm) {
        fields.name->setText(firm->name);
        fields.address->setText(firm->adres);
        fields.phone->setText(firm->phones);
    }
    return firm;
}

} // namespace invoicing
