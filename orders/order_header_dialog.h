#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace store {
class Database;
}

// Corrects the client, registration number and chassis number of an order.
class TfrmEditPor : public QDialog {
    Q_OBJECT
public:
    TfrmEditPor(store::Database& db, const QString& clientName, const QString& regNo,
                const QString& couppe, QWidget* parent = nullptr);

    QString clientName() const;
    QString regNo() const;
    QString couppe() const;

public Q_SLOTS:
    void openClients();

private:
    void fillClients(const QString& select);

    store::Database& db_;
    QComboBox* listFirms_;
    QLineEdit* eSN_;
    QLineEdit* eOutPor_;
};
