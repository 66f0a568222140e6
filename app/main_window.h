#pragma once

#include <QHash>
#include <QMainWindow>

#include "store/rights.h"

#include <functional>
#include <optional>

class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QToolBar;

namespace shell {
class Session;
}
namespace store {
class Database;
}
namespace warehouse {
struct WarehouseSettings;
}

// The main window. It holds the connection and the session for the whole run; every other
// window is opened from its command panel, menus and toolbar, each command under its right.
class TsrMain : public QMainWindow {
    Q_OBJECT
public:
    TsrMain(store::Database& db, shell::Session& session, QWidget* parent = nullptr);

    // "Управление на автосервиз - версия 1.00"
    static QString captionText();

    // Runs a command by its handler name ("mnKasaClick"). Returns false, doing nothing and
    // saying nothing, when the user lacks the command's right or its precondition fails.
    bool runCommand(const QString& handler);
    // A link of the command panel; only the exact link names run a command.
    void anchorClick(const QString& link);

    bool holdsRight(store::Right right) const;
    shell::Session& session() { return session_; }
    QString userStatusText() const;

    // Menus that windows which stay open disable while they run ("mnZapl", "mnArchiv", "mnSpr").
    void setMenuEnabled(const QString& menu, bool enabled);
    bool isMenuEnabled(const QString& menu) const;

    // The start failed or was refused: the window closes without asking.
    void setExitWithoutAsking(bool exit) { exitWithoutAsking_ = exit; }

    // The steps of the first showing: own data at the first start, the settings at the user's
    // first start, an unfinished sale of this workstation. Runs once.
    void firstShowing();

    // A second start of the program asked this one to come to the front.
    void bringToFront();

Q_SIGNALS:
    // A command passed its right and precondition checks and runs now.
    void commandRan(const QString& handler);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Command {
        std::optional<store::Right> right; // none: every user may run it
        std::function<bool()> allowed;     // further precondition; empty = always
        std::function<void()> run;         // empty: the window comes later
    };

    void buildCommands();
    void buildMenusAndToolbar();
    QWidget* buildCentralArea();
    QFrame* buildMaintenancePanel();
    QAction* commandAction(const QString& handler, const QString& text);
    void addCommand(const QString& handler, std::optional<store::Right> right,
                    std::function<void()> run = {}, std::function<bool()> allowed = {});
    bool noSaleOpen() const;
    bool ownWarehouse() const;

    void showOwnData(bool firstStart);
    void refreshIdentity();
    void refreshUserName();
    void showAbout();
    void showHelp();
    void openPresentation();
    void toggleMaintenancePanel();
    void refreshMaintenancePanel();
    void upgradeStructure();
    void addSettingsDefaults();
    void clearEngineNumbers();
    warehouse::WarehouseSettings warehouseSettings() const;
    void showCurrencyCommand(bool foreignCurrencies);
    void openSettings();
    // Runs the database start on another file and keeps working on it, without a new login.
    bool switchDatabase(const QString& path);

    store::Database& db_;
    shell::Session& session_;
    QHash<QString, Command> commands_;
    QHash<QString, QAction*> actions_;
    QHash<QString, QMenu*> menus_;
    QLabel* identity_ = nullptr;
    QLabel* fileLabel_ = nullptr;
    QLabel* userPanel_ = nullptr;
    QFrame* maintenance_ = nullptr;
    QLabel* maintenanceState_ = nullptr;
    QPlainTextEdit* memoTables_ = nullptr;
    bool exitWithoutAsking_ = false;
    bool aboutVisible_ = false;
    bool firstShowingDone_ = false;
};
