#include "model/radio_data_model.h"

#include <optional>

#include <QFile>

#include "model/compiled_schema.h"
#include "model/profile_file.h"
#include "model/profile_node_access.h"
#include "model/rule_script_host.h"
#include "model/settings_documents.h"
#include "model/version_fields.h"
#include "platform/script/dom.h"
#include "platform/settings/configuration.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/namespaces.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"

namespace {

const QString kLoadProfile = QStringLiteral("CRadioDataModel::LoadProfile");
const QString kInitialOperaDoc = QStringLiteral("CRadioDataModel::InitialOperaDoc");

// A profile given as text has no file name; its whole text would make an unreadable message.
QString SourceName(const QString& source, bool isPath) {
    return isPath ? source : QStringLiteral("(profile text)");
}

// The parser's reason and where it met it, without the context lines the exception gathered on
// its way: "<reason>; line L, column C (...)".
QString ParseReason(const CVeskCPSException& error) {
    QString reason;
    QString where;
    for (const QString& line : error.Summary().split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("ErrorMsg: "))) {
            reason = line.mid(10).trimmed();
        } else if (line.startsWith(QStringLiteral("Desc: "))) {
            where = line.mid(6).trimmed();
        }
    }
    if (reason.isEmpty()) {
        return where.isEmpty() ? error.Text() : where;
    }
    return where.isEmpty() ? reason : reason + QStringLiteral("; ") + where;
}

}  // namespace

struct CRadioDataModel::SOperation {
    CXmlDocument document;
    int codeplugVersion = 0;
    CVersionFields versionFields;
};

// Declared in the order of creation so that destruction releases them in reverse.
struct CRadioDataModel::SDocuments {
    CXmlDocument working;
    std::shared_ptr<const CCompiledSchema> schema;
    std::shared_ptr<vbs::CDomDocument> workingView;
    // The host is both the engine and the site the engine reports to.
    std::unique_ptr<CRuleScriptHost> script;
    bool scriptReady = false;
    int codeplugVersion = 0;
    CXmlDocument operation;
    CVersionFields versionFields;
};

CRadioDataModel::CRadioDataModel(const CConfiguration& config, IUserPrompt& prompt,
                                 const CSettingsDocuments* settings)
    : m_config(config),
      m_prompt(prompt),
      m_settings(settings),
      m_documents(std::make_unique<SDocuments>()) {}

const CXmlDocument& CRadioDataModel::OperationDocument() const {
    return m_documents->operation;
}

const CXmlDocument& CRadioDataModel::WorkingDocument() const {
    return m_documents->working;
}

int CRadioDataModel::CodeplugVersion() const {
    return m_documents->codeplugVersion;
}

const CVersionFields& CRadioDataModel::VersionFields() const {
    return m_documents->versionFields;
}

const CRuleScriptHost* CRadioDataModel::ScriptHost() const {
    return m_documents->script.get();
}

CRadioDataModel::~CRadioDataModel() {
    DropWorkingDocument();
}

QString CRadioDataModel::InstallFile(const char* name) const {
    return m_config.GetInstallPath() + QStringLiteral("/profiletemplate/") +
           QString::fromUtf8(name);
}

namespace {

// What retired data items still point into: their document, and the schema index they type by.
struct SRetiredDocument {
    CXmlDocument document;
    std::shared_ptr<const CCompiledSchema> schema;
};

}  // namespace

void CRadioDataModel::DropWorkingDocument() {
    m_rootItem = CDataItem();
    if (m_documents->script) {
        m_documents->script->SetDocument(nullptr);
    }
    if (m_documents->workingView) {
        m_documents->workingView->Release();
        m_documents->workingView.reset();
    }
    if (m_context != nullptr) {
        m_context->retired = true;
        m_context->script = nullptr;
        m_context->journal = nullptr;
        auto retired = std::make_shared<SRetiredDocument>();
        retired->document = std::move(m_documents->working);
        retired->schema = m_documents->schema;
        m_context->retiredDocument = std::move(retired);
        m_context.reset();
    }
    m_documents->working = CXmlDocument();
}

