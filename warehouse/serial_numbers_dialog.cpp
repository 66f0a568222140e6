#include "warehouse/serial_numbers_dialog.h"

#include "ui/message_box.h"
#include "warehouse/delivery.h"
#include "warehouse/stock.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

QRegularExpression serialCharacters() {
    return QRegularExpression(QStringLiteral("[-/0-9A-Za-z\\\\]*"));
}

// A row being corrected accepts the same characters as the entry field.
class SerialEditDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* editor = new QLineEdit(parent);
        editor->setObjectName(QStringLiteral("gridSNSN"));
        editor->setValidator(new QRegularExpressionValidator(serialCharacters(), editor));
        return editor;
    }
};

} // namespace

TfrmSN::TfrmSN(store::Database& db, QStringList serials, const warehouse::Delivery& others,
               QWidget* parent)
    : QDialog(parent), db_(db), serials_(std::move(serials)), others_(others) {
    setObjectName(QStringLiteral("TfrmSN"));
    setWindowTitle(QStringLiteral("Серийни номера"));
    gridSN_ = new QListWidget(this);
    gridSN_->setObjectName(QStringLiteral("gridSN"));
    eSN_ = new QLineEdit(this);
    eSN_->setObjectName(QStringLiteral("eSN"));
    eSN_->setValidator(new QRegularExpressionValidator(serialCharacters(), eSN_));
    gridSN_->setItemDelegate(new SerialEditDelegate(gridSN_));
    gridSN_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    connect(gridSN_, &QListWidget::itemChanged, this, &TfrmSN::serialCorrected);
    auto* add = new QPushButton(QStringLiteral("+"), this);
    add->setObjectName(QStringLiteral("btnAddRow"));
    auto* remove = new QPushButton(QStringLiteral("-"), this);
    remove->setObjectName(QStringLiteral("btnDelRow"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("SpeedButton1"));
    for (QPushButton* b : {add, remove})
        b->setFixedWidth(32);
    connect(add, &QPushButton::clicked, this, &TfrmSN::addSerial);
    connect(eSN_, &QLineEdit::returnPressed, this, &TfrmSN::addSerial);
    connect(remove, &QPushButton::clicked, this, &TfrmSN::deleteSerial);
    connect(ok, &QPushButton::clicked, this, &TfrmSN::finish);
    auto* entry = new QHBoxLayout;
    entry->addWidget(eSN_, 1);
    entry->addWidget(add);
    entry->addWidget(remove);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(entry);
    layout->addWidget(gridSN_);
    layout->addWidget(ok);
    resize(280, 300);
    showSerials();
}

void TfrmSN::showSerials() {
    const QSignalBlocker quiet(gridSN_);
    gridSN_->clear();
    for (const QString& serial : serials_) {
        auto* item = new QListWidgetItem(serial, gridSN_);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
}

bool TfrmSN::refuseSerial(const QString& serial, int row) {
    bool repeated = false;
    for (int i = 0; i < serials_.size(); ++i)
        repeated = repeated || (i != row && serials_.at(i) == serial);
    if (serial.isEmpty() || repeated || others_.hasSerial(serial)) {
        ui::error(this, QStringLiteral("Невалиден сериен номер!\nвече е въведен в таблицата или "
                                       "не сте въвели нищо в полето!"));
        return true;
    }
    if (warehouse::serialNumberInStock(db_, serial)) {
        ui::message(this, ui::captionError(),
                    QStringLiteral("Такъв сериен номер вече съществува в базата данни!"),
                    ui::MessageIcon::Warning);
        return true;
    }
    return false;
}

void TfrmSN::serialCorrected(QListWidgetItem* item) {
    const int row = gridSN_->row(item);
    if (row < 0 || row >= serials_.size())
        return;
    const QString serial = item->text().trimmed();
    if (serial != serials_.at(row) && !refuseSerial(serial, row))
        serials_[row] = serial;
    // The row shows the number kept: the trimmed correction, or its old number when refused.
    const QSignalBlocker quiet(gridSN_);
    item->setText(serials_.at(row));
}

bool TfrmSN::addSerial() {
    const QString serial = eSN_->text().trimmed();
    if (refuseSerial(serial)) {
        eSN_->setFocus();
        eSN_->selectAll();
        return false;
    }
    serials_ << serial;
    showSerials();
    eSN_->clear();
    eSN_->setFocus();
    return true;
}

void TfrmSN::deleteSerial() {
    const int row = gridSN_->currentRow();
    if (row < 0 || row >= serials_.size())
        return;
    serials_.removeAt(row);
    showSerials();
}

void TfrmSN::finish() {
    // A number still in the entry field is kept, as a pending row would be.
    if (!eSN_->text().trimmed().isEmpty() && !addSerial())
        return;
    accept();
}
