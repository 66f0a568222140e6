#include "staff/staff_commands.h"

#include "staff/employees_window.h"
#include "ui/message_box.h"

namespace staff {

void openEmployees(QWidget* parent, store::Database& db) {
    TsrClerks employees(db, parent);
    ui::runModal(employees);
}

} // namespace staff
