#pragma once

#include "ui/grid_data.h"

#include <QDate>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <optional>

class QPrinter;
class QTableView;
class QWidget;

namespace ui {

// The main window's fixed text at the foot of every printed list.
QString commonPrintFooter();

struct PrintHeader {
    QString title{};
    // Period lists print "от dd.MM.yyyy до dd.MM.yyyy" under the title.
    std::optional<QDate> from{};
    std::optional<QDate> to{};
    QString footer = commonPrintFooter();
    // The totals the window shows with its list ("Общо: ..."), one line each, printed under
    // the last row.
    QStringList totals{};
};

// Prints a list window's grid: the title (and period) at the head of every page, the grid as a
// table whose column headers repeat on every page, the footer and the page number at the foot.
// Columns are as wide as their content. No number, date or word is ever split: a list too wide
// for the page is printed in a smaller font, and only long texts wrap, between words. A row
// never runs from one page onto the next.
class GridPrinter {
public:
    GridPrinter(GridData data, PrintHeader header);

    bool isEmpty() const { return data_.isEmpty(); }
    // Title, then the period line when there is one.
    QStringList headerLines() const;
    // Portrait when the columns fit a portrait page of the printer's paper at a readable
    // size, otherwise landscape.
    QPageLayout::Orientation bestOrientation(QPrinter& printer) const;

    // Paints every page on the printer, in the orientation it has; false when the printer
    // cannot be painted on.
    bool print(QPrinter& printer) const;
    // The same pages as a PDF file.
    bool writePdf(const QString& path) const;
    // Modal print preview from which the user prints. Does nothing on an empty list; returns
    // whether the preview was shown.
    bool preview(QWidget* parent) const;

private:
    void setUp(QPrinter& printer) const;

    GridData data_;
    PrintHeader header_;
};

// What a list window's print command does.
bool printGrid(QWidget* parent, const QTableView& view, const PrintHeader& header);

} // namespace ui
