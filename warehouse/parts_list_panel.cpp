#include "warehouse/parts_list_panel.h"

#include "store/database.h"
#include "store/list_query.h"
#include "ui/row_list.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

namespace warehouse {

namespace {

enum Column {
    ColPart,
    ColType,
    ColPartNo,
    ColAmnt,
    ColBarcode,
    ColMarka,
    ColOpis,
    ColOutPrice,
    ColSalePrice,
    ColOpVal,
    ColInPrice,
    ColIpVal,
    ColId,
};

const char* const kHeaders[] = {
    "Означение", "Тип",          "Каталожен №",   "Количество", "Баркод",        "Марка",
    "Описание",  "Цена поръчка", "Цена продажба", "Валута",     "Доставна цена", "Валута дост.",
    "id"};

} // namespace

PartsList::PartsList(store::Database& db, Options options, QWidget* parent)
    : QWidget(parent), db_(db), options_(options) {
    model_ = new QSqlQueryModel(this);
    grid_ = ui::rowList(this, "dxDBGrid1", model_);
    grid_->setAlternatingRowColors(true);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    connect(grid_, &QTableView::doubleClicked, this, &PartsList::partActivated);
    buildSearchPanel();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pSearch_);
    layout->addWidget(grid_);
}

void PartsList::buildSearchPanel() {
    pSearch_ = new QFrame(this);
    pSearch_->setObjectName(QStringLiteral("pSearch"));
    pSearch_->setFrameShape(QFrame::StyledPanel);
    searchStr_ = new QLineEdit(pSearch_);
    searchStr_->setObjectName(QStringLiteral("searchStr"));
    // A plain word matches the whole text only; the hint says how to look inside it.
    searchStr_->setPlaceholderText(QStringLiteral("* замества произволен текст"));
    lbNotFound_ = new QLabel(pSearch_);
    lbNotFound_->setObjectName(QStringLiteral("lbNotFound"));
    lbNotFound_->hide();
    const char* names[] = {"chk1", "chk2", "chk3", "chk4"};
    const char* texts[] = {"Означение", "Каталожен №", "Каталози", "Баркод"};
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Търсене:"), pSearch_));
    row->addWidget(searchStr_, 1);
    for (int i = 0; i < 4; ++i) {
        chk_[i] = new QCheckBox(QString::fromUtf8(texts[i]), pSearch_);
        chk_[i]->setObjectName(QString::fromLatin1(names[i]));
        row->addWidget(chk_[i]);
    }
    chk_[0]->setChecked(true);
    auto* btnSpr = new QPushButton(QStringLiteral("Търси"), pSearch_);
    btnSpr->setObjectName(QStringLiteral("btnSpr"));
    btnSpr->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Затвори"), pSearch_);
    close->setObjectName(QStringLiteral("BitBtn1"));
    row->addWidget(btnSpr);
    row->addWidget(close);
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(row);
    column->addWidget(lbNotFound_);
    connect(btnSpr, &QPushButton::clicked, this, &PartsList::search);
    connect(searchStr_, &QLineEdit::returnPressed, this, &PartsList::search);
    connect(close, &QPushButton::clicked, this, &PartsList::hideSearch);
    pSearch_->setLayout(column);
    pSearch_->hide();
}

void PartsList::loadBroad(bool inStockOnly) {
    broad_ = true;
    broadInStock_ = inStockOnly;
    load(inStockOnly ? inStockCondition() : PartsCondition{});
}

void PartsList::loadRestricted(const PartsCondition& condition) {
    broad_ = false;
    load(condition);
}

void PartsList::load(const PartsCondition& condition) {
    condition_ = condition;
    const QString where =
        condition.sql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition.sql;
    // Columns of the joined tables are named, so that the search condition's names stay those
    // of parts.
    QSqlQuery query = store::listQuery(
        db_,
        QStringLiteral(
            "SELECT Part, (SELECT Type FROM typeParts WHERE typeParts.id = parts.TypeID), "
            "PartNo, amnt, barcode, "
            "(SELECT Marka FROM partMarka WHERE partMarka.id = parts.idMarka), Opis, "
            "outPrice, salePrice, "
            "(SELECT Currency FROM currencies WHERE idCur = parts.opVal), inPrice, "
            "(SELECT Currency FROM currencies WHERE idCur = parts.ipVal), id "
            "FROM parts") +
            where + QStringLiteral(" ORDER BY Part, id"),
        condition.binds);
    QStringList headers;
    for (const char* header : kHeaders)
        headers << QString::fromUtf8(header);
    ui::showRows(*model_, std::move(query), headers);
    grid_->setColumnHidden(ColId, true);
    for (int c : {ColOutPrice, ColSalePrice, ColOpVal})
        grid_->setColumnHidden(c, !options_.priceColumns);
    setPurchaseColumnsVisible(options_.purchaseColumns);
    grid_->setColumnHidden(ColOpis, !descriptionVisible());
    if (model_->rowCount() > 0)
        grid_->selectRow(0);
    fitColumns();
    Q_EMIT currentPartChanged();
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &PartsList::currentPartChanged, Qt::UniqueConnection);
}

