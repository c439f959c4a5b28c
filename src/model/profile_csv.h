#pragma once

// The RF frequency table and the channels as spreadsheet files (comma-separated text), so that a
// dealer can keep a fleet's plan in a spreadsheet. An import changes the profile only through the
// data items and the rule script, as typing on the pages does, and is all or nothing: a file with
// one bad line changes nothing, and every bad line is named at once.

#include <vector>

#include <QByteArray>
#include <QString>

class CDataItem;
class CProfileDocument;

namespace profile_csv {

enum class ETable { Frequencies, Channels };

// UTF-8 text, a header row, one row per frequency entry / channel in use, "\n" line ends.
// Frequencies in MHz with a "." and six decimals; codes and choices in the words the pages show
// (with "." as the separator), which Import reads back. Raises the model's exception when the
// profile cannot be read.
QByteArray Export(const CDataItem& root, ETable table);

// A line of the file (1-based) and what is wrong with it, in the user's language.
struct SImportProblem {
    int line;
    QString message;
};

struct SImportResult {
    bool applied = false;
    int rows = 0;
    std::vector<SImportProblem> problems;
};

// Applies the whole file through the rule script, or nothing (the working document is then exactly
// as before, byte for byte, and the history holds no step). Every refused row is named with its
// line and message. A successful import is one step of the document's history and marks it
// modified when it changed anything. Frequencies are taken by position: the file's n-th row
// becomes entry n. A channel's frequencies must be entries of the profile's frequency table. A
// model failure (a broken rule script) is raised after the document was put back.
SImportResult Import(CProfileDocument& document, ETable table, const QByteArray& csv);

// "Line N: message", as a list of problems is shown.
QString ProblemText(const SImportProblem& problem);
// "Nothing was imported.", what follows a list of problems.
QString NothingImportedText();

}  // namespace profile_csv
