#pragma once

// The editing verbs change a profile through the same data items and rule script as the pages, so
// that a dealer's bulk change obeys every rule an edit by hand does. Nothing is written unless
// every change was accepted and the profile saves.

#include <functional>
#include <optional>

#include <QString>
#include <QStringList>

#include "model/data_item.h"
#include "verbs.h"

class CCliPrompt;

// What a verb does to the opened profile; returns an exit code. A failure of the model raised
// from here is told by RunEdit.
using Edit = std::function<int(CDataItem& root, CCliPrompt& prompt)>;

// One change through the rule script, made unconfirmed and, when the script asks and the user
// says yes, once more confirmed.
using Change = std::function<CEditResult(EConfirmation)>;

// Makes `change` as SettleEdit does; kExitOk when the change was made, otherwise the script's
// message (or veskctl's own) has been told.
int Settle(CCliPrompt& prompt, const Change& change);

// Parses the arguments common to the editing verbs: FILE first, then `count` more operands.
bool ParseEdit(const QStringList& args, qsizetype count, SProfileArgs& parsed);

// Opens FILE as the Open command does, applies `edit` and saves, to -o or back to FILE.
int RunEdit(const SProfileArgs& parsed, const Edit& edit);

// A 1-based position given on the command line.
std::optional<int> Position(const QString& text);

// The first child of `parent` called `name`; empty when there is none.
CDataItem Child(const CDataItem& parent, const char* name);

// The channels of the radio, which are fewer than the records when some are spare.
int ChannelCount(const CDataItem& root);

int FrequencyCount(const CDataItem& root);

// False after telling the user when the frequency table has no entry `number` (from 1).
bool HasFrequency(const CDataItem& root, int number);

// The four operands from `operands[0]`; nothing after telling what is wrong with them.
std::optional<SFrequencyEntry> ParseFrequencyEntry(const QStringList& operands);
