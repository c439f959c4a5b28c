#include "app/vesk_cps_doc.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>

#include "app/main_frame.h"
#include "app/vesk_cps_app.h"
#include "app/wait_cursor.h"
#include "model/profile_document.h"
#include "platform/files/atomic_file.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"
#include "radio/document_image.h"

namespace {

constexpr char kExtension[] = ".vk4";

QString LastFolderKey() {
    return kApplicationName + QStringLiteral("/Settings");
}

}  // namespace

CVeskCPSDoc::CVeskCPSDoc(CVeskCPSApp& app)
    : m_app(app),
      m_profile(std::make_unique<CProfileDocument>(app.Config(), app.Prompt(), &app.Settings())) {
    m_profile->SetHistoryChanged([this] {
        Q_EMIT HistoryChanged();
        // A step may have made the profile modified, or an undo taken it back to its file.
        Q_EMIT TitleChanged();
    });
}

CVeskCPSDoc::~CVeskCPSDoc() = default;

bool CVeskCPSDoc::OnNewDocument(const QString& templatePath) {
    if (!m_profile->NewFromTemplate(templatePath)) {
        return false;
    }
    m_profile->SetTitle(m_app.NextUntitledName());
    return true;
}

bool CVeskCPSDoc::OnNewDocumentFromImage(CVirtualCP& image) {
    if (!NewFromImage(*m_profile, image)) {
        return false;
    }
    m_profile->SetTitle(m_app.NextUntitledName());
    return true;
}

bool CVeskCPSDoc::OnOpenDocument(const QString& path) {
    if (!m_profile->Open(path)) {
        return false;
    }
    m_profile->SetTitle(QFileInfo(path).fileName());
    return true;
}

const QString& CVeskCPSDoc::PathName() const {
    return m_profile->Path();
}

QString CVeskCPSDoc::Title() const {
    return m_profile->Title();
}

bool CVeskCPSDoc::IsModified() const {
    return m_profile->IsModified();
}

void CVeskCPSDoc::SetModifiedFlag(bool modified) {
    if (modified != m_profile->IsModified()) {
        m_profile->SetModified(modified);
        Q_EMIT TitleChanged();
    }
}

void CVeskCPSDoc::ProfileReplaced() {
    Q_EMIT Replaced();
    Q_EMIT TitleChanged();
}

bool CVeskCPSDoc::Undo() {
    return AfterHistoryStep(m_profile->Undo());
}

bool CVeskCPSDoc::Redo() {
    return AfterHistoryStep(m_profile->Redo());
}

bool CVeskCPSDoc::AfterHistoryStep(const std::optional<SEditPlace>& place) {
    if (!place) {
        return false;
    }
    Q_EMIT Replaced();
    Q_EMIT Restored(place->section, place->index);
    return true;
}

QWidget* CVeskCPSDoc::DialogParent() const {
    return m_app.MainFrame();
}

bool CVeskCPSDoc::DoFileSave() {
    const QFileInfo file(PathName());
    if (!PathName().isEmpty() && file.exists() && file.isWritable()) {
        return DoSave(PathName());
    }
    return DoSave(QString());
}

bool CVeskCPSDoc::DoSaveAs() {
    return DoSave(QString());
}

QString CVeskCPSDoc::AskSavePath() const {
    const CStringTable& strings = CStringTable::Instance();
    const QString filter = QStringLiteral("%1 %2 (*%3);;%4 (*.*)")
                               .arg(kApplicationName, strings.Text(kTextFiles),
                                    QLatin1String(kExtension), strings.Text(kTextAllFiles));
    QString proposed = m_profile->ProposedFileName();
    if (QFileInfo(proposed).isRelative()) {
        const QString folder = m_app.Config()
                                   .UserHive()
                                   .ReadText(LastFolderKey(), QStringLiteral("LastFolder"))
                                   .value_or(QString());
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
            proposed = folder + u'/' + proposed;
        }
    }
    QFileDialog dialog(DialogParent(), QString(), proposed, filter);
    dialog.setObjectName(QStringLiteral("saveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("vk4"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    m_app.Config().UserHive().WriteText(LastFolderKey(), QStringLiteral("LastFolder"),
                                        QFileInfo(chosen).absolutePath());
    return chosen;
}

bool CVeskCPSDoc::DoSave(const QString& path, bool replace) {
    if (!m_profile->PrepareSave()) {
        return false;
    }
    QString target = path;
    if (target.isEmpty()) {
        target = AskSavePath();
        if (target.isEmpty()) {
            return false;
        }
    }
    bool saved = false;
    {
        const CWaitCursor wait;
        // The file is replaced whole or not at all, so a failed save leaves nothing to delete:
        // removing the target here would remove the user's earlier file.
        saved = m_profile->SaveTo(target, replace);
    }
    if (saved && replace) {
        m_profile->SetTitle(QFileInfo(target).fileName());
        m_app.RecentFiles().Add(target);
        Q_EMIT TitleChanged();
    }
    return saved;
}

