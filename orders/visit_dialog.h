#pragma once

#include <QDate>
#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;

namespace store {
class Database;
}

namespace orders {

// Names of the active employees, for the one who made a visit.
QStringList activeEmployeeNames(store::Database& db);

// Marks a visit done by the employee of that name (false, nothing written, when there is no
// such employee).
bool reportVisitDone(store::Database& db, qint64 visitId, const QString& employee,
                     const QString& note, const QDate& today);

} // namespace orders

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
