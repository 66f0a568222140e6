#pragma once

#include <QDateEdit>
#include <optional>

namespace ui {

// A date field that may also be left empty: Delete empties it, and an empty field shows
// nothing instead of a date.
class OptionalDateEdit : public QDateEdit {
    Q_OBJECT
public:
    explicit OptionalDateEdit(QWidget* parent = nullptr);

    std::optional<QDate> value() const;
    void setValue(const std::optional<QDate>& date);
    void clearValue() { setValue(std::nullopt); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace ui
