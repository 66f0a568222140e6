#include "shell/first_password_dialog.h"

#include "shell/login.h"
#include "ui/message_box.h"

namespace shell {

namespace {

const QString kCaption = QStringLiteral("Парола на администратора");

} // namespace

bool askFirstPassword(QWidget* parent, store::Database& db) {
    for (;;) {
        const std::optional<QString> first =
            ui::inputText(parent, kCaption,
                          QStringLiteral("Базата данни е нова и администраторът още няма парола.\n"
                                         "Въведете паролата на потребителя \"%1\":")
                              .arg(kFirstLoginName),
                          {}, true);
        if (!first)
            return false;
        std::optional<QString> repeated;
        if (!first->trimmed().isEmpty()) {
            repeated = ui::inputText(parent, kCaption,
                                     QStringLiteral("Въведете паролата още веднъж:"), {}, true);
            if (!repeated)
                return false;
        }
        if (const auto problem = firstPasswordProblem(*first, repeated.value_or(QString()))) {
            ui::error(parent, *problem);
            continue;
        }
        // Someone else may have set it meanwhile; the login then asks for that password.
        setFirstPassword(db, *first);
        return true;
    }
}

} // namespace shell
