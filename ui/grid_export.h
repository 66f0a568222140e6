#pragma once

#include "ui/grid_data.h"

#include <QString>

class QTableView;
class QWidget;

namespace ui {

struct ExportOptions {
    // As the list window proposes it ("Dostavki.xls", "Spravka_Kasa"); written as .xlsx.
    QString proposedName{};
    QString dialogTitle = QStringLiteral("Експорт");
    // Start the save dialog in the user's documents folder.
    bool startInDocuments = false;
};

// "Dostavki.xls" -> "Dostavki.xlsx", "Spravka_Kasa" -> "Spravka_Kasa.xlsx".
QString xlsxFileName(const QString& name);

// Writes the grid as a workbook: a header row, then every row; numbers as numbers, dates as
// dates. The file appears complete or not at all (an existing file is replaced only on
// success). Returns false with a reason when the file could not be written.
bool writeXlsx(const GridData& data, const QString& path, QString* reason = nullptr);

// What a list window's export command does: nothing on an empty list; otherwise the save
// dialog, then the workbook. A failure is reported to the user. Returns the path written, or
// an empty text when nothing was written.
QString exportGrid(QWidget* parent, const GridData& data, const ExportOptions& options);
QString exportGrid(QWidget* parent, const QTableView& view, const ExportOptions& options);

} // namespace ui
