#pragma once

#include <QString>
#include <optional>

class QDialog;
class QWidget;

// Every message box, question, input box and file dialog of the program goes through here, so
// that tests can replace the real dialogs with a scripted responder.
namespace ui {

enum class MessageIcon { Information, Warning, Error, Exclamation };

class Responder {
public:
    virtual ~Responder() = default;
    virtual void message(QWidget* parent, const QString& caption, const QString& text,
                         MessageIcon icon) = 0;
    // Yes/No question; true for Yes.
    virtual bool ask(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Empty when the user cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption,
                                 const QString& proposedPath, const QString& filter) = 0;
    virtual std::optional<QString> inputText(QWidget* parent, const QString& caption,
                                             const QString& label, const QString& initial,
                                             bool password) = 0;
    // A window the program shows modally; returns its result code.
    virtual int runModal(QDialog& dialog);
};

// Replaces the real dialogs (nullptr restores them). The only global switch of the program.
void setResponder(Responder* responder);

// The program's captions.
QString captionMessage(); // "Съобщение"
QString captionWarning(); // "Внимание"
QString captionError();   // "Грешка"

void info(QWidget* parent, const QString& text);    // "Съобщение", information icon
void warning(QWidget* parent, const QString& text); // "Внимание", warning icon
void error(QWidget* parent, const QString& text);   // "Грешка", error icon
void message(QWidget* parent, const QString& caption, const QString& text, MessageIcon icon);
bool ask(QWidget* parent, const QString& text, const QString& caption = captionWarning());

QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                     const QString& filter);
QString saveFileName(QWidget* parent, const QString& caption, const QString& proposedPath,
                     const QString& filter);
std::optional<QString> inputText(QWidget* parent, const QString& caption, const QString& label,
                                 const QString& initial = {}, bool password = false);
// Shows a window of the program modally (the commands' windows); tests see which one opens.
int runModal(QDialog& dialog);

} // namespace ui
