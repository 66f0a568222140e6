#include "orders/cell_text_delegate.h"

#include "ui/grid_data.h"

namespace orders {

QString CellTextDelegate::displayText(const QVariant& value, const QLocale&) const {
    return ui::cellText(ui::normalizedCellValue(value));
}

} // namespace orders
