#pragma once

#include "store/database.h"
#include "support/scripted_responder.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <memory>

namespace testing {

// One per test: a temporary folder that also holds the per-user settings and the data folder,
// and a scripted responder in place of the real dialogs. Nothing touches the user's own files.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    QString path(const QString& name) const;
    // A fresh database with every table, the currencies and the administrator.
    std::unique_ptr<store::Database>
    newDatabase(const QString& name = QStringLiteral("Drumvel.mdz"));
    // A second connection to a database of this environment, as another workstation has it.
    std::unique_ptr<store::Database>
    otherWorkstation(const QString& name = QStringLiteral("Drumvel.mdz"));
    ScriptedResponder& responder() { return responder_; }

private:
    QTemporaryDir dir_;
    ScriptedResponder responder_;
};

// Contents of a file, to show that something left it untouched.
QByteArray fileBytes(const QString& path);

} // namespace testing
