#pragma once

#include "ui/message_box.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <functional>

namespace testing {

// Stands in for every message box and dialog: records what the program said and answers
// questions and dialogs from queues filled by the test. An unscripted question is answered No
// and an unscripted dialog is cancelled, so nothing ever blocks a test.
class ScriptedResponder : public ui::Responder {
public:
    struct Message {
        QString caption;
        QString text;
        ui::MessageIcon icon;
    };

    QList<Message> messages;
    QStringList questions;
    QQueue<bool> answers;
    QQueue<QString> fileNames;
    QQueue<std::optional<QString>> inputs;
    // Stands in for the modal loop of the program's own windows when set; they run for real
    // otherwise.
    std::function<int(QDialog&)> modalRunner;

    QStringList texts() const;
    void clear();

    void message(QWidget*, const QString& caption, const QString& text,
                 ui::MessageIcon icon) override;
    bool ask(QWidget*, const QString& caption, const QString& text) override;
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override;
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override;
    std::optional<QString> inputText(QWidget*, const QString&, const QString&, const QString&,
                                     bool) override;
    int runModal(QDialog& dialog) override;
};

} // namespace testing
