#pragma once

#include "orders/order_registration.h"

#include <QDialog>

class QTableView;

// The earlier orders of the car being registered.
class TfrmPrevious : public QDialog {
    Q_OBJECT
public:
    TfrmPrevious(const QList<orders::PreviousRepair>& rows, const QString& marka,
                 const QString& model, const QString& regNo, QWidget* parent = nullptr);

    // What the print command puts at the head of the page.
    QString printTitle() const;

public Q_SLOTS:
    void printList();

private:
    QString car_;
    QTableView* grid_;
};
