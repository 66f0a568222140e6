#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <optional>

class QComboBox;
class QLineEdit;
class QWidget;

namespace store {
class Database;
}

namespace vehicles {

// The pick fields of a window that asks for a car. Missing ones stay null: the operations
// catalogue has the brand alone, the inspection has no power and displacement.
struct PickChainFields {
    QComboBox* brand = nullptr;
    QComboBox* model = nullptr;
    QComboBox* modification = nullptr;
    QComboBox* period = nullptr;
    QComboBox* engine = nullptr;
    QLineEdit* kw = nullptr;
    QLineEdit* ccm = nullptr;
    QWidget* afterEngine = nullptr; // gets the focus once power and displacement are filled
};

enum class EngineStep { FillPowerAndDisplacement, TrimOnly };

// Brand -> model -> modification -> period -> engine. Each field offers what the catalogue
// knows for the field before it; leaving a field with an unknown value asks whether to add
// it, and changing a field clears the ones that depend on it.
class VehiclePickChain : public QObject {
    Q_OBJECT
public:
    VehiclePickChain(store::Database& db, const PickChainFields& fields, EngineStep engineStep,
                     QObject* parent);

    void fillBrandList();
    void leaveBrand();
    void leaveModel();
    void leaveModification();
    void leavePeriod();
    void leaveEngine();

    // While a stored car is edited, its engine is put back whenever the dependents are reset.
    void setStoredEngine(const std::optional<QString>& engine) { storedEngine_ = engine; }
    // Remembers the field's selected index as it is when the user enters it.
    void markEntry(QComboBox* field);
    bool periodChangedSinceEntry() const;

    // Forgets the brand and model found last (a new car is entered).
    void resetSelection() {
        brandId_.reset();
        modelId_.reset();
    }

    std::optional<qint64> brandId() const { return brandId_; }
    std::optional<qint64> modelId() const { return modelId_; }

    // Index of the first entry equal to the field's text ignoring case, -1 when none.
    static int selectedIndex(const QComboBox* field);
    // Selects the last entry equal to text ignoring case; when there is none, appends text to
    // the list without selecting it (the field stays empty).
    static void selectOrAppend(QComboBox* field, const QString& text);
    // Editable pick field with a list that never grows by typing.
    static void preparePickField(QComboBox* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void resetAfterBrand();
    void fillModelList();
    void fillModificationList();
    void fillPeriodList();
    void fillEngineList();
    void clearDependents(bool modification, bool powerAndDisplacement);
    void restoreStoredEngine();
    void refuse(QComboBox* field);
    bool entryChanged(QComboBox* field) const;

    store::Database& db_;
    PickChainFields f_;
    EngineStep engineStep_;
    std::optional<QString> storedEngine_;
    std::optional<qint64> brandId_;
    std::optional<qint64> modelId_;
    QHash<QComboBox*, int> entryIndex_;
    // The period whose engines the engine list holds, while nothing before it has changed.
    std::optional<QString> handledPeriod_;
    bool leaving_ = false;
};

} // namespace vehicles
