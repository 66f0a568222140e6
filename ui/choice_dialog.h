#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;

// Lets the user pick one entry of a list.
class TsmIzbor : public QDialog {
    Q_OBJECT
public:
    explicit TsmIzbor(QWidget* parent = nullptr);

    void setPrompt(const QString& text);
    void setItems(const QStringList& items);
    int currentIndex() const;
    QString currentText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* prompt_;
    QComboBox* combo_;
};
