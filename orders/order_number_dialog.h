#pragma once

#include <QDialog>
#include <optional>

class QLineEdit;
class QPushButton;

// Asks for an order number: digits only, and an empty entry never confirms.
class TfrmPorNo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPorNo(QWidget* parent = nullptr);

    // The confirmed number (empty before a confirmation).
    std::optional<qint64> number() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();

    QLineEdit* edit_;
    QPushButton* button_;
};
