#pragma once

#include "warehouse/part_catalogue.h"

#include <QFrame>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace store {
class Database;
}

namespace warehouse {

// The floating panel in which a part is created or edited (nomenclature and delivery windows).
// Saving runs the part's checks; a refusal is shown with its message and focuses the field.
class PartEditPanel : public QFrame {
    Q_OBJECT
public:
    // saveButtonName: "btnRec" in the nomenclature, "btnRecNewPart" in the delivery.
    PartEditPanel(store::Database& db, const QString& saveButtonName, QWidget* parent);

    // The delivery asks for the designation in its own words.
    void setNoDesignationMessage(const QString& text) { noDesignationMessage_ = text; }

    void startNew(const QString& barcode = {});
    void startEdit(qint64 partId);
    bool isEditing() const { return !isHidden(); }
    // A code from the scanner while the panel is shown.
    void setBarcode(const QString& code);
    // Whether the types or makers window was used since the panel was shown.
    bool namesChanged() const { return namesChanged_; }

    void openTypes();
    void openMakers();

public Q_SLOTS:
    void save();
    void cancel();

Q_SIGNALS:
    void saved(qint64 partId);
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillPicks();
    void pick(QComboBox* field, std::optional<qint64> id);
    void showCentred();
    void focusField(PartField field);

    store::Database& db_;
    Part part_;
    QString noDesignationMessage_;
    bool namesChanged_ = false;
    QLineEdit* dbPart_;
    QComboBox* lookType_;
    QComboBox* lookMarka_;
    QLineEdit* dbBarcode_;
    QLineEdit* ePartNo_;
    QLineEdit* eCatalogs_;
    QPlainTextEdit* moreInfo_;
    QPushButton* btnRec_;
    QPoint dragOffset_;
};

} // namespace warehouse
