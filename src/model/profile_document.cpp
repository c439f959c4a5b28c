#include "model/profile_document.h"

#include <exception>
#include <optional>

#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include "model/data_item.h"
#include "model/profile_admission.h"
#include "model/profile_checks.h"
#include "model/profile_file.h"
#include "model/settings_documents.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/xml_document.h"

namespace {

const QString kSerialize = QStringLiteral("CProfileDocument::Serialize");

}  // namespace

void ShowModelException(IUserPrompt& prompt, const CVeskCPSException& error) {
    QString text = CStringTable::Instance().Text(error.MessageId());
    const QString summary = error.Summary().trimmed();
    if (!summary.isEmpty() && summary != text) {
        text += QStringLiteral("\n\n") + summary;
    }
    prompt.Ask(error.MessageId(), text, PromptStyle::Error);
}

CProfileDocument::CProfileDocument(const CConfiguration& config, IUserPrompt& prompt,
                                   const CSettingsDocuments* settings)
    : m_config(config),
      m_prompt(prompt),
      m_settings(settings),
      m_model(std::make_unique<CRadioDataModel>(config, prompt, settings)) {
    m_model->Journal().SetObserver(this);
}

CProfileDocument::~CProfileDocument() {
    m_model->Journal().SetObserver(nullptr);
}

void CProfileDocument::HistoryChanged() {
    if (m_historyChanged) {
        m_historyChanged();
    }
}

void CProfileDocument::Edited(const SEditChange& change) {
    if (m_history.Record(CEditHistory::Label(change), change.place, m_model->SaveWorkingState())) {
        m_modified = !m_history.IsAtSavedState();
        HistoryChanged();
    }
}

void CProfileDocument::Replaced() {
    if (m_restoring) {
        return;
    }
    // A profile that replaced the one held (a read from a radio) is on no disk.
    m_history.Reset(m_model->SaveWorkingState(), false);
    HistoryChanged();
}

void CProfileDocument::ResetHistory() {
    m_history.Reset(m_model->SaveWorkingState(), !m_modified);
    HistoryChanged();
}

void CProfileDocument::SetModified(bool modified) {
    m_modified = modified;
    if (!modified) {
        m_history.MarkSaved();
    }
    HistoryChanged();
}

std::optional<SEditPlace> CProfileDocument::Undo() {
    return MoveInHistory(false);
}

std::optional<SEditPlace> CProfileDocument::Redo() {
    return MoveInHistory(true);
}

std::optional<SEditPlace> CProfileDocument::MoveInHistory(bool redo) {
    try {
        // An edit still in a field is the user's last change: it becomes a step first.
        if (m_commitEdits && !m_commitEdits()) {
            return std::nullopt;
        }
    } catch (const CVeskCPSException& error) {
        ShowModelException(m_prompt, error);
        return std::nullopt;
    }
    if (redo ? !m_history.CanRedo() : !m_history.CanUndo()) {
        return std::nullopt;
    }
    SEditPlace place;
    const QByteArray state = redo ? m_history.Redo(&place) : m_history.Undo(&place);
    m_restoring = true;
    try {
        m_model->RestoreWorkingState(state);
    } catch (const CVeskCPSException& error) {
        m_restoring = false;
        m_history.Revert(redo ? 1 : -1);
        ShowModelException(m_prompt, error);
        return std::nullopt;
    }
    m_restoring = false;
    m_modified = !m_history.IsAtSavedState();
    HistoryChanged();
    return place;
}

