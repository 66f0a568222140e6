#pragma once

#include <QDialog>

class QComboBox;

// Changes the type of an order that has no parts and no labour yet.
class TfrmChangeTypePor : public QDialog {
    Q_OBJECT
public:
    explicit TfrmChangeTypePor(int currentType, QWidget* parent = nullptr);

    int selectedType() const;

private:
    QComboBox* cmbType_;
};
