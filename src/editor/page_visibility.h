#pragma once

// Which controls of a page a radio model shows, decided from the page's entries in the visible
// settings document.

#include <span>

#include <QSet>
#include <QString>

#include "model/settings_documents.h"

// "Display" when the model string's third character is "D" (either case), "NonDisplay" otherwise.
QString DisplayClassOf(const QString& model);

// The ids a page shows for a display class: named by an applicable entry (a direct one, or one in
// the group of that class), and not switched off by any applicable entry.
QSet<int> VisibleControlIds(std::span<const SVisibilityEntry> entries, const QString& displayClass);
