#include "support/test_environment.h"

#include "app/program_start.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

namespace testing {

TestEnvironment::TestEnvironment() {
    QCoreApplication::setOrganizationName(QStringLiteral("Brenvik"));
    QCoreApplication::setApplicationName(QStringLiteral("Motrela"));
    QDir(dir_.path()).mkpath(QStringLiteral("config"));
    QDir(dir_.path()).mkpath(QStringLiteral("data"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       path(QStringLiteral("config")));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path(QStringLiteral("config")));
    qputenv("XDG_CONFIG_HOME", path(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", path(QStringLiteral("data")).toLocal8Bit());
    ui::setResponder(&responder_);
    app::keepCNumericLocale();
}

TestEnvironment::~TestEnvironment() {
    ui::setResponder(nullptr);
}

QString TestEnvironment::path(const QString& name) const {
    return QDir(dir_.path()).filePath(name);
}

std::unique_ptr<store::Database> TestEnvironment::newDatabase(const QString& name) {
    return store::Database::createFile(path(name));
}

std::unique_ptr<store::Database> TestEnvironment::otherWorkstation(const QString& name) {
    return store::Database::openFile(path(name));
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace testing
