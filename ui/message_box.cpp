#include "ui/message_box.h"

#include <QDialog>

#include <QAbstractButton>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace ui {

namespace {

// The real dialogs, with Bulgarian button texts.
class DialogResponder final : public Responder {
public:
    void message(QWidget* parent, const QString& caption, const QString& text,
                 MessageIcon icon) override {
        QMessageBox box(toQt(icon), caption, text, QMessageBox::Ok, parent);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box.exec();
    }

    bool ask(QWidget* parent, const QString& caption, const QString& text) override {
        QMessageBox box(QMessageBox::Question, caption, withButtonNames(text),
                        QMessageBox::Yes | QMessageBox::No, parent);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
        box.button(QMessageBox::No)->setText(QStringLiteral("Не"));
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    }

    QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, caption, folder, filter);
    }

    QString saveFileName(QWidget* parent, const QString& caption, const QString& proposedPath,
                         const QString& filter) override {
        return QFileDialog::getSaveFileName(parent, caption, proposedPath, filter);
    }

    std::optional<QString> inputText(QWidget* parent, const QString& caption, const QString& label,
                                     const QString& initial, bool password) override {
        bool ok = false;
        const QString text =
            QInputDialog::getText(parent, caption, label,
                                  password ? QLineEdit::Password : QLineEdit::Normal, initial, &ok);
        if (!ok)
            return std::nullopt;
        return text;
    }

private:
    // A question may explain its answers line by line ("   Yes - ...", "   No  - ..."); the
    // lines name the buttons as the box shows them.
    static QString withButtonNames(QString text) {
        static const QRegularExpression yes(QStringLiteral("^([ \\t]*)Yes[ \\t]*-"),
                                            QRegularExpression::MultilineOption);
        static const QRegularExpression no(QStringLiteral("^([ \\t]*)No[ \\t]*-"),
                                           QRegularExpression::MultilineOption);
        text.replace(yes, QStringLiteral("\\1Да -"));
        text.replace(no, QStringLiteral("\\1Не -"));
        return text;
    }

    static QMessageBox::Icon toQt(MessageIcon icon) {
        switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        }
        return QMessageBox::NoIcon;
    }
};

Responder* g_responder = nullptr;

Responder& responder() {
    static DialogResponder dialogs;
    return g_responder ? *g_responder : dialogs;
}

} // namespace

void setResponder(Responder* r) {
    g_responder = r;
}

QString captionMessage() {
    return QStringLiteral("Съобщение");
}
QString captionWarning() {
    return QStringLiteral("Внимание");
}
QString captionError() {
    return QStringLiteral("Грешка");
}

void info(QWidget* parent, const QString& text) {
    responder().message(parent, captionMessage(), text, MessageIcon::Information);
}

void warning(QWidget* parent, const QString& text) {
    responder().message(parent, captionWarning(), text, MessageIcon::Warning);
}

void error(QWidget* parent, const QString& text) {
    responder().message(parent, captionError(), text, MessageIcon::Error);
}

void message(QWidget* parent, const QString& caption, const QString& text, MessageIcon icon) {
    responder().message(parent, caption, text, icon);
}

bool ask(QWidget* parent, const QString& text, const QString& caption) {
    return responder().ask(parent, caption, text);
}

QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                     const QString& filter) {
    return responder().openFileName(parent, caption, folder, filter);
}

QString saveFileName(QWidget* parent, const QString& caption, const QString& proposedPath,
                     const QString& filter) {
    return responder().saveFileName(parent, caption, proposedPath, filter);
}

std::optional<QString> inputText(QWidget* parent, const QString& caption, const QString& label,
                                 const QString& initial, bool password) {
    return responder().inputText(parent, caption, label, initial, password);
}

int Responder::runModal(QDialog& dialog) {
    return dialog.exec();
}

int runModal(QDialog& dialog) {
    return responder().runModal(dialog);
}

} // namespace ui
