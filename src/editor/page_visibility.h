#pragma once

// Which controls of a page a radio model shows, decided from the page's entries in the visible
// settings document.

#include <span>

#include <QSet>
#include <QString>
#include <QStringList>

#include "model/settings_documents.h"

// "Display" when the model string's third character is "D" (either case), "NonDisplay" otherwise.
QString DisplayClassOf(const QString& model);

// "Repeater" when the model string ends in region code "70" or "73", "Handheld" otherwise.
QString RepeaterClassOf(const QString& model);

// The groups of the visible settings that apply to a model: its display class and its repeater
// class.
QStringList ModelClassesOf(const QString& model);

// The ids a page shows for a model's classes: named by an applicable entry (a direct one, or one
// in the group of one of the classes), and not switched off by any applicable entry.
QSet<int> VisibleControlIds(std::span<const SVisibilityEntry> entries, const QStringList& classes);
