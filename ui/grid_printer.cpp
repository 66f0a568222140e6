#include "ui/grid_printer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTableView>

#include <algorithm>
#include <numeric>

namespace ui {

namespace {

// Readable sizes: a list prints at the largest that fits.
constexpr double kLargestPointSize = 9.0;
constexpr double kSmallestUnwrappedPointSize = 8.0;
constexpr double kSmallestComfortablePointSize = 7.0;
constexpr double kSmallestPointSize = 6.5;
constexpr double kPointStep = 0.5;
constexpr double kMeasuredPointSize = 10.0; // texts are measured once, at this size
constexpr double kCellPaddingMm = 1.0;
constexpr double kRowPaddingMm = 0.6;
// A long text wrapped into a narrower column than this reads badly.
constexpr double kComfortableTextMm = 35.0;
constexpr double kNarrowTextMm = 20.0;
constexpr double kTitlePointSize = 13.0;
constexpr double kPeriodPointSize = 10.0;
constexpr double kFooterPointSize = 8.0;

QFont fontOf(double pointSize, bool bold = false) {
    QFont font;
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

double mm(double millimetres, const QPaintDevice& device) {
    return millimetres * device.logicalDpiY() / 25.4;
}

// The parts of a text between the places where a line may break: blanks, except a blank
// between two digits (the thousands groups of "1 234,50"). Nothing else breaks, so that a
// catalogue number "06A-115-561" or a date stays whole.
QStringList unbreakablePieces(const QString& text) {
    QStringList pieces;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool blank = c == QLatin1Char(' ');
        const bool inNumber =
            blank && i > 0 && i + 1 < text.size() && text[i - 1].isDigit() && text[i + 1].isDigit();
        if (blank && !inNumber) {
            if (!current.isEmpty())
                pieces << current;
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.isEmpty())
        pieces << current;
    return pieces;
}

double widestPiece(const QString& text, const QFontMetricsF& metrics) {
    double widest = 0;
    for (const QString& piece : unbreakablePieces(text))
        widest = std::max(widest, metrics.horizontalAdvance(piece));
    return widest;
}

// The text in lines no wider than the width, broken only between pieces. A piece wider than
// the width keeps a line of its own.
QStringList wrapped(const QString& text, const QFontMetricsF& metrics, double width) {
    if (metrics.horizontalAdvance(text) <= width)
        return {text};
    QStringList lines;
    QString line;
    for (const QString& piece : unbreakablePieces(text)) {
        const QString longer = line.isEmpty() ? piece : line + QLatin1Char(' ') + piece;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines << line;
            line = piece;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines << line;
    return lines;
}

// What a column needs, measured at kMeasuredPointSize without padding: its texts each on one
// line; the least when only its header wraps; the least when its texts wrap between words too.
struct ColumnNeed {
    double whole = 0;
    double unwrapped = 0;
    double wrapped = 0;
    bool text = false; // holds text, which may wrap when it is long
};

QList<ColumnNeed> measureColumns(const GridData& data, const QPaintDevice& device) {
    const QFontMetricsF plain(fontOf(kMeasuredPointSize), &device);
    const QFontMetricsF bold(fontOf(kMeasuredPointSize, true), &device);
    QList<ColumnNeed> needs(data.headers.size());
    for (qsizetype c = 0; c < data.headers.size(); ++c) {
        needs[c].whole = bold.horizontalAdvance(data.headers[c]);
        needs[c].unwrapped = needs[c].wrapped = widestPiece(data.headers[c], bold);
    }
    for (const QList<GridCell>& row : data.rows) {
        for (qsizetype c = 0; c < row.size() && c < needs.size(); ++c) {
            const GridCell& cell = row[c];
            if (cell.text.isEmpty())
                continue;
            ColumnNeed& need = needs[c];
            const double whole = plain.horizontalAdvance(cell.text);
            need.whole = std::max(need.whole, whole);
            need.unwrapped = std::max(need.unwrapped, whole);
            const bool text = cell.value.typeId() == QMetaType::QString &&
                              !(c < data.numericColumns.size() && data.numericColumns[c]);
            if (text) {
                need.wrapped = std::max(need.wrapped, widestPiece(cell.text, plain));
                need.text = true;
            } else {
                need.wrapped = std::max(need.wrapped, whole);
            }
        }
    }
    return needs;
}

enum class Wrap {
    None,        // every text on one line
    Comfortable, // long texts wrap in columns of a readable width
    Tight,       // long texts wrap in narrower columns
};

// Font size and column widths (device units, padding included) of the printed table, and the
// columns whose texts wrap. squeeze < 1 narrows the whole table when even the smallest font is
// too wide.
struct Fit {
    double pointSize = kLargestPointSize;
    QList<double> widths;
    QList<bool> wraps;
    double squeeze = 1.0;
};

double sum(const QList<double>& values) {
    return std::accumulate(values.begin(), values.end(), 0.0);
}

// Widths between least and whole that fill the width: the widest columns give way first.
// Spare room goes to the text columns, or to all when there are none.
QList<double> distribute(const QList<double>& whole, const QList<double>& least,
                         const QList<bool>& text, double width) {
    QList<double> widths = whole;
    if (sum(whole) <= width) {
        QList<double> receivers(whole.size(), 0);
        for (qsizetype c = 0; c < whole.size(); ++c)
            receivers[c] = text[c] ? whole[c] : 0;
        if (sum(receivers) <= 0)
            receivers = whole;
        const double spare = width - sum(whole);
        const double total = sum(receivers);
        for (qsizetype c = 0; c < widths.size() && total > 0; ++c)
            widths[c] += spare * receivers[c] / total;
        return widths;
    }
    double low = 0;
    double high = *std::max_element(whole.begin(), whole.end());
    for (int i = 0; i < 60; ++i) {
        const double cap = (low + high) / 2;
        double used = 0;
        for (qsizetype c = 0; c < whole.size(); ++c)
            used += std::max(least[c], std::min(whole[c], cap));
        (used > width ? high : low) = cap;
    }
    for (qsizetype c = 0; c < whole.size(); ++c)
        widths[c] = std::max(least[c], std::min(whole[c], low));
    return widths;
}

// The least widths at one font size. Only texts longer than a comfortable column wrap: a short
// text (a name, a registration number) stays on one line like a number.
Fit leastWidths(const QList<ColumnNeed>& needs, double size, Wrap wrap, const QPaintDevice& device,
                QList<double>* whole = nullptr) {
    const double padding = 2 * mm(kCellPaddingMm, device);
    const double comfortable = mm(kComfortableTextMm, device);
    const double narrow = mm(kNarrowTextMm, device);
    const double k = size / kMeasuredPointSize;
    Fit fit;
    fit.pointSize = size;
    for (const ColumnNeed& need : needs) {
        const double w = need.whole * k + padding;
        const bool wraps = wrap != Wrap::None && need.text && w > comfortable;
        double least = w;
        if (wraps)
            least = std::max(need.wrapped * k + padding,
                             wrap == Wrap::Comfortable ? comfortable : narrow);
        else if (wrap != Wrap::None)
            least = need.unwrapped * k + padding;
        fit.widths << least;
        fit.wraps << wraps;
        if (whole)
            *whole << w;
    }
    return fit;
}

std::optional<Fit> tryFit(const QList<ColumnNeed>& needs, double width, Wrap wrap, double smallest,
                          const QPaintDevice& device) {
    QList<bool> text;
    for (const ColumnNeed& need : needs)
        text << need.text;
    for (double size = kLargestPointSize; size >= smallest - 1e-9; size -= kPointStep) {
        QList<double> whole;
        Fit fit = leastWidths(needs, size, wrap, device, &whole);
        if (sum(fit.widths) <= width) {
            fit.widths = distribute(whole, fit.widths, text, width);
            return fit;
        }
    }
    return std::nullopt;
}

// The largest readable print of the columns in the width; the values are never cut.
Fit fitColumns(const QList<ColumnNeed>& needs, double width, const QPaintDevice& device) {
    if (auto fit = tryFit(needs, width, Wrap::None, kSmallestUnwrappedPointSize, device))
        return *fit;
    if (auto fit = tryFit(needs, width, Wrap::Comfortable, kSmallestComfortablePointSize, device))
        return *fit;
    if (auto fit = tryFit(needs, width, Wrap::Tight, kSmallestPointSize, device))
        return *fit;
    Fit fit = leastWidths(needs, kSmallestPointSize, Wrap::Tight, device);
    fit.squeeze = width / sum(fit.widths);
    return fit;
}

double printableWidth(QPrinter& printer, QPageLayout::Orientation orientation) {
    QPageLayout layout = printer.pageLayout();
    layout.setOrientation(orientation);
    return layout.paintRectPixels(printer.resolution()).width();
}

// One row of the printed table: the lines of every cell and the height they take.
struct RowLines {
    QList<QStringList> cells;
    double height = 0;
};

struct Table {
    Fit fit;
    QFont font;
    QFont boldFont;
    double padding = 0;
    double rowPadding = 0;
    double lineSpacing = 0;
    RowLines header;
    QList<RowLines> rows;

    double width() const { return sum(fit.widths) * fit.squeeze; }
};

// Cells of the columns that may wrap (all, for the header row) in lines of their width;
// every other cell on one line.
RowLines rowLines(const QStringList& texts, const Fit& fit, const QFontMetricsF& metrics,
                  double padding, double rowPadding, bool header) {
    RowLines row;
    qsizetype most = 1;
    for (qsizetype c = 0; c < fit.widths.size(); ++c) {
        const QString text = c < texts.size() ? texts[c] : QString();
        if (header || fit.wraps[c])
            row.cells << wrapped(text, metrics, fit.widths[c] - 2 * padding);
        else
            row.cells << QStringList{text};
        most = std::max(most, row.cells.last().size());
    }
    row.height = most * metrics.lineSpacing() + 2 * rowPadding;
    return row;
}

Table layOutTable(const GridData& data, double width, const QPaintDevice& device) {
    Table table;
    table.fit = fitColumns(measureColumns(data, device), width, device);
    table.font = fontOf(table.fit.pointSize);
    table.boldFont = fontOf(table.fit.pointSize, true);
    table.padding = mm(kCellPaddingMm, device);
    table.rowPadding = mm(kRowPaddingMm, device);
    const QFontMetricsF plain(table.font, &device);
    const QFontMetricsF bold(table.boldFont, &device);
    table.lineSpacing = plain.lineSpacing();
    table.header = rowLines(data.headers, table.fit, bold, table.padding, table.rowPadding, true);
    for (const QList<GridCell>& row : data.rows) {
        QStringList texts;
        for (const GridCell& cell : row)
            texts << cell.text;
        table.rows << rowLines(texts, table.fit, plain, table.padding, table.rowPadding, false);
    }
    return table;
}

// Lines of text in one font, wrapped to the width.
struct TextBlock {
    QFont font;
    QStringList lines;
    double lineSpacing = 0;

    double height() const { return lines.size() * lineSpacing; }
};

TextBlock textBlock(const QStringList& texts, const QFont& font, double width,
                    const QPaintDevice& device) {
    const QFontMetricsF metrics(font, &device);
    TextBlock block{font, {}, metrics.lineSpacing()};
    for (const QString& text : texts)
        block.lines << wrapped(text, metrics, width);
    return block;
}

void drawBlock(QPainter& painter, const TextBlock& block, double left, double top, double width,
               Qt::Alignment alignment) {
    painter.setFont(block.font);
    const QFontMetricsF metrics(block.font, painter.device());
    for (qsizetype i = 0; i < block.lines.size(); ++i) {
        const double advance = metrics.horizontalAdvance(block.lines[i]);
        double x = left;
        if (alignment & Qt::AlignHCenter)
            x += (width - advance) / 2;
        else if (alignment & Qt::AlignRight)
            x += width - advance;
        painter.drawText(QPointF(x, top + i * block.lineSpacing + metrics.ascent()),
                         block.lines[i]);
    }
}

// Draws one row of the table with its top at y (in the table's own, unsqueezed units).
void drawRow(QPainter& painter, const Table& table, const RowLines& row, double y,
             const QList<Qt::Alignment>& alignments, const QPen& grid, bool header) {
    const QFont& font = header ? table.boldFont : table.font;
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    double x = 0;
    for (qsizetype c = 0; c < table.fit.widths.size(); ++c) {
        const double w = table.fit.widths[c];
        const QRectF cell(x, y, w, row.height);
        if (header)
            painter.fillRect(cell, QColor(230, 230, 230));
        painter.setPen(grid);
        painter.drawRect(cell);
        painter.setPen(Qt::black);
        const QStringList& lines = row.cells[c];
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const double advance = metrics.horizontalAdvance(lines[i]);
            double left = x + table.padding;
            if (alignments[c] & Qt::AlignRight)
                left = x + w - table.padding - advance;
            else if (alignments[c] & Qt::AlignHCenter)
                left = x + (w - advance) / 2;
            painter.drawText(
                QPointF(left, y + table.rowPadding + i * table.lineSpacing + metrics.ascent()),
                lines[i]);
        }
        x += w;
    }
}

// Rows [first, last) of each page.
struct PageRows {
    qsizetype first = 0;
    qsizetype last = 0;
};

QList<PageRows> paginate(const Table& table, double bodyHeight, double totalsHeight) {
    QList<PageRows> pages{{0, 0}};
    double used = table.header.height;
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        const double h = table.rows[r].height;
        if (used + h > bodyHeight && pages.last().last > pages.last().first) {
            pages.append({r, r});
            used = table.header.height;
        }
        pages.last().last = r + 1;
        used += h;
    }
    if (totalsHeight > 0 && used + totalsHeight > bodyHeight) {
        // The totals go onto a new page together with the last row.
        PageRows& last = pages.last();
        if (last.last - last.first > 1) {
            --last.last;
            pages.append({last.last, last.last + 1});
        } else {
            pages.append({last.last, last.last});
        }
    }
    return pages;
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

QPageLayout::Orientation GridPrinter::bestOrientation(QPrinter& printer) const {
    const QList<ColumnNeed> needs = measureColumns(data_, printer);
    const double portrait = printableWidth(printer, QPageLayout::Portrait);
    const double landscape = printableWidth(printer, QPageLayout::Landscape);
    if (tryFit(needs, portrait, Wrap::None, kSmallestUnwrappedPointSize, printer))
        return QPageLayout::Portrait;
    if (tryFit(needs, landscape, Wrap::None, kSmallestUnwrappedPointSize, printer))
        return QPageLayout::Landscape;
    if (tryFit(needs, portrait, Wrap::Comfortable, kSmallestUnwrappedPointSize, printer))
        return QPageLayout::Portrait;
    return QPageLayout::Landscape;
}

bool GridPrinter::print(QPrinter& printer) const {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const double width = page.width();
    const double height = page.height();

    const Table table = layOutTable(data_, width, printer);
    QList<Qt::Alignment> alignments;
    for (qsizetype c = 0; c < data_.headers.size(); ++c) {
        const bool numeric = c < data_.numericColumns.size() && data_.numericColumns[c];
        alignments << (numeric ? Qt::AlignRight : Qt::AlignLeft);
    }
    const QList<Qt::Alignment> centred(data_.headers.size(), Qt::AlignHCenter);

    const QStringList lines = headerLines();
    TextBlock title = textBlock(lines.mid(0, 1), fontOf(kTitlePointSize, true), width, printer);
    TextBlock period = textBlock(lines.mid(1), fontOf(kPeriodPointSize), width, printer);
    const double gap = mm(3, printer);
    const double headHeight = title.height() + period.height() + gap;
    const QFont footerFont = fontOf(kFooterPointSize);
    const double footerHeight = QFontMetricsF(footerFont, &printer).lineSpacing() + gap;
    TextBlock totals = textBlock(header_.totals, table.boldFont, width, printer);
    const double totalsHeight = header_.totals.isEmpty() ? 0 : totals.height() + gap;
    const double bodyHeight = height - headHeight - footerHeight;

    const QList<PageRows> pages = paginate(table, bodyHeight, totalsHeight);
    QPen grid(Qt::gray);
    grid.setWidthF(mm(0.2, printer));
    for (qsizetype p = 0; p < pages.size(); ++p) {
        if (p > 0)
            printer.newPage();
        painter.setPen(Qt::black);
        drawBlock(painter, title, 0, 0, width, Qt::AlignHCenter);
        drawBlock(painter, period, 0, title.height(), width, Qt::AlignHCenter);

        painter.save();
        // Only a row taller than a whole page is cut, at the foot of the page; the clip leaves
        // room for the grid lines at the edges.
        const double edge = grid.widthF();
        painter.setClipRect(QRectF(-edge, headHeight - edge, width + 2 * edge, bodyHeight + edge));
        painter.translate((width - table.width()) / 2, headHeight);
        painter.scale(table.fit.squeeze, 1.0);
        double y = 0;
        if (pages[p].last > pages[p].first || p == 0) {
            drawRow(painter, table, table.header, y, centred, grid, true);
            y += table.header.height;
        }
        for (qsizetype r = pages[p].first; r < pages[p].last; ++r) {
            drawRow(painter, table, table.rows[r], y, alignments, grid, false);
            y += table.rows[r].height;
        }
        painter.restore();
        if (p == pages.size() - 1 && totalsHeight > 0) {
            painter.setPen(Qt::black);
            drawBlock(painter, totals, 0, headHeight + y + gap, width, Qt::AlignLeft);
        }

        painter.setPen(Qt::black);
        painter.setFont(footerFont);
        const double footerTop = height - footerHeight + gap / 2;
        painter.drawLine(QPointF(0, footerTop), QPointF(width, footerTop));
        const TextBlock foot = textBlock({header_.footer}, footerFont, width, printer);
        drawBlock(painter, foot, 0, footerTop + gap / 2, width, Qt::AlignLeft);
        const TextBlock number =
            textBlock({QStringLiteral("Стр. %1 от %2").arg(p + 1).arg(pages.size())}, footerFont,
                      width, printer);
        drawBlock(painter, number, 0, footerTop + gap / 2, width, Qt::AlignRight);
    }
    return painter.end();
}

void GridPrinter::setUp(QPrinter& printer) const {
    printer.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    printer.setPageOrientation(bestOrientation(printer));
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
