#include "invoicing/clients_window.h"

#include "store/database.h"
#include "store/list_query.h"
#include "ui/grid_export.h"
#include "ui/grid_printer.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "ui/row_list.h"

#include <QBrush>
#include <QDoubleSpinBox>
#include <QFont>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

using invoicing::ClientFirm;
using invoicing::FirmField;

namespace {

enum Column {
    ColName,
    ColId,
    ColDN,
    ColBStat,
    ColMOL,
    ColAdres,
    ColContact,
    ColPhones,
    ColMail,
    ColWeb,
    ColReduction,
    ColReductJobs
};

// Firms on alternating light yellow and light green rows, links in blue.
class FirmsModel : public QSqlQueryModel {
public:
    using QSqlQueryModel::QSqlQueryModel;
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::BackgroundRole)
            return QBrush(index.row() % 2 == 0 ? QColor(255, 255, 230) : QColor(236, 255, 236));
        if (role == Qt::ForegroundRole)
            return QBrush(index.column() == ColMail || index.column() == ColWeb ? Qt::blue
                                                                                : Qt::black);
        return QSqlQueryModel::data(index, role);
    }
};

QLineEdit* digitsEdit(QWidget* parent, const char* name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    // Only the digits get in; every other key is dropped.
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

QLineEdit* textEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QDoubleSpinBox* percentEdit(QWidget* parent, const char* name) {
    auto* edit = new QDoubleSpinBox(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setRange(0, 100);
    edit->setDecimals(2);
    edit->setSuffix(QStringLiteral(" %"));
    return edit;
}

} // namespace

TsmPeoples::TsmPeoples(store::Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("TsmPeoples"));
    setWindowTitle(QStringLiteral("Въвеждане/редакция на клиенти"));
    buildList();
    buildPanel();
    reload();
    if (model_->rowCount() > 0)
        grid_->selectRow(0);
    grid_->resizeColumnsToContents();
    resize(1000, 560);
}

void TsmPeoples::buildList() {
    model_ = new FirmsModel(this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("Grid"));
    grid_->setModel(model_);
    ui::prepareRowList(grid_);
    connect(grid_, &QTableView::doubleClicked, this, &TsmPeoples::editFirm);

    btnNew_ = ui::namedButton(this, "btnNew", QStringLiteral("Нов"));
    btnEdit_ = ui::namedButton(this, "btnEdit", QStringLiteral("Редакция"));
    btnDel_ = ui::namedButton(this, "btnDel", QStringLiteral("Изтриване"));
    auto* btnPrn = ui::namedButton(this, "btnPrn", QStringLiteral("Печат"));
    auto* btnExp = ui::namedButton(this, "btnExp", QStringLiteral("Експорт"));
    auto* btnExit = ui::namedButton(this, "btnExit", QStringLiteral("Изход"));
    connect(btnNew_, &QPushButton::clicked, this, &TsmPeoples::newFirm);
    connect(btnEdit_, &QPushButton::clicked, this, &TsmPeoples::editFirm);
    connect(btnDel_, &QPushButton::clicked, this, &TsmPeoples::deleteFirm);
    connect(btnPrn, &QPushButton::clicked, this, &TsmPeoples::printList);
    connect(btnExp, &QPushButton::clicked, this, &TsmPeoples::exportList);
    connect(btnExit, &QPushButton::clicked, this, &TsmPeoples::reject);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btnNew_, btnEdit_, btnDel_, btnPrn, btnExp})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(btnExit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(grid_);
}

