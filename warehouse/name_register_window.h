#pragma once

#include "warehouse/part_catalogue.h"

#include <QDialog>
#include <optional>

class QFrame;
class QLineEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;

namespace store {
class Database;
}

namespace warehouse {

// A short list of unique names with a panel to add or rename one: the part types and the part
// makers. It opens with a new entry started; when it closes, its current entry is the one the
// calling window takes.
class NameRegisterWindow : public QDialog {
    Q_OBJECT
public:
    NameRegisterWindow(store::Database& db, const NameList& list, const QString& title,
                       const QString& nameLabel, QWidget* parent = nullptr);

    std::optional<qint64> currentId() const;
    bool isEditing() const { return editing_; }

public Q_SLOTS:
    void newEntry();
    void editEntry();
    void saveEntry();
    void cancelEdit();

protected:
    void reject() override;

private:
    void reload(std::optional<qint64> focusId = std::nullopt);
    void showPanel(qint64 id, const QString& name);
    void hidePanel();

    store::Database& db_;
    NameList list_;
    qint64 editedId_ = 0;
    bool editing_ = false;
    QSqlQueryModel* model_;
    QTableView* grid_;
    QPushButton* btnIns_;
    QPushButton* btnEdit_;
    QPushButton* btnExit_;
    QFrame* panel_;
    QLineEdit* dbType_;
    QPushButton* btnRec_;
};

} // namespace warehouse

// The part types.
class TsrType : public warehouse::NameRegisterWindow {
    Q_OBJECT
public:
    explicit TsrType(store::Database& db, QWidget* parent = nullptr);
};

// The part makers.
class TsrPartMarka : public warehouse::NameRegisterWindow {
    Q_OBJECT
public:
    explicit TsrPartMarka(store::Database& db, QWidget* parent = nullptr);
};
