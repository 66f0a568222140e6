#include "vehicles/vehicle_pick_chain_controls.h"

#include "store/database.h"
#include "ui/message_box.h"
#include "vehicles/vehicle_catalogue.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>

namespace vehicles {

namespace {

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString trimmedText(QComboBox* field) {
    const QString text = field->currentText().trimmed();
    if (text != field->currentText())
        field->setEditText(text);
    return text;
}

void fillList(QComboBox* field, const QStringList& items) {
    field->clear();
    field->addItems(items);
    field->setCurrentIndex(-1);
    field->setEditText(QString());
}

// Selects the entry that holds exactly text (the one just added).
void selectExact(QComboBox* field, const QString& text) {
    const int at = field->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at >= 0)
        field->setCurrentIndex(at);
}

} // namespace

VehiclePickChain::VehiclePickChain(store::Database& db, const PickChainFields& fields,
                                   EngineStep engineStep, QObject* parent)
    : QObject(parent), db_(db), f_(fields), engineStep_(engineStep) {
    for (QComboBox* field : {f_.brand, f_.model, f_.modification, f_.period, f_.engine}) {
        if (!field)
            continue;
        preparePickField(field);
        field->installEventFilter(this);
    }
}

void VehiclePickChain::preparePickField(QComboBox* field) {
    field->setEditable(true);
    field->setInsertPolicy(QComboBox::NoInsert);
    field->setDuplicatesEnabled(true);
}

