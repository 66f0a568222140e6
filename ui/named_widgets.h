#pragma once

#include <QString>

class QLineEdit;
class QPushButton;
class QWidget;

// Small pieces every window uses to build its controls under the names tests and people find
// them by.
namespace ui {

QPushButton* namedButton(QWidget* parent, const char* name, const QString& text);
// A button that Enter in one of the window's edits never presses.
QPushButton* namedPlainButton(QWidget* parent, const char* name, const QString& text);
// maxLength 0 keeps the edit's default.
QLineEdit* namedEdit(QWidget* parent, const char* name, int maxLength = 0);
// Only text matching the pattern can be typed or pasted; every other key is dropped.
void acceptOnly(QLineEdit* edit, const QString& pattern);
// An amount as people type it: digits, blanks between thousands, one decimal mark ("." or ",")
// with at most that many decimals, and a leading minus only where the amount may be negative.
QLineEdit* amountEdit(QWidget* parent, const char* name, bool allowMinus, int decimals = 2);
// A minus typed into an amount that cannot be negative is dropped with a note at the field,
// so that "-10" never silently becomes 10.
void refuseMinus(QLineEdit* edit, const QString& note);

} // namespace ui
