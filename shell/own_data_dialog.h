#pragma once

#include "shell/own_data.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace store {
class Database;
}

// The own-data dialog. With its cancel button disabled (the first start) it can be left only
// by a valid save.
class TfrmMyInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMyInfo(store::Database& db, QWidget* parent = nullptr);

    void setCancelEnabled(bool enabled);

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* addEdit(const char* objectName);
    QLineEdit* editOf(shell::OwnDataField field) const;
    shell::OwnData typed() const;
    void display(const shell::OwnData& data);
    void save();
    void cancel();

    store::Database& db_;
    QLineEdit* eName_ = nullptr;
    QLineEdit* eNDR_ = nullptr;
    QLineEdit* eBul_ = nullptr;
    QLineEdit* eAdres_ = nullptr;
    QLineEdit* eMol_ = nullptr;
    QLineEdit* eServName_ = nullptr;
    QLineEdit* eServAdres_ = nullptr;
    QLineEdit* eServPhones_ = nullptr;
    QPushButton* btnRec_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
    bool edited_ = false;
};
