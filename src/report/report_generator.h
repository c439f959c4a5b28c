#pragma once

// The two reports of a profile: the detailed report (every setting) and the customer handout (a
// leaflet for the radio's user with the dealer's address block). A report is the profile run
// through an XSLT 1.0 style sheet of the installation's report folder, then localised and written
// as a UTF-8 file (with a byte order mark) that the report window shows, prints and mails.
// Nothing here shows anything: failures go to the prompt as message numbers.

#include <optional>

#include <QString>
#include <QStringList>

class CConfiguration;
class CRadioDataModel;
class IUserPrompt;

namespace report {

inline constexpr int kMsgCannotCreateDocument = 134;
inline constexpr int kMsgFilesMissing = 315;
inline constexpr int kMsgCannotWriteReport = 420;

enum class EReportKind { Detailed = 0, Handout = 1 };

// The style sheets in the report folder.
inline constexpr char kDetailedStyleSheet[] = "Detailed.xsl";
inline constexpr char kHandoutStyleSheet[] = "Handout.xsl";

// The report file names of one report command. Localised names are the report's name in the
// user's language with characters a file name may not hold replaced by blanks; otherwise the
// English ones ("Detailed Report.htm", "Customer Handout.htm").
struct SReportFileNames {
    QString detailed;
    QString handout;
    const QString& For(EReportKind kind) const {
        return kind == EReportKind::Detailed ? detailed : handout;
    }
};
// Whether the report names may be localised: only for the languages whose texts the system's
// 8-bit code page (`ansiCodePage`) can hold.
bool UseLocalizedFileNames(const QString& language, int ansiCodePage);
SReportFileNames ReportFileNames(const QString& language, int ansiCodePage);

// True when the model string's third character is "D" or "d": a radio with a display, whose
// handout shows the display picture and its ten callouts.
bool IsDisplayModel(const QString& model);

// The handout's pictures for a display or a rotary (non-display) model, in the order they are
// mailed: header, footer, the radio, then the numbered callouts.
QStringList HandoutImageSet(bool display);
// The names of `HandoutImageSet(display)` that can be opened for reading in `folder`, in set
// order.
QStringList FoundHandoutImages(const QString& folder, bool display);

// The dealer's three texts of one language: address block, notes, contact details.
struct SDealerInfo {
    QString left;
    QString middle;
    QString right;
};
// Nothing when the language is empty, its subkey cannot be read or a text is missing.
std::optional<SDealerInfo> ReadDealerInfo(const CConfiguration& config, const QString& language);

// The pieces of the generation, each on its own so that it can be checked on its own.
namespace detail {
// The profile text with its default namespace declaration removed, so that the style sheets
// address elements without a prefix.
QString ProfileTextForReport(const QString& profileXml);
// The detailed style sheet's text edits: the decimal separator for "$#SPLITTER", "#." format
// patterns, and the four frequency range variables pointed at the limits the profile holds.
QString EditDetailedStyleSheet(QString xsl, const QString& decimalSeparator);
// The token tables, applied in their order.
QString LocalizeDetailedReport(QString html, const QString& decimalSeparator);
QString LocalizeHandout(QString html);
// A dealer text made safe for HTML, its line breaks as "<BR>" and one "<BR>" at its end.
QString PrepareDealerText(const QString& text);
// The three-cell table the handout's dealer marker is replaced by.
QString DealerTable(const SDealerInfo& dealer);
}  // namespace detail

// Where reports are written and what they are made from.
struct SReportContext {
    QString reportFolder;    // the installation's "Report" folder: style sheets and pictures
    QString fallbackFolder;  // the per-user folder used when the report folder is not writable
    QString language;        // the user-interface language (CurrentLanguage)
    QString decimalSeparator;
    // The folders of an installation and user: InstallPath + "/Report", and the user's cache.
    static SReportContext ForConfiguration(const CConfiguration& config);
};

// A report's HTML text, or nothing when it cannot be made; the reason has been shown (134, 315,
// or the 315 of a missing style sheet).
std::optional<QString> GenerateDetailedReport(const CRadioDataModel& profile,
                                              const SReportContext& context, IUserPrompt& prompt);
std::optional<QString> GenerateHandout(const CRadioDataModel& profile, const SDealerInfo& dealer,
                                       const SReportContext& context, IUserPrompt& prompt);

struct SWrittenReport {
    QString path;    // the file written
    QString folder;  // the folder holding it (and, for a fallback, copies of the pictures)
};
// Writes `html` to `path` as UTF-8 with a byte order mark, replacing the file whole or not at all.
bool WriteReportFile(const QString& path, const QString& html);

// Writes the report as UTF-8 with a byte order mark: into the report folder, or when that cannot
// be written into the fallback folder together with copies of the report folder's "*.jpg". 420
// and nothing when neither can be written. The target is replaced whole or not at all.
std::optional<SWrittenReport> WriteReport(const SReportContext& context, const QString& fileName,
                                          const QString& html, IUserPrompt& prompt);

}  // namespace report
