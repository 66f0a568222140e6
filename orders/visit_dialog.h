#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace store {
class Database;
}

// Asks who made a visit and what was done.
class TfrmVisit : public QDialog {
    Q_OBJECT
public:
    explicit TfrmVisit(store::Database& db, QWidget* parent = nullptr);

    QString employee() const;
    QString note() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QComboBox* cmbClerk_;
    QLineEdit* eNote_;
};