bool CProfileDocument::ApplyAsOneStep(const QString& label, const std::function<bool()>& change) {
    const QByteArray before = m_model->SaveWorkingState();
    bool kept = false;
    std::exception_ptr failure;
    {
        // Declared before the group, so that it still silences the journal when the group closes:
        // a change that is undone leaves no step behind.
        std::optional<CEditJournal::CSilence> discard;
        CEditJournal::CGroup group(m_model->Journal(), label);
        try {
            kept = change();
        } catch (...) {
            failure = std::current_exception();
        }
        if (!kept) {
            discard.emplace(m_model->Journal());
        }
    }
    if (!kept && m_model->SaveWorkingState() != before) {
        // The history still ends at `before`: putting it back is no new profile and no step.
        m_restoring = true;
        try {
            m_model->RestoreWorkingState(before);
        } catch (...) {
            m_restoring = false;
            throw;
        }
        m_restoring = false;
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    return kept;
}

bool CProfileDocument::Load(const QByteArray& text, const QString& sourceName) {
    try {
        return m_model->LoadProfileText(QString::fromUtf8(text), sourceName);
    } catch (const CVeskCPSException& error) {
        ShowModelException(m_prompt, error);
        return false;
    }
}

bool CProfileDocument::NewFromTemplate(const QString& templatePath) {
    try {
        if (!m_model->LoadProfile(templatePath, true)) {
            return false;
        }
    } catch (const CVeskCPSException& error) {
        ShowModelException(m_prompt, error);
        return false;
    }
    m_path.clear();
    m_modified = false;
    ResetHistory();
    return true;
}

bool CProfileDocument::NewFromImageText(QByteArray profileText) {
    try {
        CDataItem::ProcessChannelName(profileText);
    } catch (const CVeskCPSException& error) {
        ShowModelException(m_prompt, error);
        return false;
    }
    if (!Load(profileText, QStringLiteral("(radio)"))) {
        return false;
    }
    m_path.clear();
    m_modified = true;
    ResetHistory();
    return true;
}

void CProfileDocument::TransmitAsReceiveWithoutRepeater() {
    CDataItem& root = m_model->RootItem();
    CDataItem limit = root.GetChildByName(QStringLiteral("limit"));
    if (limit.GetAttributeValue(QStringLiteral("disable_repeater_feature")).toBool()) {
        // What the model cannot keep is no step of the user's that could be undone.
        const CEditJournal::CSilence silence(m_model->Journal());
        root.CopyReceiveToTransmit();
        m_history.ReplaceCurrent(m_model->SaveWorkingState());
    }
}

bool CProfileDocument::Open(const QString& path) {
    const std::optional<QString> text = profile_file::Read(path);
    if (!text) {
        ShowModelException(m_prompt,
                           CVeskCPSException::WithText(
                               model_msg::kInvalidProfile,
                               QStringLiteral("File='%1'\nDesc: the file cannot be read").arg(path),
                               QStringLiteral("CProfileDocument::Open"), QStringLiteral("read")));
        return false;
    }
    try {
        if (!m_model->LoadProfileText(*text, path)) {
            return false;
        }
    } catch (const CVeskCPSException& error) {
        ShowModelException(m_prompt, error);
        return false;
    }
    m_path = path;
    m_title = QFileInfo(path).fileName();
    m_modified = false;
    TellCorrectedFrequencyCount();
    ResetHistory();
    return true;
}

void CProfileDocument::TellCorrectedFrequencyCount() {
    std::optional<int> corrected;
    try {
        corrected = profile_checks::CorrectFrequencyCount(m_model->RootItem());
    } catch (const CVeskCPSException& error) {
        ShowModelException(m_prompt, error);
        return;
    }
    if (corrected) {
        m_prompt.Ask(profile_checks::kMsgFrequencyCountCorrected,
                     CStringTable::Instance().Format(profile_checks::kMsgFrequencyCountCorrected,
                                                     {QString::number(*corrected)}),
                     PromptStyle::Warning);
        // The correction exists only in memory until the profile is saved.
        m_modified = true;
    }
}

void CProfileDocument::Step(ESaveStep step) const {
    if (m_saveStepHook) {
        m_saveStepHook(step);
    }
}

QByteArray CProfileDocument::RecoverXML(const QString& text) {
    CXmlDocument document;
    try {
        document = CXmlDocument::ParseText(text, QStringLiteral("profile"));
    } catch (const CVeskCPSException& error) {
        QString reason = error.Summary();
        for (const QString& line : reason.split(QLatin1Char('\n'))) {
            if (line.startsWith(QStringLiteral("ErrorMsg: "))) {
                reason = line.mid(10);
            }
        }
        throw CVeskCPSException::WithText(
            model_msg::kInvalidProfile, QStringLiteral("Desc: %1").arg(reason),
            QStringLiteral("CProfileDocument::RecoverXML"), QStringLiteral("parse"));
    }
    return document.ToXml();
}

QByteArray CProfileDocument::Serialize() {
    return SerializeSteps();
}

QByteArray CProfileDocument::SerializeSteps() {
    try {
        Step(ESaveStep::CopyToTransmit);
        TransmitAsReceiveWithoutRepeater();
        Step(ESaveStep::ResetSubRegion);
        {
            const CEditJournal::CSilence silence(m_model->Journal());
            m_model->RootItem().ResetSubRegion();
            m_history.ReplaceCurrent(m_model->SaveWorkingState());
        }
        Step(ESaveStep::TakeOff);
        m_model->TakeOffDoc();
        Step(ESaveStep::Recover);
        const QString text =
            QString::fromUtf8(RecoverXML(QString::fromUtf8(m_model->OperationDocument().ToXml())));
        Step(ESaveStep::Verify);
        Verify(text);
        Step(ESaveStep::Scramble);
        return profile_file::Encode(text);
    } catch (CVeskCPSException& error) {
        error.PassOn(kSerialize);
        throw;
    }
}

void CProfileDocument::Verify(const QString& text) const {
    const QString name = m_path.isEmpty() ? m_title : m_path;
    try {
        m_model->CheckProfileText(text, name);
    } catch (const CVeskCPSException& error) {
        throw CVeskCPSException::WithText(model_msg::kFailedToSave, error.Summary(),
                                          QStringLiteral("CProfileDocument::Verify"),
                                          QStringLiteral("the profile would not open again"));
    }
    if (!CheckMURFreq(text)) {
        throw CVeskCPSException::WithText(
            model_msg::kFailedToSave, CStringTable::Instance().Text(kMsgInvalidFrequency),
            QStringLiteral("CProfileDocument::Verify"),
            QStringLiteral("a frequency of the licence-free MURS service"));
    }
}

bool CProfileDocument::PrepareSave() {
    try {
        Step(ESaveStep::CommitEdits);
        if (m_commitEdits && !m_commitEdits()) {
            return false;
        }
        Step(ESaveStep::RangeCheck);
        if (!profile_checks::CheckChannelFrequencyRange(m_model->RootItem())) {
            m_prompt.Show(kMsgFrequencyOutOfRange, PromptStyle::Warning);
            return false;
        }
    } catch (const CVeskCPSException& error) {
        ShowModelException(m_prompt, error);
        return false;
    }
    return true;
}

bool CProfileDocument::SaveTo(const QString& path, bool replace) {
    try {
        Step(ESaveStep::CommitEdits);
        if (m_commitEdits && !m_commitEdits()) {
            return false;
        }
        const QByteArray bytes = SerializeSteps();

        // The new file is complete on disk before it takes the old one's name; until then the
        // old file is what anyone, including a crash, finds there.
        Step(ESaveStep::WriteTemporary);
        QSaveFile file(path);
        // QSaveFile buffers, and its commit() renames the file even when writing the buffer out
        // failed (a full disk, the size limit), so the write is flushed and checked here first.
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
            !file.flush()) {
            m_prompt.Ask(kSystemMessage,
                         QStringLiteral("Cannot save \"%1\": %2").arg(path, file.errorString()),
                         PromptStyle::Error);
            return false;
        }
        Step(ESaveStep::Replace);
        if (!file.commit()) {
            m_prompt.Ask(kSystemMessage,
                         QStringLiteral("Cannot save \"%1\": %2").arg(path, file.errorString()),
                         PromptStyle::Error);
            return false;
        }
    } catch (const CVeskCPSException& error) {
        ShowModelException(m_prompt, error);
        return false;
    }
    if (replace) {
        m_path = path;
        m_title = QFileInfo(path).fileName();
        SetModified(false);
    }
    return true;
}

bool CProfileDocument::Save(const QString& path, bool replace) {
    return PrepareSave() && SaveTo(path, replace);
}

QString CProfileDocument::ProposedFileName() const {
    if (!m_path.isEmpty()) {
        return m_path;
    }
    QString name = m_title;
    const qsizetype cut = name.indexOf(QRegularExpression(QStringLiteral("[:/\\\\]")));
    if (cut >= 0) {
        name.truncate(cut);
    }
    return name + QStringLiteral(".vk4");
}
