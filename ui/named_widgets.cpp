#include "ui/named_widgets.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace ui {

QPushButton* namedButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QPushButton* namedPlainButton(QWidget* parent, const char* name, const QString& text) {
    QPushButton* button = namedButton(parent, name, text);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* namedEdit(QWidget* parent, const char* name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

void acceptOnly(QLineEdit* edit, const QString& pattern) {
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
}

} // namespace ui
