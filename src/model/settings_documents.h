#pragma once

// The installation's settings documents and the questions the program asks of them: which
// region this installation serves, which profile regions and versions it programs, its
// languages, and the per-page visibility and help entries.

#include <array>
#include <optional>
#include <vector>

#include <QMap>
#include <QString>
#include <QStringList>

#include "platform/xml/xml_document.h"

class CConfiguration;
class IUserPrompt;

// One feature a programmable button may carry, from the button list document: the name shown,
// the number stored in the button's attribute, and the limit it depends on ("none", or an
// attribute of the profile's "limit" element; `dependType`: offered when that limit is non-zero,
// else when it is zero).
struct SButtonFunction {
    QString name;
    qint32 value = 0;
    QString dependName;
    bool dependType = false;
};

// One control entry of a page's visibility list, in the program's own terms, for the
// editor, which sees no XML: the display-class group it sits in ("" for an entry directly below
// the page, "Display" or "NonDisplay"), its control id (nothing when "ID" is not a number) and
// its "isVisible" flag (nothing when absent or not a boolean).
struct SVisibilityEntry {
    QString group;
    std::optional<qint32> id;
    std::optional<bool> isVisible;
};

class CSettingsDocuments {
public:
    enum class Doc { VisibleSetting, ButtonList, Region, HelpPanMap, UpDownGradeSetting };
    static constexpr int kMsgFilesMissing = 315;

    // The file name of each document, in the order start-up loads them.
    static const std::array<std::pair<Doc, const char*>, 5>& LoadOrder();

    // Reads `name` from the installation's "lib" folder (or its "Report" folder). A missing,
    // unreadable or malformed file shows message 315 and gives nothing.
    static std::optional<CXmlDocument> LoadSettingDoc(const CConfiguration& config,
                                                      IUserPrompt& prompt, const QString& name,
                                                      bool inLibraryFolder = true);

    // Loads the five documents in order; false at the first that fails (315 already shown).
    bool LoadAll(const CConfiguration& config, IUserPrompt& prompt);
    // Only the two that admitting, opening and converting profiles consult (Region and
    // UpDownGradeSetting), for tools without the editor's pages. False at the first that fails
    // (315 shown), whose file name goes to *failed.
    bool LoadProfileDocuments(const CConfiguration& config, IUserPrompt& prompt,
                              QString* failed = nullptr);
    // For tests and tools that bring their own document.
    void Set(Doc which, CXmlDocument document);
    const CXmlDocument& Document(Doc which) const;

    // Region document. Single answers that are missing give the empty text unless said.
    QString RegionName() const;
    QString ProductVersion() const;
    QStringList SupportedRegionCodes() const;
    // Exact, case-sensitive comparison of the two-character code ("07" does not admit "7").
    bool IsSupported(const QString& regionCode) const;
    // 1 when the document names none.
    qint32 CpsCodeplugVersion() const;
    // Region code (a decimal number) -> the name of the edition that programs it; nullopt when
    // the document has no such list.
    std::optional<QMap<int, QString>> ModelRegions() const;
    QStringList SupportedLanguages() const;
    // A single blank when the language or its display name is missing.
    QString LanguageDisplayName(const QString& language) const;

    // VisibleSetting document: every entry below the region's element for a page.
    std::vector<xmlNodePtr> PageVisibilityList(const QString& region, const QString& page) const;
    // The same list read into entries: a display-class group's "Control" children in its place,
    // every other entry as it is.
    std::vector<SVisibilityEntry> PageVisibilityEntries(const QString& region,
                                                        const QString& page) const;
    // ButtonList document: the entries of one group ("COMMON", "DISPLAY", ...) below the region's
    // element, in document order. Value and DependType are read as plain decimal numbers (0 when
    // they are none).
    std::vector<SButtonFunction> ButtonFunctions(const QString& region, const QString& group) const;
    // ButtonList document: the radio picture's file name from the first entry of the region's
    // IMAGE group, for a model with or without a display; nothing when the group or the attribute
    // is missing.
    std::optional<QString> ButtonPicture(const QString& region, bool display) const;

    // HelpPanMap document: the help page of a control; `current` when nothing matches.
    QString HelpPage(const QString& page, const QString& controlId, const QString& current) const;

private:
    std::vector<xmlNodePtr> Children(Doc which, const QString& expression) const;
    std::optional<QString> SingleAttribute(Doc which, const QString& expression,
                                           const char* attribute) const;

    std::array<CXmlDocument, 5> m_documents;
};

// False when the profile text holds a frequency of the licence-free MURS service, or does not
// parse; true otherwise.
bool CheckMURFreq(const QByteArray& profileText);
// The same for text the profile file reader gave (its declared encoding no longer applies).
bool CheckMURFreq(const QString& profileText);
// True for the five frequencies of the licence-free MURS service, in hertz.
bool IsMursFrequency(qint64 hertz);
