#pragma once

#include "ui/grid_data.h"

#include <QDate>
#include <QString>
#include <memory>
#include <optional>

class QPrinter;
class QTableView;
class QTextDocument;
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
};

// Prints a list window's grid: the title (and period) at the head of every page, the grid as a
// table whose column headers repeat on every page, the footer and the page number at the foot.
class GridPrinter {
public:
    GridPrinter(GridData data, PrintHeader header);

    bool isEmpty() const { return data_.isEmpty(); }
    // Title, then the period line when there is one.
    QStringList headerLines() const;
    // The grid alone, laid out for pages of the given size (in the document's units).
    std::unique_ptr<QTextDocument> bodyDocument() const;

    // Paints every page on the printer; false when the printer cannot be painted on.
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
