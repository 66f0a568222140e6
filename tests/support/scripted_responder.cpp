#include "support/scripted_responder.h"

namespace testing {

QStringList ScriptedResponder::texts() const {
    QStringList list;
    for (const Message& m : messages)
        list << m.text;
    return list;
}

void ScriptedResponder::clear() {
    messages.clear();
    questions.clear();
    answers.clear();
    fileNames.clear();
    inputs.clear();
}

void ScriptedResponder::message(QWidget*, const QString& caption, const QString& text,
                                ui::MessageIcon icon) {
    messages.append({caption, text, icon});
}

bool ScriptedResponder::ask(QWidget*, const QString&, const QString& text) {
    questions << text;
    return answers.isEmpty() ? false : answers.dequeue();
}

QString ScriptedResponder::openFileName(QWidget*, const QString&, const QString&, const QString&) {
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QString ScriptedResponder::saveFileName(QWidget*, const QString&, const QString&, const QString&) {
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

std::optional<QString> ScriptedResponder::inputText(QWidget*, const QString&, const QString&,
                                                    const QString&, bool) {
    return inputs.isEmpty() ? std::nullopt : inputs.dequeue();
}

int ScriptedResponder::runModal(QDialog& dialog) {
    return modalRunner ? modalRunner(dialog) : ui::Responder::runModal(dialog);
}

} // namespace testing
