#pragma once

#include "invoicing/client_firms.h"

#include <QDialog>
#include <optional>

class QComboBox;

namespace store {
class Database;
}

// Picks one client firm from the register; the register itself can be opened from here to add
// or correct a client on the spot.
class TfrmIzbFirm : public QDialog {
    Q_OBJECT
public:
    explicit TfrmIzbFirm(store::Database& db, QWidget* parent = nullptr);

    // Selects the firm of exactly this name; an unknown name leaves the selection as it is.
    void preselect(const QString& name);
    // The firm selected when the dialog was confirmed.
    std::optional<invoicing::ClientFirm> chosenFirm() const;

public Q_SLOTS:
    void openRegister();

private:
    void fillList();
    void selectId(qint64 id);

    store::Database& db_;
    QComboBox* listFirms_;
};
