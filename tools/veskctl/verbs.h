#pragma once

#include <functional>
#include <optional>

#include <QString>
#include <QStringList>

#include "model/profile_csv.h"

class CCliPrompt;
class CConfiguration;
class CProfileDocument;
class CSettingsDocuments;
class CVirtualCP;
class IUserPrompt;

// Exit codes of every verb.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;  // refused input or radio error
inline constexpr int kExitUsage = 2;

struct SVerb {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& args);
};

int RunVersion(const QStringList& args);
int RunConfig(const QStringList& args);
int RunScript(const QStringList& args);

// Profile files.
int RunValidate(const QStringList& args);
int RunDecode(const QStringList& args);
int RunEncode(const QStringList& args);
int RunNew(const QStringList& args);
int RunTemplates(const QStringList& args);
int RunDiff(const QStringList& args);

// Editing through the data items and the rule script; the session they share is edit_session.h.
int RunSet(const QStringList& args);
int RunAddChannel(const QStringList& args);
int RunDeleteChannel(const QStringList& args);
int RunAddFrequency(const QStringList& args);
int RunEditFrequency(const QStringList& args);
int RunDeleteFrequency(const QStringList& args);

// The frequency table and the channels as spreadsheet files (profile_csv.h).
int RunExport(const QStringList& args);
int RunImport(const QStringList& args);
// The table a verb names ("frequencies" or "channels"); nothing for any other word.
std::optional<profile_csv::ETable> CsvTable(const QString& name);

// The detailed report and the customer handout as HTML files.
int RunReport(const QStringList& args);

// Codeplug images: a profile as a radio write sends it, an image as a radio read opens it.
int RunImage(const QStringList& args);
int RunProfileFromImage(const QStringList& args);
int RunDump(const QStringList& args);

// The cable and the radio's memory, for diagnosis.
int RunCables(const QStringList& args);
int RunPeek(const QStringList& args);

// The radio on the cable, as the Read, Write and Reset commands reach it (radio_session.h).
int RunIdentify(const QStringList& args);
int RunRead(const QStringList& args);
int RunWrite(const QStringList& args);
int RunReset(const QStringList& args);

// The arguments of the profile verbs: operands in order, and the options they share.
struct SProfileArgs {
    QStringList operands;
    QString output;         // -o
    QString templateName;   // --template
    bool yes = false;       // --yes
    bool asLoaded = false;  // --as-loaded
};

// Options a verb takes besides its operands.
enum ProfileOption { kOptOutput = 1, kOptTemplate = 2, kOptYes = 4, kOptAsLoaded = 8 };

// False after a usage message when an option is not one of `options`, lacks its value or is
// given twice.
bool ParseProfileArgs(const QStringList& args, int options, SProfileArgs& parsed);

// Loads the settings documents that admitting and opening a profile consult (the region's and
// the codeplug version rules) into `settings`, then admits `path`. kExitOk when the file may be
// opened; otherwise the refusal has been told and the exit code is returned.
int LoadAndAdmitProfile(const QString& path, const CConfiguration& config, IUserPrompt& prompt,
                        CSettingsDocuments& settings);

// Opens `path` as the Open command does — admission, then the document, with the questions
// answered as `yes` says — and hands it to `use` with the settings documents it was opened with. A
// model failure raised on the way or from `use` is told. Returns `use`'s exit code, or the
// refusal's.
int WithOpenProfile(
    const QString& path, bool yes,
    const std::function<int(CProfileDocument&, CCliPrompt&, const CSettingsDocuments&)>& use);

// Tells a failure of veskctl itself (not a message of the program's string table) on stderr.
void TellError(const QString& text);

// Prints a verb's usage line on stderr; returns kExitUsage.
int TellUsage(const char* text);

// Codeplug image files (verb_image_file.cpp). Reading refuses, with a message naming the size, a
// file that is not exactly one image long; writing replaces `path` only once the whole image is
// on disk. Both tell their failures and return false.
bool ReadImageFile(const QString& path, CVirtualCP& image);
bool WriteImageFile(const QString& path, const CVirtualCP& image);
// The settings documents a profile is admitted and loaded with (region, codeplug version rules);
// false after the message of one that does not load.
bool LoadProfileSettings(const CConfiguration& config, IUserPrompt& prompt,
                         CSettingsDocuments& settings);

// The installed model templates (profile_templates.cpp): the folder, and the names as the New
// Profile dialog lists them.
QString TemplateFolder(const CConfiguration& config);
QStringList TemplateNames(const CConfiguration& config);
