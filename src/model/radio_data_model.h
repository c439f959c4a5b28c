#pragma once

// One profile in memory: its rule script engine, the documents it is read from and saved as,
// and the root data item through which every page reads and changes it.

#include <memory>
#include <optional>

#include <QByteArray>
#include <QString>

#include "model/data_item.h"
#include "model/edit_journal.h"

class CConfiguration;
class CRuleScriptHost;
class CSettingsDocuments;
class CVersionFields;
class CXmlDocument;
class IUserPrompt;

class CRadioDataModel {
public:
    static constexpr int kMsgFilesMissing = 315;

    // `settings` supplies the codeplug version rules and the region; without it (or without its
    // UpDownGradeSetting document) profiles are validated as they are. It must outlive the model.
    CRadioDataModel(const CConfiguration& config, IUserPrompt& prompt,
                    const CSettingsDocuments* settings = nullptr);
    ~CRadioDataModel();
    CRadioDataModel(const CRadioDataModel&) = delete;
    CRadioDataModel& operator=(const CRadioDataModel&) = delete;

    // Starts the rule script engine. False after message 315 when the rule script cannot be read
    // or is empty; engine failures raise 137.
    bool Initialize();
    // `source` is a file path when `isPath`, otherwise the complete profile text. True, or false
    // after message 315 (an installation file is missing); an invalid profile raises 135. A
    // profile that fails to load leaves the one held before as it was.
    bool LoadProfile(const QString& source, bool isPath);
    // Profile text that was read from `sourceName`, which messages name instead of the text.
    bool LoadProfileText(const QString& text, const QString& sourceName);
    // Loads the operation document only; false when the file cannot be read.
    bool InitialOperaDoc(const QString& source, bool isPath);
    // The edited working document becomes the operation document, without the version fields;
    // XML failures raise 533.
    void TakeOffDoc();
    // Raises what loading `text` would raise: 135 when it does not parse or, with the version
    // fields of its codeplug version put on, the schema refuses it. Uses the schema of the profile
    // held (533 when none is) and leaves that profile as it is.
    void CheckProfileText(const QString& text, const QString& sourceName) const;

    // The working document as text: one state of the profile, as an undo step keeps it.
    QByteArray SaveWorkingState() const;
    // Makes `state` (from SaveWorkingState of this profile) the working document again. The rule
    // script engine, the schema and the operation document stay; the root item is new, and every
    // data item taken before is retired (it raises 131 when used), so the pages fetch theirs
    // again. The journal's observer hears Replaced(). Raises 131 when `state` does not parse, and
    // the profile held stays as it was.
    void RestoreWorkingState(const QByteArray& state);
    // Every accepted change made through the data items of this model is reported here.
    CEditJournal& Journal() { return m_journal; }

    CDataItem& RootItem() { return m_rootItem; }
    const CDataItem& RootItem() const { return m_rootItem; }
    const CXmlDocument& OperationDocument() const;
    const CXmlDocument& WorkingDocument() const;
    int CodeplugVersion() const;
    const CVersionFields& VersionFields() const;
    // Null until Initialize succeeded; the same engine serves every profile loaded later.
    const CRuleScriptHost* ScriptHost() const;

private:
    // A profile as read, with what its codeplug version needs put on before validation.
    struct SOperation;
    // The documents, schema and script engine behind the root item: the XML library's world,
    // which the pages binding to this model never see.
    struct SDocuments;

    QString InstallFile(const char* name) const;
    bool Load(const QString& source, bool isPath, const QString& sourceName);
    bool InitialOperaDoc(const QString& source, bool isPath, const QString& sourceName);
    // Reads and parses the profile without touching the one held; nothing when the file cannot be
    // read, 135 with the parser's reason when it does not parse.
    std::optional<SOperation> ReadOperation(const QString& source, bool isPath,
                                            const QString& sourceName) const;
    // Ends the script's view before the working document goes, so no script object outlives it;
    // the items of the document are retired and keep it alive for as long as any of them exists.
    void DropWorkingDocument();
    // `working` becomes the working document, under a fresh root item and a fresh script view.
    void InstallWorking(CXmlDocument working);

    const CConfiguration& m_config;
    IUserPrompt& m_prompt;
    const CSettingsDocuments* m_settings;

    CEditJournal m_journal;
    CDataItem m_rootItem;
    // Shared by the items of the working document held now; retired when it is replaced.
    std::shared_ptr<SDataContext> m_context;
    std::unique_ptr<SDocuments> m_documents;
};