bool CVeskCPSDoc::SaveModified() {
    if (!IsModified()) {
        return true;
    }
    QString name = PathName().isEmpty() ? QString() : QFileInfo(PathName()).fileName();
    if (name.isEmpty()) {
        name = Title();
    }
    if (name.isEmpty()) {
        name = CStringTable::Instance().Text(kTextUntitled);
    }
    const QString question = CStringTable::Instance().Format(kMsgSaveChanges, {name});
    switch (m_app.Prompt().Ask(kMsgSaveChanges, question, PromptStyle::YesNoCancel)) {
        case PromptAnswer::No:
            return true;
        case PromptAnswer::Yes:
            return DoFileSave();
        default:
            return false;
    }
}

namespace {

constexpr int kTextCsvFilter = 724;
constexpr int kTextRowsImported = 725;
constexpr int kMsgCannotWrite = 726;
constexpr int kMsgCannotRead = 727;
constexpr int kTextMoreProblems = 728;
// A fleet plan is a few kilobytes; anything far larger is no plan and is not read into memory.
constexpr qint64 kLargestTableFile = 4 * 1024 * 1024;
// Lines a message box can show before the rest is only counted.
constexpr int kProblemsShown = 25;

QString TableName(profile_csv::ETable table) {
    return table == profile_csv::ETable::Frequencies ? QStringLiteral("frequencies")
                                                     : QStringLiteral("channels");
}

}  // namespace

QString CVeskCPSDoc::AskTablePath(profile_csv::ETable table, bool save) const {
    const QString folder = m_app.Config()
                               .UserHive()
                               .ReadText(LastFolderKey(), QStringLiteral("LastTableFolder"))
                               .value_or(QString());
    QString proposed;
    if (save) {
        proposed = QFileInfo(Title()).completeBaseName() + u'-' + TableName(table) +
                   QStringLiteral(".csv");
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
            proposed = folder + u'/' + proposed;
        }
    } else if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        proposed = folder;
    }
    const CStringTable& strings = CStringTable::Instance();
    const QString filter = strings.Text(kTextCsvFilter) +
                           QStringLiteral(";;%1 (*.*)").arg(strings.Text(kTextAllFiles));
    QFileDialog dialog(DialogParent(), QString(), proposed, filter);
    dialog.setObjectName(save ? QStringLiteral("exportDialog") : QStringLiteral("importDialog"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save) {
        dialog.setDefaultSuffix(QStringLiteral("csv"));
    }
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    m_app.Config().UserHive().WriteText(LastFolderKey(), QStringLiteral("LastTableFolder"),
                                        QFileInfo(chosen).absolutePath());
    return chosen;
}

bool CVeskCPSDoc::ImportTable(profile_csv::ETable table) {
    // What is typed into the page on show belongs to the profile the file is laid over.
    if (!m_navigator.CanLeaveCurrentPage()) {
        return false;
    }
    const QString path = AskTablePath(table, false);
    if (path.isEmpty()) {
        return false;
    }
    const CStringTable& strings = CStringTable::Instance();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_app.Prompt().Ask(kSystemMessage,
                           strings.Format(kMsgCannotRead, {path, file.errorString()}),
                           PromptStyle::Error);
        return false;
    }
    // A file far larger than any plan is not read whole: what was read is refused for its rows.
    const QByteArray bytes = file.read(kLargestTableFile + 1);
    profile_csv::SImportResult result;
    try {
        const CWaitCursor wait;
        result = profile_csv::Import(*m_profile, table, bytes);
    } catch (const CVeskCPSException& error) {
        Q_EMIT Replaced();
        ShowModelException(m_app.Prompt(), error);
        return false;
    }
    // Applied or put back, the items the windows hold were retired: they fetch them anew, and go
    // to the table the file was for.
    Q_EMIT Replaced();
    Q_EMIT Restored(TableName(table), -1);
    Q_EMIT TitleChanged();
    if (!result.applied) {
        QStringList lines;
        for (const profile_csv::SImportProblem& problem : result.problems) {
            if (lines.size() == kProblemsShown) {
                lines << strings.Format(
                    kTextMoreProblems,
                    {QString::number(qsizetype(result.problems.size()) - kProblemsShown)});
                break;
            }
            lines << profile_csv::ProblemText(problem);
        }
        lines << profile_csv::NothingImportedText();
        m_app.Prompt().Ask(kSystemMessage, lines.join(u'\n'), PromptStyle::Error);
        return false;
    }
    Q_EMIT StatusMessage(strings.Format(kTextRowsImported, {QString::number(result.rows)}));
    return true;
}

bool CVeskCPSDoc::ExportTable(profile_csv::ETable table) {
    if (!m_navigator.CanLeaveCurrentPage()) {
        return false;
    }
    QByteArray bytes;
    try {
        bytes = profile_csv::Export(m_profile->Model().RootItem(), table);
    } catch (const CVeskCPSException& error) {
        ShowModelException(m_app.Prompt(), error);
        return false;
    }
    const QString path = AskTablePath(table, true);
    if (path.isEmpty()) {
        return false;
    }
    QString reason;
    if (!WriteFileAtomically(path, bytes, &reason)) {
        m_app.Prompt().Ask(kSystemMessage,
                           CStringTable::Instance().Format(kMsgCannotWrite, {path, reason}),
                           PromptStyle::Error);
        return false;
    }
    return true;
}