void CRadioDataModel::InstallWorking(CXmlDocument working) {
    std::shared_ptr<vbs::CDomDocument> view = vbs::CDomDocument::Wrap(working.Get());
    view->SetSelectionNamespaces(
        {{QString::fromUtf8(kProfilePrefix), QString::fromUtf8(kProfileNamespace)},
         {QString::fromUtf8(kMsXsltPrefix), QString::fromUtf8(kMsXsltNamespace)}});
    auto context = std::make_shared<SDataContext>();
    context->script = m_documents->script.get();
    context->schema = &m_documents->schema->Index();
    context->journal = &m_journal;

    m_documents->working = std::move(working);
    m_documents->workingView = std::move(view);
    m_documents->script->SetDocument(m_documents->workingView);
    m_context = context;
    m_rootItem =
        CDataItem(CProfileNodeAccess::Wrap(m_documents->working.Root()), std::move(context));
}

QByteArray CRadioDataModel::SaveWorkingState() const {
    return m_documents->working.ToXml();
}

void CRadioDataModel::RestoreWorkingState(const QByteArray& state) {
    const QString operation = QStringLiteral("CRadioDataModel::RestoreWorkingState");
    if (m_documents->working.IsNull() || !m_documents->schema) {
        throw CVeskCPSException(model_msg::kUnknownError, operation,
                                QStringLiteral("no profile is loaded"));
    }
    // Not validated again: the state is one this working document held, and an undo must bring
    // back exactly that, whatever the schema thinks of a value written without a rule.
    CXmlDocument working =
        CXmlDocument::Parse(state, QStringLiteral("(undo state)"), model_msg::kUnknownError);
    if (working.Root() == nullptr) {
        throw CVeskCPSException(model_msg::kUnknownError, operation,
                                QStringLiteral("the state holds no profile"));
    }
    DropWorkingDocument();
    InstallWorking(std::move(working));
    m_journal.NotifyReplaced();
}

bool CRadioDataModel::Initialize() {
    const std::optional<QString> text = profile_file::Read(InstallFile("DataProfile.vbs"));
    if (!text || text->isEmpty()) {
        m_prompt.Show(kMsgFilesMissing);
        return false;
    }
    auto script = std::make_unique<CRuleScriptHost>(m_prompt);
    script->Start(*text, QStringLiteral("DataProfile.vbs"));
    m_documents->script = std::move(script);
    m_documents->scriptReady = true;
    return true;
}

bool CRadioDataModel::InitialOperaDoc(const QString& source, bool isPath) {
    return InitialOperaDoc(source, isPath, SourceName(source, isPath));
}

bool CRadioDataModel::InitialOperaDoc(const QString& source, bool isPath,
                                      const QString& sourceName) {
    std::optional<SOperation> operation = ReadOperation(source, isPath, sourceName);
    if (!operation) {
        return false;
    }
    m_documents->operation = std::move(operation->document);
    m_documents->codeplugVersion = operation->codeplugVersion;
    m_documents->versionFields = std::move(operation->versionFields);
    return true;
}

std::optional<CRadioDataModel::SOperation> CRadioDataModel::ReadOperation(
    const QString& source, bool isPath, const QString& sourceName) const {
    try {
        QString text;
        if (isPath) {
            std::optional<QString> read = profile_file::Read(source);
            if (!read) {
                return std::nullopt;
            }
            text = std::move(*read);
        } else {
            text = source;
        }
        SOperation operation;
        try {
            operation.document = CXmlDocument::ParseText(text, sourceName);
        } catch (const CVeskCPSException& error) {
            throw CVeskCPSException::WithText(
                model_msg::kInvalidProfile,
                QStringLiteral("File='%1'\nDesc: %2").arg(sourceName, ParseReason(error)),
                kInitialOperaDoc, QStringLiteral("parse"));
        }
        CXPathContext xpath(operation.document, model_msg::kFailedToLoadProfile);
        const xmlNodePtr factory = xpath.SelectSingle(QStringLiteral("//dfns:factory_setting"));
        // A profile without a readable version gets the fields of the oldest; the schema then
        // says what is wrong with it.
        operation.codeplugVersion =
            factory ? xml::AttributeInt32(factory, "codeplug_version").value_or(0) : 0;
        if (m_settings) {
            operation.versionFields = CVersionFields::Compute(
                m_settings->Document(CSettingsDocuments::Doc::UpDownGradeSetting),
                m_settings->RegionName(), operation.codeplugVersion);
        }
        return operation;
    } catch (CVeskCPSException& error) {
        error.PassOn(kInitialOperaDoc);
        throw;
    }
}

