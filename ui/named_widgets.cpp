#include "ui/named_widgets.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolTip>

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

QLineEdit* amountEdit(QWidget* parent, const char* name, bool allowMinus, int decimals) {
    QLineEdit* edit = namedEdit(parent, name);
    acceptOnly(edit, QStringLiteral("%1[0-9 ]*([.,][0-9]{0,%2})?")
                         .arg(allowMinus ? QStringLiteral("-?") : QString())
                         .arg(decimals));
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

namespace {

class MinusNote : public QObject {
public:
    MinusNote(QLineEdit* edit, QString note) : QObject(edit), edit_(edit), note_(std::move(note)) {
        edit->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->text() == QLatin1String("-")) {
            QToolTip::showText(edit_->mapToGlobal(QPoint(0, edit_->height())), note_, edit_);
            return true;
        }
        return false;
    }

private:
    QLineEdit* edit_;
    QString note_;
};

} // namespace

void refuseMinus(QLineEdit* edit, const QString& note) {
    new MinusNote(edit, note);
}

} // namespace ui
