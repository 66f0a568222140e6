#include "ui/grid_printer.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTableView>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace ui {

namespace {

// QTextDocument lays out in units of 1/96 inch when it has no paint device of its own.
constexpr double kLayoutDpi = 96.0;
constexpr double kBodyPointSize = 9.0;
constexpr int kColumnsForLandscape = 7;

QFont documentFont(double pointSize, bool bold = false) {
    QFont font;
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

std::unique_ptr<QTextDocument> textDocument(double width) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(documentFont(kBodyPointSize));
    doc->setDocumentMargin(0);
    doc->setTextWidth(width);
    return doc;
}

void insertCellText(QTextTable* table, int row, int column, const QString& text,
                    Qt::Alignment alignment, bool bold) {
    QTextCursor cursor = table->cellAt(row, column).firstCursorPosition();
    QTextBlockFormat block;
    block.setAlignment(alignment);
    cursor.setBlockFormat(block);
    QTextCharFormat chars;
    chars.setFont(documentFont(kBodyPointSize, bold));
    cursor.insertText(text, chars);
}

// Title and period, centred.
std::unique_ptr<QTextDocument> headerDocument(const QStringList& lines, double width) {
    auto doc = textDocument(width);
    QTextCursor cursor(doc.get());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        cursor.setBlockFormat(centred);
        cursor.insertText(lines[i], QTextCharFormat());
        QTextCharFormat chars;
        chars.setFont(documentFont(i == 0 ? 13.0 : 10.0, i == 0));
        cursor.select(QTextCursor::BlockUnderCursor);
        cursor.mergeCharFormat(chars);
        cursor.clearSelection();
        cursor.movePosition(QTextCursor::End);
    }
    QTextBlockFormat spaced = centred;
    spaced.setBottomMargin(8);
    cursor.setBlockFormat(spaced);
    return doc;
}

// Footer text on the left, page number on the right, a line above both.
std::unique_ptr<QTextDocument> footerDocument(const QString& footer, int page, int pages,
                                              double width) {
    auto doc = textDocument(width);
    QTextCursor cursor(doc.get());
    QTextTableFormat format;
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setBorder(0);
    format.setCellPadding(0);
    format.setCellSpacing(0);
    format.setTopMargin(6);
    QTextTable* table = cursor.insertTable(1, 2, format);
    insertCellText(table, 0, 0, footer, Qt::AlignLeft, false);
    insertCellText(table, 0, 1, QStringLiteral("Стр. %1 от %2").arg(page).arg(pages),
                   Qt::AlignRight, false);
    return doc;
}

double heightOf(QTextDocument& doc) {
    return doc.documentLayout()->documentSize().height();
}

void drawAt(QPainter& painter, QTextDocument& doc, double y) {
    painter.save();
    painter.translate(0, y);
    doc.drawContents(&painter);
    painter.restore();
}

} // namespace

QString commonPrintFooter() {
    return QStringLiteral("Управление на автосервиз");
}

GridPrinter::GridPrinter(GridData data, PrintHeader header)
    : data_(std::move(data)), header_(std::move(header)) {}

QStringList GridPrinter::headerLines() const {
    QStringList lines{header_.title};
    if (header_.from && header_.to) {
        lines << QStringLiteral("от ") + header_.from->toString(QStringLiteral("dd.MM.yyyy")) +
                     QStringLiteral(" до ") + header_.to->toString(QStringLiteral("dd.MM.yyyy"));
    }
    return lines;
}

std::unique_ptr<QTextDocument> GridPrinter::bodyDocument() const {
    auto doc = textDocument(0);
    const int columns = static_cast<int>(data_.headers.size());
    if (columns == 0)
        return doc;
    QTextCursor cursor(doc.get());
    QTextTableFormat format;
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setHeaderRowCount(1); // column headers again at the top of every page
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorder(1);
    format.setBorderBrush(Qt::gray);
    format.setBorderCollapse(true);
    format.setCellPadding(2);
    format.setCellSpacing(0);
    QTextTable* table =
        cursor.insertTable(static_cast<int>(data_.rows.size()) + 1, columns, format);
    for (int c = 0; c < columns; ++c) {
        QTextTableCellFormat headerCell;
        headerCell.setBackground(QColor(230, 230, 230));
        table->cellAt(0, c).setFormat(headerCell);
        insertCellText(table, 0, c, data_.headers[c], Qt::AlignHCenter, true);
    }
    for (int r = 0; r < data_.rows.size(); ++r) {
        const QList<GridCell>& row = data_.rows[r];
        for (int c = 0; c < columns && c < row.size(); ++c) {
            const bool numeric = c < data_.numericColumns.size() && data_.numericColumns[c];
            insertCellText(table, r + 1, c, row[c].text, numeric ? Qt::AlignRight : Qt::AlignLeft,
                           false);
        }
    }
    return doc;
}

bool GridPrinter::print(QPrinter& printer) const {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // Work in layout units and let the painter scale them to the printer's resolution.
    const double scale = printer.resolution() / kLayoutDpi;
    painter.scale(scale, scale);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const double width = page.width() / scale;
    const double height = page.height() / scale;

    auto header = headerDocument(headerLines(), width);
    const double headerHeight = heightOf(*header);
    const double footerHeight = heightOf(*footerDocument(header_.footer, 1, 1, width));
    const double bodyHeight = height - headerHeight - footerHeight;

    auto body = bodyDocument();
    body->setPageSize(QSizeF(width, bodyHeight));
    const int pages = std::max(1, body->pageCount());

    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            printer.newPage();
        drawAt(painter, *header, 0);
        painter.save();
        painter.translate(0, headerHeight);
        painter.setClipRect(QRectF(0, 0, width, bodyHeight));
        painter.translate(0, -p * bodyHeight);
        body->drawContents(&painter, QRectF(0, p * bodyHeight, width, bodyHeight));
        painter.restore();
        auto footer = footerDocument(header_.footer, p + 1, pages, width);
        drawAt(painter, *footer, height - footerHeight);
    }
    return painter.end();
}

void GridPrinter::setUp(QPrinter& printer) const {
    printer.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    printer.setPageOrientation(data_.headers.size() > kColumnsForLandscape ? QPageLayout::Landscape
                                                                           : QPageLayout::Portrait);
    printer.setDocName(header_.title);
}

bool GridPrinter::writePdf(const QString& path) const {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    setUp(printer);
    return print(printer);
}

bool GridPrinter::preview(QWidget* parent) const {
    if (isEmpty())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    setUp(printer);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("printPreview"));
    dialog.setWindowTitle(QStringLiteral("Печат - ") + header_.title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this](QPrinter* target) { print(*target); });
    dialog.exec();
    return true;
}

bool printGrid(QWidget* parent, const QTableView& view, const PrintHeader& header) {
    return GridPrinter(GridData::fromView(view), header).preview(parent);
}

} // namespace ui