bool CRadioDataModel::LoadProfile(const QString& source, bool isPath) {
    return Load(source, isPath, SourceName(source, isPath));
}

bool CRadioDataModel::LoadProfileText(const QString& text, const QString& sourceName) {
    return Load(text, false, sourceName);
}

// Everything of the new profile is built beside the one held; only when all of it loaded does it
// take the held one's place, so a profile that fails (a damaged file, an image a read brought)
// costs nothing of what was open, unsaved edits included.
bool CRadioDataModel::Load(const QString& source, bool isPath, const QString& sourceName) {
    try {
        if (!m_documents->scriptReady && !Initialize()) {
            return false;
        }

        // Read on every load, so that a schema changed on disk is the one loads go by; compiled
        // only when its text changed.
        const std::optional<QString> schemaText =
            profile_file::Read(InstallFile("DataProfile.xsd"));
        if (!schemaText || schemaText->isEmpty()) {
            m_prompt.Show(kMsgFilesMissing);
            return false;
        }
        std::shared_ptr<const CCompiledSchema> schema =
            CCompiledSchema::For(*schemaText, QStringLiteral("DataProfile.xsd"));

        std::optional<SOperation> operation = ReadOperation(source, isPath, sourceName);
        if (!operation) {
            throw CVeskCPSException::WithText(
                model_msg::kInvalidProfile,
                QStringLiteral("File='%1'\nDesc: the file cannot be read").arg(sourceName),
                kLoadProfile, QStringLiteral("read"));
        }
        operation->versionFields.PutOn(operation->document);

        CXmlDocument working =
            schema->Validator().ParseAndValidate(operation->document.ToXml(), sourceName);

        DropWorkingDocument();
        m_documents->schema = std::move(schema);
        m_documents->operation = std::move(operation->document);
        m_documents->codeplugVersion = operation->codeplugVersion;
        m_documents->versionFields = std::move(operation->versionFields);
        InstallWorking(std::move(working));
        m_journal.NotifyReplaced();
        return true;
    } catch (CVeskCPSException& error) {
        error.PassOn(kLoadProfile);
        throw;
    }
}

void CRadioDataModel::TakeOffDoc() {
    if (m_documents->working.IsNull()) {
        throw CVeskCPSException(model_msg::kFailedToSave,
                                QStringLiteral("CRadioDataModel::TakeOffDoc"),
                                QStringLiteral("no profile is loaded"));
    }
    m_documents->operation = CXmlDocument::Parse(
        m_documents->working.ToXml(), QStringLiteral("working document"), model_msg::kFailedToSave);
    m_documents->versionFields.TakeOff(m_documents->operation);
}

void CRadioDataModel::CheckProfileText(const QString& text, const QString& sourceName) const {
    if (!m_documents->schema) {
        throw CVeskCPSException(model_msg::kFailedToSave,
                                QStringLiteral("CRadioDataModel::CheckProfileText"),
                                QStringLiteral("no profile is loaded"));
    }
    std::optional<SOperation> operation = ReadOperation(text, false, sourceName);
    operation->versionFields.PutOn(operation->document);
    m_documents->schema->Validator().ParseAndValidate(operation->document.ToXml(), sourceName);
}