void TsmPeoples::buildPanel() {
    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("grEdit"));
    panel_->setFrameShape(QFrame::Panel);
    panel_->setFrameShadow(QFrame::Raised);
    panel_->setAutoFillBackground(true);
    panel_->installEventFilter(this);

    eName_ = textEdit(panel_, "eName");
    eDN_ = digitsEdit(panel_, "eDN", 10);
    eBStat_ = digitsEdit(panel_, "eBStat", 13);
    eAdres_ = textEdit(panel_, "eAdres");
    eMOL_ = textEdit(panel_, "eMOL");
    eContact_ = textEdit(panel_, "eContact");
    ePhone_ = textEdit(panel_, "ePhone");
    eMail_ = textEdit(panel_, "eMail");
    eWeb_ = textEdit(panel_, "eWeb");
    eMemo_ = new QPlainTextEdit(panel_);
    eMemo_->setObjectName(QStringLiteral("eMemo"));
    eMemo_->setFixedHeight(60);
    eOtst_ = percentEdit(panel_, "eOtst");
    eOtstTrud_ = percentEdit(panel_, "eOtstTrud");
    connect(eName_, &QLineEdit::editingFinished, this,
            [this] { eName_->setText(eName_->text().trimmed()); });
    connect(eAdres_, &QLineEdit::editingFinished, this,
            [this] { eAdres_->setText(eAdres_->text().trimmed()); });
    connect(eMOL_, &QLineEdit::editingFinished, this,
            [this] { eMOL_->setText(eMOL_->text().trimmed()); });

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Име на фирмата:"), eName_);
    form->addRow(QStringLiteral("Данъчен №:"), eDN_);
    form->addRow(QStringLiteral("БУЛСТАТ:"), eBStat_);
    form->addRow(QStringLiteral("Адрес:"), eAdres_);
    form->addRow(QStringLiteral("МОЛ:"), eMOL_);
    form->addRow(QStringLiteral("Лице за контакт:"), eContact_);
    form->addRow(QStringLiteral("Телефони:"), ePhone_);
    form->addRow(QStringLiteral("E-mail:"), eMail_);
    form->addRow(QStringLiteral("Web:"), eWeb_);
    form->addRow(QStringLiteral("Бележки:"), eMemo_);
    form->addRow(QStringLiteral("Отстъпка за части:"), eOtst_);
    form->addRow(QStringLiteral("Отстъпка за труд:"), eOtstTrud_);

    btnRec_ = ui::namedButton(panel_, "btnRec", QStringLiteral("Запис"));
    auto* btnCancel = ui::namedButton(panel_, "BtnCancel", QStringLiteral("Отказ"));
    connect(btnRec_, &QPushButton::clicked, this, &TsmPeoples::saveFirm);
    connect(btnCancel, &QPushButton::clicked, this, &TsmPeoples::cancelEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnRec_);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(panel_);
    auto* title = new QLabel(QStringLiteral("Данни за клиента"), panel_);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    layout->addLayout(form);
    layout->addLayout(buttons);
    panel_->setMinimumWidth(460);
    panel_->adjustSize();
    panel_->hide();
}

void TsmPeoples::reload(std::optional<qint64> focusId) {
    const std::optional<qint64> keep = focusId ? focusId : currentFirmId();
    try {
        ui::showRows(
            *model_,
            store::listQuery(db_, QStringLiteral("SELECT Name, ID, DN, BStat, MOL, Adres, Contact, "
                                                 "phones, email, web, Reduction, ReductJobs "
                                                 "FROM firms ORDER BY Name, ID")),
            {"Име", "№", "Данъчен №", "БУЛСТАТ", "МОЛ", "Адрес", "Лице за контакт", "Телефони",
             "E-mail", "Web", "Отстъпка части %", "Отстъпка труд %"});
    } catch (const store::DbError& e) {
        model_->clear();
        ui::error(this, e.message());
    }
    if (keep)
        selectFirm(*keep);
    btnEdit_->setEnabled(model_->rowCount() > 0);
    btnDel_->setEnabled(model_->rowCount() > 0);
}

void TsmPeoples::selectFirm(qint64 id) {
    ui::selectRowWithId(grid_, ColId, id);
}

std::optional<qint64> TsmPeoples::currentFirmId() const {
    return ui::currentRowId(grid_, ColId);
}

void TsmPeoples::showPanel(const ClientFirm& firm) {
    editing_ = true;
    editedId_ = firm.id;
    eName_->setText(firm.name);
    eDN_->setText(firm.dn);
    eBStat_->setText(firm.bstat);
    eAdres_->setText(firm.adres);
    eMOL_->setText(firm.mol);
    eContact_->setText(firm.contact);
    ePhone_->setText(firm.phones);
    eMail_->setText(firm.email);
    eWeb_->setText(firm.web);
    eMemo_->setPlainText(firm.moreInfo);
    eOtst_->setValue(firm.reduction);
    eOtstTrud_->setValue(firm.reductJobs);
    panel_->adjustSize();
    panel_->move((width() - panel_->width()) / 2, std::max(0, (height() - panel_->height()) / 2));
    panel_->show();
    panel_->raise();
    for (QWidget* w : {static_cast<QWidget*>(grid_), static_cast<QWidget*>(btnNew_),
                       static_cast<QWidget*>(btnEdit_), static_cast<QWidget*>(btnDel_)})
        w->setEnabled(false);
    eName_->setFocus();
    eName_->selectAll();
}

