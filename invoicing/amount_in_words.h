#pragma once

#include <QString>

namespace invoicing {

// Words of a whole number from -999 to 999, every word followed by a blank ("сто и пет ").
QString groupWords(int n);

// "Хиляда двеста тридесет и четири лв. 56 ст.": the stotinki rounded from the third decimal
// (invoices).
QString amountInWordsRounded(double amount);
// The same with the stotinki cut after two decimals (sale contracts).
QString amountInWordsTruncated(double amount);

} // namespace invoicing