int VehiclePickChain::selectedIndex(const QComboBox* field) {
    const QString text = field->currentText();
    for (int i = 0; i < field->count(); ++i) {
        if (field->itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void VehiclePickChain::selectOrAppend(QComboBox* field, const QString& text) {
    for (int i = field->count() - 1; i >= 0; --i) {
        if (field->itemText(i).compare(text, Qt::CaseInsensitive) == 0) {
            field->setCurrentIndex(i);
            return;
        }
    }
    const QString kept = field->currentText();
    field->addItem(text);
    field->setEditText(kept);
}

void VehiclePickChain::markEntry(QComboBox* field) {
    entryIndex_[field] = selectedIndex(field);
}

bool VehiclePickChain::periodChangedSinceEntry() const {
    // Passing through a period whose engines are already offered must not refill the engine
    // nor clear kW and ccm.
    return !handledPeriod_ || *handledPeriod_ != f_.period->currentText().trimmed();
}

bool VehiclePickChain::entryChanged(QComboBox* field) const {
    return selectedIndex(field) != entryIndex_.value(field, -1);
}

bool VehiclePickChain::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QComboBox*>(watched);
    if (!field)
        return false;
    if (event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            markEntry(field);
    } else if (event->type() == QEvent::FocusOut && !leaving_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Opening the drop-down or a message box is not leaving the field.
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            return false;
        leaving_ = true;
        if (field == f_.brand)
            leaveBrand();
        else if (field == f_.model)
            leaveModel();
        else if (field == f_.modification)
            leaveModification();
        else if (field == f_.period && periodChangedSinceEntry())
            leavePeriod();
        else if (field == f_.engine)
            leaveEngine();
        leaving_ = false;
    }
    return false;
}

void VehiclePickChain::refuse(QComboBox* field) {
    field->setEditText(QString());
    field->setFocus();
    if (field->lineEdit())
        field->lineEdit()->selectAll();
}

void VehiclePickChain::fillBrandList() {
    QStringList names;
    for (const NamedRow& row : brands(db_))
        names << row.name;
    fillList(f_.brand, names);
}

void VehiclePickChain::leaveBrand() {
    const QString text = trimmedText(f_.brand);
    if (text.isEmpty())
        return;
    const std::optional<qint64> previous = brandId_;
    brandId_ = findBrand(db_, text);
    if (!brandId_) {
        const QString question = QStringLiteral("Не е намерена марка ") + quoted(text) +
                                 QStringLiteral("\n\nЖелаете ли да бъде добавена в базата данни?");
        if (ui::ask(f_.brand, question, QStringLiteral("Добавяне на марка"))) {
            brandId_ = addBrand(db_, text);
            fillBrandList();
            selectExact(f_.brand, text);
        } else {
            // A slip of the keyboard must not throw away the models of the brand chosen before.
            brandId_ = previous;
            refuse(f_.brand);
            return;
        }
    }
    if (f_.model && entryChanged(f_.brand))
        resetAfterBrand();
}

void VehiclePickChain::resetAfterBrand() {
    clearDependents(true, true);
    restoreStoredEngine();
    modelId_.reset();
    fillModelList();
}

void VehiclePickChain::clearDependents(bool modification, bool powerAndDisplacement) {
    handledPeriod_.reset();
    if (modification && f_.modification)
        f_.modification->setEditText(QString());
    if (f_.period)
        f_.period->setEditText(QString());
    if (f_.engine)
        f_.engine->setEditText(QString());
    if (powerAndDisplacement) {
        if (f_.kw)
            f_.kw->clear();
        if (f_.ccm)
            f_.ccm->clear();
    }
}

void VehiclePickChain::restoreStoredEngine() {
    if (storedEngine_ && f_.engine)
        f_.engine->setEditText(*storedEngine_);
}

void VehiclePickChain::fillModelList() {
    QStringList names;
    if (brandId_) {
        for (const NamedRow& row : models(db_, *brandId_))
            names << row.name;
    }
    fillList(f_.model, names);
}

void VehiclePickChain::leaveModel() {
    const QString text = trimmedText(f_.model);
    if (text.isEmpty() || !brandId_)
        return;
    modelId_ = findModel(db_, *brandId_, text);
    if (!modelId_) {
        const QString question = QStringLiteral("Не е намерен модел ") +
                                 quoted(f_.brand->currentText() + QLatin1Char(' ') + text) +
                                 QStringLiteral("\n\nЖелаете ли да бъде добавен в базата данни?");
        if (ui::ask(f_.model, question, QStringLiteral("Добавяне на модел"))) {
            modelId_ = addModel(db_, *brandId_, text);
            fillModelList();
            selectExact(f_.model, text);
        } else {
            refuse(f_.model);
        }
    }
    if (f_.modification && entryChanged(f_.model)) {
        clearDependents(false, false);
        restoreStoredEngine();
        fillModificationList();
    }
}

void VehiclePickChain::fillModificationList() {
    QStringList names;
    if (modelId_) {
        for (const CatalogueRow& row : modelRows(db_, *modelId_))
            names << row.modification;
    }
    fillList(f_.modification, names);
}

void VehiclePickChain::leaveModification() {
    const QString text = trimmedText(f_.modification);
    if (text.isEmpty() || !brandId_ || !modelId_)
        return;
    if (findRows(db_, *brandId_, *modelId_, text).isEmpty()) {
        const QString question = QStringLiteral("Не е намеренa модификация ") +
                                 quoted(f_.brand->currentText() + QLatin1Char(' ') +
                                        f_.model->currentText() + QLatin1Char(' ') + text) +
                                 QStringLiteral("\n\nЖелаете ли да бъде добавенa в базата данни?");
        if (ui::ask(f_.modification, question, QStringLiteral("Добавяне на модификация"))) {
            addModification(db_, *brandId_, *modelId_, text);
            fillModificationList();
            selectExact(f_.modification, text);
        } else {
            refuse(f_.modification);
        }
    }
    if (entryChanged(f_.modification)) {
        clearDependents(false, true);
        restoreStoredEngine();
        fillPeriodList();
    }
}

void VehiclePickChain::fillPeriodList() {
    if (!f_.period || !brandId_ || !modelId_)
        return;
    const QList<CatalogueRow> rows =
        findRows(db_, *brandId_, *modelId_, f_.modification->currentText());
    if (rows.isEmpty())
        return;
    QStringList periods;
    for (const CatalogueRow& row : rows)
        periods << row.period;
    fillList(f_.period, periods);
    f_.period->setCurrentIndex(0);
    handledPeriod_.reset();
}

void VehiclePickChain::leavePeriod() {
    const QString text = trimmedText(f_.period);
    if (text.isEmpty() || !brandId_ || !modelId_)
        return;
    const QString modification = f_.modification->currentText();
    if (findRows(db_, *brandId_, *modelId_, modification, text).isEmpty()) {
        const QString question = QStringLiteral("За ") + f_.brand->currentText() +
                                 QLatin1Char(' ') + f_.model->currentText() + QLatin1Char(' ') +
                                 modification +
                                 QStringLiteral("\nне е намерен период на производство ") + text +
                                 QStringLiteral(". Да бъде ли добавен?");
        if (ui::ask(f_.period, question, QStringLiteral("Добавяне на период")))
            addPeriod(db_, *brandId_, *modelId_, modification, text);
    }
    if (f_.kw)
        f_.kw->clear();
    if (f_.ccm)
        f_.ccm->clear();
    fillEngineList();
    restoreStoredEngine();
    handledPeriod_ = text;
}

void VehiclePickChain::fillEngineList() {
    if (!f_.engine || !brandId_ || !modelId_)
        return;
    const QList<CatalogueRow> rows = findRows(
        db_, *brandId_, *modelId_, f_.modification->currentText(), f_.period->currentText());
    if (rows.isEmpty())
        return;
    QStringList engines;
    for (const CatalogueRow& row : rows)
        engines << row.engine;
    fillList(f_.engine, engines);
    f_.engine->setCurrentIndex(0);
}

void VehiclePickChain::leaveEngine() {
    const QString text = trimmedText(f_.engine);
    if (engineStep_ == EngineStep::TrimOnly || text.isEmpty() || !brandId_ || !modelId_)
        return;
    const QList<CatalogueRow> rows = findRows(
        db_, *brandId_, *modelId_, f_.modification->currentText(), f_.period->currentText(), text);
    if (rows.isEmpty())
        return;
    if (f_.kw)
        f_.kw->setText(rows.first().kw);
    if (f_.ccm)
        f_.ccm->setText(rows.first().ccm);
    if (f_.afterEngine)
        f_.afterEngine->setFocus();
}

} // namespace vehicles
