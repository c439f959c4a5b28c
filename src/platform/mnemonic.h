#pragma once

#include <QString>

// Gives a label the keyboard mnemonic ("&") it lacks, on the first letter or digit whose key is
// still free in `taken`, and adds the key it uses to `taken`. A text that already carries a
// mnemonic keeps it. The texts come from language modules, so the letters cannot be fixed in
// advance without clashing with a translated button.
QString WithMnemonic(const QString& text, QString& taken);
