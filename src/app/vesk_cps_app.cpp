#include "app/vesk_cps_app.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiSubWindow>

#include "app/child_frame.h"
#include "app/main_frame.h"
#include "app/new_profile_dlg.h"
#include "app/startup.h"
#include "app/vesk_cps_doc.h"
#include "model/profile_admission.h"
#include "model/rule_script_host.h"
#include "platform/settings/decimal_separator.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"
#include "radio/virtual_cp.h"

CVeskCPSApp::CVeskCPSApp(CConfiguration config, IUserPrompt& prompt)
    : m_config(std::move(config)), m_prompt(prompt), m_recentFiles(m_config) {}

CVeskCPSApp::~CVeskCPSApp() {
    // The windows go first: their documents read the settings documents while they close.
    m_mainFrame.reset();
}

QString CVeskCPSApp::TemplateFolder() const {
    return m_config.GetInstallPath() + QStringLiteral("/profiletemplate");
}

bool CVeskCPSApp::CheckInstallationFiles() const {
    for (const char* name : {"DataProfile.vbs", "DataProfile.xsd"}) {
        QFile file(TemplateFolder() + u'/' + QLatin1String(name));
        if (!file.open(QIODevice::ReadOnly)) {
            m_prompt.Show(kMsgFilesMissing);
            return false;
        }
    }
    return true;
}

bool CVeskCPSApp::InitInstance(const QStringList& arguments) {
    if (!CRuleScriptHost::CheckScriptEngine(m_prompt)) {
        return false;
    }
    if (!m_config.PrepareConfiguration(m_prompt)) {
        return false;
    }
    if (!m_settings.LoadAll(m_config, m_prompt)) {
        return false;
    }
    if (!CheckInstallationFiles()) {
        return false;
    }
    m_regionName = m_settings.RegionName();
    const std::optional<QMap<int, QString>> modelRegions = m_settings.ModelRegions();
    if (!modelRegions) {
        return false;
    }
    m_modelRegions = *modelRegions;
    m_language = LoadLanguage(m_config, m_prompt, CStringTable::Instance());
    m_decimalSeparator = DecimalSeparatorFor(m_language);
    m_recentFiles.Load();

    m_mainFrame = std::make_unique<CMainFrame>(*this);
    m_mainFrame->ApplyLanguageMenu(m_settings.SupportedLanguages());

    const QString path = arguments.value(0);
    return path.isEmpty() || OpenDocumentFile(path) != nullptr;
}

QString CVeskCPSApp::NextUntitledName() {
    return QStringLiteral("Profile%1").arg(++m_untitledCount);
}

void CVeskCPSApp::SetWaitingImage(std::unique_ptr<CVirtualCP> image) {
    m_waitingImage = std::move(image);
}

CVeskCPSDoc* CVeskCPSApp::OnFileNew() {
    if (m_waitingImage) {
        const std::unique_ptr<CVirtualCP> image = std::move(m_waitingImage);
        auto document = std::make_unique<CVeskCPSDoc>(*this);
        if (!document->OnNewDocumentFromImage(*image)) {
            return nullptr;
        }
        return m_mainFrame->AddDocumentWindow(std::move(document));
    }
    const std::optional<QString> templatePath =
        CNewProfileDlg::ChooseTemplate(m_config, m_prompt, m_mainFrame.get());
    if (!templatePath) {
        return nullptr;
    }
    return NewDocumentFromTemplate(*templatePath);
}

CVeskCPSDoc* CVeskCPSApp::NewDocumentFromTemplate(const QString& templatePath) {
    if (!CheckProfileAdmission(templatePath, m_config, m_prompt, m_settings)) {
        return nullptr;
    }
    auto document = std::make_unique<CVeskCPSDoc>(*this);
    if (!document->OnNewDocument(templatePath)) {
        return nullptr;
    }
    return m_mainFrame->AddDocumentWindow(std::move(document));
}

void CVeskCPSApp::OnFileOpen() {
    const CStringTable& strings = CStringTable::Instance();
    const QString filter = QStringLiteral("%1 %2 (*.vk4);;%3 (*.*)")
                               .arg(kApplicationName, strings.Text(CVeskCPSDoc::kTextFiles),
                                    strings.Text(CVeskCPSDoc::kTextAllFiles));
    QFileDialog dialog(m_mainFrame.get(), QString(), QString(), filter);
    dialog.setObjectName(QStringLiteral("openDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const QString folder =
        m_config.UserHive()
            .ReadText(kApplicationName + QStringLiteral("/Settings"), QStringLiteral("LastFolder"))
            .value_or(QString());
    if (!folder.isEmpty()) {
        dialog.setDirectory(folder);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = dialog.selectedFiles().constFirst();
    m_config.UserHive().WriteText(kApplicationName + QStringLiteral("/Settings"),
                                  QStringLiteral("LastFolder"), QFileInfo(path).absolutePath());
    OpenDocumentFile(path);
}

CVeskCPSDoc* CVeskCPSApp::OpenDocumentFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (CVeskCPSDoc* open = m_mainFrame->FindDocument(absolute)) {
        m_mainFrame->ActivateDocument(open);
        return open;
    }
    if (!CheckProfileAdmission(absolute, m_config, m_prompt, m_settings)) {
        return nullptr;
    }
    auto document = std::make_unique<CVeskCPSDoc>(*this);
    if (!document->OnOpenDocument(absolute)) {
        return nullptr;
    }
    m_recentFiles.Add(absolute);
    return m_mainFrame->AddDocumentWindow(std::move(document));
}

void CVeskCPSApp::OnRecentFile(int index) {
    const QString path = m_recentFiles.Entries().value(index);
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_recentFiles.Remove(index);
        m_prompt.Ask(kSystemMessage, QStringLiteral("%1\n%2").arg(path, file.errorString()),
                     PromptStyle::Error);
        return;
    }
    file.close();
    if (OpenDocumentFile(path) == nullptr) {
        m_recentFiles.Remove(index);
    }
}

void CVeskCPSApp::ProcessShellCommand(const QStringList& arguments) {
    const QString path = arguments.value(0);
    if (!path.isEmpty()) {
        OpenDocumentFile(path);
    }
}