void PartsList::reload() {
    const auto keep = currentPartId();
    load(condition_);
    if (keep)
        selectPart(*keep);
}

void PartsList::fitColumns() {
    grid_->resizeColumnsToContents();
    grid_->setColumnWidth(ColPart, std::max(grid_->columnWidth(ColPart), 220));
}

bool PartsList::isEmpty() const {
    return model_->rowCount() == 0;
}

void PartsList::setPurchaseColumnsVisible(bool visible) {
    options_.purchaseColumns = visible;
    grid_->setColumnHidden(ColInPrice, !visible);
    grid_->setColumnHidden(ColIpVal, !visible);
}

void PartsList::setDescriptionVisible(bool visible) {
    grid_->setColumnHidden(ColOpis, !visible);
    grid_->setProperty("descriptionVisible", visible);
    if (visible)
        grid_->resizeColumnToContents(ColOpis);
}

bool PartsList::descriptionVisible() const {
    return grid_->property("descriptionVisible").toBool();
}

std::optional<qint64> PartsList::currentPartId() const {
    return ui::currentRowId(grid_, ColId);
}

bool PartsList::selectPart(qint64 id) {
    return ui::selectRowWithId(grid_, ColId, id);
}

std::optional<qint64> PartsList::partInListByBarcode(const QString& barcode) {
    if (barcode.isEmpty())
        return std::nullopt;
    store::Binds binds = condition_.binds;
    binds.insert(QStringLiteral("listBarcode"), barcode);
    const QString where =
        condition_.sql.isEmpty() ? QString() : QStringLiteral(" AND (%1)").arg(condition_.sql);
    const QVariant id = db_.scalar(
        QStringLiteral("SELECT min(id) FROM parts WHERE barcode = :listBarcode") + where, binds);
    if (id.isNull())
        return std::nullopt;
    return id.toLongLong();
}

bool PartsList::isSearching() const {
    return !pSearch_->isHidden();
}

void PartsList::showSearch() {
    pSearch_->show();
    grid_->setEnabled(false);
    searchStr_->setFocus();
    searchStr_->selectAll();
    Q_EMIT searchingChanged(true);
}

void PartsList::hideSearch() {
    pSearch_->hide();
    grid_->setEnabled(true);
    grid_->setFocus();
    Q_EMIT searchingChanged(false);
}

void PartsList::search() {
    const QString text = searchStr_->text().trimmed();
    PartsSearch wanted;
    wanted.text = text;
    wanted.byName = chk_[0]->isChecked();
    wanted.byPartNo = chk_[1]->isChecked();
    wanted.byCatalogs = chk_[2]->isChecked();
    wanted.byBarcode = chk_[3]->isChecked();
    wanted.inStockOnly = options_.searchInStockOnly;
    if (!wanted.anyColumn()) {
        chk_[0]->setFocus();
        return;
    }
    if (text.size() < options_.shortestSearch &&
        !(text.isEmpty() && options_.emptySearchLoadsStock)) {
        searchStr_->setFocus();
        return;
    }
    if (text.isEmpty())
        loadBroad(true);
    else
        loadRestricted(*partsSearchCondition(db_.dialect(), wanted));
    if (isEmpty()) {
        // The typed text stays, so that it can be corrected rather than typed again.
        lbNotFound_->setText(text.isEmpty()
                                 ? QStringLiteral("Няма части в наличност.")
                                 : QStringLiteral("Няма намерени части за „%1“. Знакът * замества "
                                                  "произволен текст, например *%1*.")
                                       .arg(text));
        lbNotFound_->show();
        showSearch();
        return;
    }
    lbNotFound_->hide();
    hideSearch();
}

} // namespace warehouse
