#include "app/program_start.h"

#include "app/version.h"
#include "shell/user_settings.h"
#include "store/compaction.h"
#include "ui/message_box.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>

namespace app {

namespace {

const QString kOlderVersionQuestion =
    QStringLiteral("В момента стартирате по-стара версия на програмата\n"
                   "в сравнение с последното стартиране.\n\n"
                   "Желаете ли да продължите?");
const QString kMissingDatabaseQuestion =
    QStringLiteral("Не е намерена базата данни!\n\nЖелаете ли да я потърсите ръчно?");
const QString kOpenFailed = QStringLiteral("Грешка при отварянето на базата данни!");
const QString kRestoreQuestion = QStringLiteral("Желаете ли да възстановите архив?");

bool versionAccepted(QWidget* parent, QSettings& settings) {
    if (isOlderThanLastStart(kProgramVersion, settings.value(shell::keys::version)) &&
        !ui::ask(parent, kOlderVersionQuestion, ui::captionWarning()))
        return false;
    settings.setValue(shell::keys::version, kProgramVersion);
    return true;
}

// Asks for the file until it exists; false when the user gives up.
bool locateMissingFile(QWidget* parent, QSettings& settings, DatabaseChoice& choice,
                       const SplashVisibility& splashVisible) {
    while (!QFileInfo::exists(choice.path)) {
        if (!ui::ask(parent, kMissingDatabaseQuestion, ui::captionError()))
            return false;
        if (splashVisible)
            splashVisible(false);
        const QString chosen = ui::openFileName(
            parent, QStringLiteral("Избор на база данни"), QFileInfo(choice.path).absolutePath(),
            QStringLiteral("База данни (*.mdz);;Всички файлове (*)"));
        if (chosen.isEmpty())
            return false;
        choice.path = chosen;
        if (choice.remember)
            settings.setValue(shell::keys::baseFile, chosen);
        if (splashVisible)
            splashVisible(true);
    }
    return true;
}

void offerRestore(QWidget* parent) {
    // The restore from an archive comes with the archive functions; until then either answer
    // ends the program, leaving the file untouched.
    ui::ask(parent, kRestoreQuestion, QStringLiteral("Възстановяване"));
}

} // namespace

void keepCNumericLocale() {
    std::setlocale(LC_NUMERIC, "C");
}

bool setUpLocale() {
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    keepCNumericLocale();
    // Owned by the application, so that it lives as long as the texts it translates.
    auto* qtTexts = new QTranslator(QCoreApplication::instance());
    if (!qtTexts->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qtTexts;
        return false;
    }
    QCoreApplication::installTranslator(qtTexts);
    return true;
}

bool isOlderThanLastStart(double running, const QVariant& stored) {
    bool ok = false;
    const double last = stored.toDouble(&ok);
    return stored.isValid() && ok && running < last;
}

DatabaseChoice chooseDatabase(const QSettings& settings, const QString& commandLinePath) {
    if (!commandLinePath.isEmpty())
        return {commandLinePath, false, false};
    const QString stored = settings.value(shell::keys::baseFile).toString();
    if (!stored.isEmpty())
        return {stored, false, true};
    return {defaultDatabasePath(), true, true};
}

std::optional<StartedDatabase> runDatabaseStart(QWidget* parent, QSettings& settings,
                                                const QString& commandLinePath,
                                                const SplashVisibility& splashVisible) {
    if (!versionAccepted(parent, settings))
        return std::nullopt;
    DatabaseChoice choice = chooseDatabase(settings, commandLinePath);
    if (!choice.createIfMissing && !locateMissingFile(parent, settings, choice, splashVisible))
        return std::nullopt;

    StartedDatabase started;
    try {
        started = startDatabase(choice.path, choice.createIfMissing);
    } catch (const store::DbError& e) {
        qWarning("Cannot open %s: %s", qPrintable(choice.path), qPrintable(e.message()));
        ui::error(parent, kOpenFailed);
        offerRestore(parent);
        return std::nullopt;
    }
    if (choice.remember)
        settings.setValue(shell::keys::baseFile, started.db->filePath());
    if (!started.created)
        store::compactIfWorthIt(*started.db);
    for (const store::UpgradeNotice& notice : started.notices)
        ui::message(parent, notice.caption, notice.text, ui::MessageIcon::Exclamation);
    return started;
}

} // namespace app
