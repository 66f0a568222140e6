#pragma once

#include <QMainWindow>

namespace store {
class Database;
}

// The main window. It holds the connection for the whole run; the windows of the workshop are
// opened from its commands.
class TsrMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TsrMain(store::Database& db, QWidget* parent = nullptr);

    // "Управление на автосервиз - версия 1.00"
    static QString captionText();

private:
    store::Database& db_;
};
