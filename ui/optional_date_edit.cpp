#include "ui/optional_date_edit.h"

#include <QKeyEvent>

namespace ui {

namespace {
// The lowest date stands for "no date"; the field shows it as blank.
const QDate kNoDate(1900, 1, 1);
} // namespace

OptionalDateEdit::OptionalDateEdit(QWidget* parent) : QDateEdit(parent) {
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    setCalendarPopup(true);
    setMinimumDate(kNoDate);
    setSpecialValueText(QStringLiteral(" "));
    setDate(kNoDate);
}

std::optional<QDate> OptionalDateEdit::value() const {
    if (date() == kNoDate)
        return std::nullopt;
    return date();
}

void OptionalDateEdit::setValue(const std::optional<QDate>& value) {
    setDate(value.value_or(kNoDate));
}

void OptionalDateEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        clearValue();
        return;
    }
    QDateEdit::keyPressEvent(event);
}

} // namespace ui
