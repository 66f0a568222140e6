#pragma once

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;

// Asks for the first number of a numbering that has none yet. It stays open until a number
// is confirmed, since the caller cannot go on without one.
class TfrmStartNum : public QDialog {
    Q_OBJECT
public:
    explicit TfrmStartNum(QWidget* parent = nullptr);

    void setMessage(const QString& text);
    std::optional<qint64> number() const;

public Q_SLOTS:
    void confirm();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* lbMess_;
    QLineEdit* eStartNo_;
    bool confirmed_ = false;
};
