#include "warehouse/part_edit_panel.h"

#include "store/database.h"
#include "ui/barcode_reader.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "warehouse/name_register_window.h"

#include <QAction>
#include <QComboBox>
#include <QFont>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace warehouse {

namespace {} // namespace

PartEditPanel::PartEditPanel(store::Database& db, const QString& saveButtonName, QWidget* parent)
    : QFrame(parent), db_(db) {
    setObjectName(QStringLiteral("pEdit"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    installEventFilter(this);

    dbPart_ = ui::namedEdit(this, "dbPart");
    lookType_ = new QComboBox(this);
    lookType_->setObjectName(QStringLiteral("LookType"));
    lookMarka_ = new QComboBox(this);
    lookMarka_->setObjectName(QStringLiteral("lookMarka"));
    dbBarcode_ = ui::namedEdit(this, "dbBarcode");
    dbBarcode_->setMaxLength(ui::kMaxBarcodeLength);
    ui::acceptOnly(dbBarcode_, QStringLiteral("[-0-9A-Z]*"));
    ePartNo_ = ui::namedEdit(this, "ePartNo");
    ui::acceptOnly(ePartNo_, QStringLiteral("[-./0-9A-Z ]*"));
    eCatalogs_ = ui::namedEdit(this, "eCatalogs");
    eCatalogs_->setMaxLength(200);
    moreInfo_ = new QPlainTextEdit(this);
    moreInfo_->setObjectName(QStringLiteral("moreInfo"));
    moreInfo_->setFixedHeight(70);

    auto* button1 = ui::namedButton(this, "Button1", QStringLiteral("..."));
    button1->setToolTip(QStringLiteral("Типове части"));
    auto* btnAddMarka = ui::namedButton(this, "btnAddMarka", QStringLiteral("..."));
    btnAddMarka->setToolTip(QStringLiteral("Марки (производители)"));
    for (QPushButton* b : {button1, btnAddMarka})
        b->setFixedWidth(32);
    connect(button1, &QPushButton::clicked, this, &PartEditPanel::openTypes);
    connect(btnAddMarka, &QPushButton::clicked, this, &PartEditPanel::openMakers);

    // Opens the list behind the pick field that has the focus.
    auto* action2 = new QAction(this);
    action2->setObjectName(QStringLiteral("Action2"));
    action2->setShortcut(QKeySequence(Qt::Key_F3));
    action2->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action2);
    connect(action2, &QAction::triggered, this, [this] {
        if (lookType_->hasFocus())
            openTypes();
        else if (lookMarka_->hasFocus())
            openMakers();
    });

    auto withButton = [this](QWidget* field, QPushButton* b) {
        auto* row = new QHBoxLayout;
        row->addWidget(field, 1);
        row->addWidget(b);
        return row;
    };
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Означение:"), dbPart_);
    form->addRow(QStringLiteral("Тип:"), withButton(lookType_, button1));
    form->addRow(QStringLiteral("Марка:"), withButton(lookMarka_, btnAddMarka));
    form->addRow(QStringLiteral("Баркод:"), dbBarcode_);
    form->addRow(QStringLiteral("Каталожен №:"), ePartNo_);
    form->addRow(QStringLiteral("Каталози:"), eCatalogs_);
    form->addRow(QStringLiteral("Описание:"), moreInfo_);

    btnRec_ = ui::namedButton(this, saveButtonName.toLatin1().constData(), QStringLiteral("Запис"));
    auto* btnCancel = ui::namedButton(this, "btnCancel", QStringLiteral("Отказ"));
    connect(btnRec_, &QPushButton::clicked, this, &PartEditPanel::save);
    connect(btnCancel, &QPushButton::clicked, this, &PartEditPanel::cancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnRec_);
    buttons->addWidget(btnCancel);

    auto* title = new QLabel(QStringLiteral("Данни за частта"), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setFixedWidth(460);
    adjustSize();
    hide();
}

void PartEditPanel::fillPicks() {
    const auto fill = [this](QComboBox* field, const NameList& list) {
        field->clear();
        field->addItem(QString(), QVariant());
        for (const NamedEntry& entry : namesOf(db_, list))
            field->addItem(entry.name, entry.id);
    };
    fill(lookType_, kPartTypes);
    fill(lookMarka_, kPartMakers);
}

void PartEditPanel::pick(QComboBox* field, std::optional<qint64> id) {
    field->setCurrentIndex(id ? std::max(0, field->findData(*id)) : 0);
}

void PartEditPanel::startNew(const QString& barcode) {
    part_ = Part{};
    part_.barcode = barcode;
    startEdit(0);
}

void PartEditPanel::startEdit(qint64 partId) {
    if (partId != 0) {
        const auto loaded = loadPart(db_, partId);
        if (!loaded)
            return;
        part_ = *loaded;
    }
    namesChanged_ = false;
    fillPicks();
    dbPart_->setText(part_.part);
    pick(lookType_, part_.typeId);
    pick(lookMarka_, part_.makerId);
    dbBarcode_->setText(part_.barcode);
    ePartNo_->setText(part_.partNo);
    eCatalogs_->setText(part_.catalogs);
    moreInfo_->setPlainText(part_.opis);
    showCentred();
    dbPart_->setFocus();
    dbPart_->selectAll();
}

void PartEditPanel::showCentred() {
    QWidget* host = parentWidget();
    adjustSize();
    move(std::max(0, (host->width() - width()) / 2), std::max(0, (host->height() - height()) / 2));
    show();
    raise();
}

void PartEditPanel::setBarcode(const QString& code) {
    dbBarcode_->setText(code.left(ui::kMaxBarcodeLength));
}

void PartEditPanel::focusField(PartField field) {
    QWidget* target = dbPart_;
    switch (field) {
    case PartField::Type:
        target = lookType_;
        break;
    case PartField::Maker:
        target = lookMarka_;
        break;
    case PartField::Barcode:
        target = dbBarcode_;
        break;
    case PartField::Designation:
        break;
    }
    target->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(target))
        line->selectAll();
}

void PartEditPanel::save() {
    if (!isEditing())
        return;
    btnRec_->setFocus();
    Part part = part_;
    part.part = dbPart_->text().trimmed();
    dbPart_->setText(part.part);
    part.typeId = lookType_->currentData().isNull()
                      ? std::nullopt
                      : std::optional<qint64>(lookType_->currentData().toLongLong());
    part.makerId = lookMarka_->currentData().isNull()
                       ? std::nullopt
                       : std::optional<qint64>(lookMarka_->currentData().toLongLong());
    part.barcode = dbBarcode_->text();
    part.partNo = ePartNo_->text();
    part.catalogs = eCatalogs_->text();
    part.opis = moreInfo_->toPlainText();
    std::optional<PartProblem> problem;
    try {
        problem = savePart(db_, part);
    } catch (const store::DbError&) {
        ui::error(this, QStringLiteral("Такава част вече е въведена!"));
        focusField(PartField::Designation);
        return;
    }
    if (problem) {
        const bool ownWords =
            problem->kind == PartProblemKind::NoDesignation && !noDesignationMessage_.isEmpty();
        ui::warning(this, ownWords ? noDesignationMessage_ : problem->message);
        focusField(problem->field);
        return;
    }
    part_ = part;
    hide();
    Q_EMIT saved(part.id);
    Q_EMIT closed();
}

void PartEditPanel::cancel() {
    hide();
    Q_EMIT closed();
}

void PartEditPanel::openTypes() {
    TsrType types(db_, window());
    types.exec();
    namesChanged_ = true;
    const auto chosen = types.currentId();
    const auto maker = lookMarka_->currentData();
    fillPicks();
    pick(lookType_, chosen);
    lookMarka_->setCurrentIndex(std::max(0, lookMarka_->findData(maker)));
    lookType_->setFocus();
}

void PartEditPanel::openMakers() {
    TsrPartMarka makers(db_, window());
    makers.exec();
    namesChanged_ = true;
    const auto chosen = makers.currentId();
    const auto type = lookType_->currentData();
    fillPicks();
    lookType_->setCurrentIndex(std::max(0, lookType_->findData(type)));
    pick(lookMarka_, chosen);
    lookMarka_->setFocus();
}

bool PartEditPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this) {
        if (event->type() == QEvent::MouseButtonPress) {
            dragOffset_ = static_cast<QMouseEvent*>(event)->position().toPoint();
            return true;
        }
        if (event->type() == QEvent::MouseMove && parentWidget()) {
            const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            move(parentWidget()->mapFromGlobal(global) - dragOffset_);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace warehouse
