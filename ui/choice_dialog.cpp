#include "ui/choice_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TsmIzbor::TsmIzbor(QWidget* parent)
    : QDialog(parent), prompt_(new QLabel(this)), combo_(new QComboBox(this)) {
    setObjectName(QStringLiteral("TsmIzbor"));
    setWindowTitle(QStringLiteral("Избор"));
    combo_->setObjectName(QStringLiteral("Combo"));
    combo_->setEditable(false);
    combo_->setMinimumContentsLength(24);
    prompt_->setObjectName(QStringLiteral("lbPrompt"));
    prompt_->setBuddy(combo_);
    prompt_->hide();

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отказ"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    // An empty list has nothing to confirm.
    connect(ok, &QPushButton::clicked, this, [this] {
        if (combo_->currentIndex() >= 0)
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(combo_);
    layout->addLayout(buttons);
}

void TsmIzbor::setPrompt(const QString& text) {
    prompt_->setText(text);
    prompt_->setVisible(!text.isEmpty());
}

void TsmIzbor::setItems(const QStringList& items) {
    combo_->clear();
    combo_->addItems(items);
}

int TsmIzbor::currentIndex() const {
    return combo_->currentIndex();
}

QString TsmIzbor::currentText() const {
    return combo_->currentText();
}

void TsmIzbor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (combo_->count() > 0)
        combo_->setCurrentIndex(0);
    combo_->setFocus();
}