void TsmPeoples::hidePanel() {
    editing_ = false;
    panel_->hide();
    grid_->setEnabled(true);
    btnNew_->setEnabled(true);
    btnEdit_->setEnabled(model_->rowCount() > 0);
    btnDel_->setEnabled(model_->rowCount() > 0);
    btnNew_->setFocus();
}

ClientFirm TsmPeoples::panelFirm() const {
    ClientFirm f;
    f.id = editedId_;
    f.name = eName_->text();
    f.dn = eDN_->text();
    f.bstat = eBStat_->text();
    f.adres = eAdres_->text();
    f.mol = eMOL_->text();
    f.contact = eContact_->text();
    f.phones = ePhone_->text();
    f.email = eMail_->text();
    f.web = eWeb_->text();
    f.moreInfo = eMemo_->toPlainText();
    f.reduction = eOtst_->value();
    f.reductJobs = eOtstTrud_->value();
    return f;
}

QLineEdit* TsmPeoples::fieldFor(FirmField field) const {
    switch (field) {
    case FirmField::TaxNumber:
        return eDN_;
    case FirmField::Bulstat:
        return eBStat_;
    case FirmField::Name:
        break;
    }
    return eName_;
}

void TsmPeoples::newFirm() {
    showPanel(ClientFirm{});
}

void TsmPeoples::editFirm() {
    const auto id = currentFirmId();
    if (!id)
        return;
    if (const auto firm = invoicing::loadFirm(db_, *id))
        showPanel(*firm);
}

void TsmPeoples::startEditingFirm(qint64 id) {
    selectFirm(id);
    if (currentFirmId() == id)
        editFirm();
}

void TsmPeoples::openWithClientName(const QString& name) {
    if (name.isEmpty())
        return;
    if (const auto firm = invoicing::findFirmByName(db_, name)) {
        selectFirm(firm->id);
        return;
    }
    ClientFirm fresh;
    fresh.name = name.trimmed();
    showPanel(fresh);
    if (!fresh.name.isEmpty())
        eDN_->setFocus();
}

void TsmPeoples::saveFirm() {
    btnRec_->setFocus();
    ClientFirm firm = panelFirm();
    try {
        if (const auto problem = invoicing::saveFirm(db_, firm)) {
            ui::warning(this, problem->message);
            QLineEdit* field = fieldFor(problem->field);
            field->setFocus();
            field->selectAll();
            return;
        }
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
        return;
    }
    hidePanel();
    reload(firm.id);
    grid_->resizeColumnsToContents();
}

void TsmPeoples::cancelEdit() {
    hidePanel();
}

void TsmPeoples::deleteFirm() {
    const auto id = currentFirmId();
    if (!id)
        return;
    try {
        if (invoicing::firmHasLedgerRecords(db_, *id)) {
            ui::message(this, QStringLiteral(" Изтриване"),
                        QStringLiteral("Не можете да изтриете този клиент,\nзащото има данни за "
                                       "него в справките!"),
                        ui::MessageIcon::Warning);
        } else if (ui::ask(this, QStringLiteral("Наистина ли желаете да изтриете избрания клиент?"),
                           QStringLiteral("Изтриване"))) {
            invoicing::deleteFirm(db_, *id);
            reload();
        }
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
    grid_->setFocus();
}

void TsmPeoples::printList() {
    grid_->resizeColumnsToContents();
    ui::PrintHeader header;
    header.title = QStringLiteral("Клиенти");
    ui::printGrid(this, *grid_, header);
}

void TsmPeoples::exportList() {
    ui::ExportOptions options;
    options.proposedName = QStringLiteral("Clients");
    options.startInDocuments = true;
    ui::exportGrid(this, *grid_, options);
}

void TsmPeoples::reject() {
    // A firm being entered is either saved or cancelled first.
    if (editing_)
        return;
    QDialog::reject();
}

bool TsmPeoples::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panel_) {
        if (event->type() == QEvent::MouseButtonPress) {
            dragOffset_ = static_cast<QMouseEvent*>(event)->position().toPoint();
            return true;
        }
        if (event->type() == QEvent::MouseMove) {
            const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            panel_->move(mapFromGlobal(global) - dragOffset_);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
