#pragma once

#include <QString>

// The decimal separator of a user-interface language: the one its locale writes numbers with.
// Languages without a locale of their own (Chinese, unknown names) and locales that give nothing
// use ".". Every frequency and tone the program shows or reads is formatted with "." first and
// then has it replaced by this.
QString DecimalSeparatorFor(const QString& language);
