#pragma once

// The application object: the start-up sequence, the things every document reads (settings
// documents, template folder, region, language, decimal separator), New and Open with the
// admission check, and the recent-file list. It owns the main window.

#include <memory>
#include <optional>

#include <QMap>
#include <QString>
#include <QStringList>

#include "app/recent_file_list.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"

class CMainFrame;
class CVeskCPSDoc;
class CVirtualCP;
class IUserPrompt;

class CVeskCPSApp {
public:
    static constexpr int kMsgFilesMissing = 315;
    static constexpr int kMsgNoTemplates = 296;

    CVeskCPSApp(CConfiguration config, IUserPrompt& prompt);
    ~CVeskCPSApp();
    CVeskCPSApp(const CVeskCPSApp&) = delete;
    CVeskCPSApp& operator=(const CVeskCPSApp&) = delete;

    // The start-up sequence up to and including the command line (`arguments` without the
    // program name). False ends the program; every end but the silent ones has shown its
    // message. The splash and the first showing of the main window are the caller's.
    bool InitInstance(const QStringList& arguments);

    const CConfiguration& Config() const { return m_config; }
    const CSettingsDocuments& Settings() const { return m_settings; }
    IUserPrompt& Prompt() const { return m_prompt; }
    CMainFrame* MainFrame() const { return m_mainFrame.get(); }
    const QString& RegionName() const { return m_regionName; }
    const QMap<int, QString>& ModelRegions() const { return m_modelRegions; }
    // The language in effect since start-up; the language menu changes only the stored one.
    const QString& Language() const { return m_language; }
    const QString& DecimalSeparator() const { return m_decimalSeparator; }
    QString TemplateFolder() const;
    CRecentFileList& RecentFiles() { return m_recentFiles; }

    // New: a waiting radio image becomes the profile, otherwise the user picks a template,
    // which must be admitted. Null when nothing opened (cancelled, refused, failed).
    CVeskCPSDoc* OnFileNew();
    void OnFileOpen();
    // Open by path: the admission check, then the document. Used by Open, the recent files, the
    // shell, drag and drop and the command line. A file already open is brought to the front
    // instead of being opened twice.
    CVeskCPSDoc* OpenDocumentFile(const QString& path);
    void OnRecentFile(int index);
    // A request another start of the program handed over (a profile path, or nothing).
    void ProcessShellCommand(const QStringList& arguments);

    // A radio's image waiting to become the next new profile (after a read, Yes to 271).
    void SetWaitingImage(std::unique_ptr<CVirtualCP> image);

    // Names new documents get: "Profile1", "Profile2", ...
    QString NextUntitledName();

private:
    bool CheckInstallationFiles() const;
    CVeskCPSDoc* NewDocumentFromTemplate(const QString& templatePath);

    CConfiguration m_config;
    IUserPrompt& m_prompt;
    CSettingsDocuments m_settings;
    QString m_regionName;
    QMap<int, QString> m_modelRegions;
    QString m_language;
    QString m_decimalSeparator = QStringLiteral(".");
    CRecentFileList m_recentFiles;
    std::unique_ptr<CVirtualCP> m_waitingImage;
    int m_untitledCount = 0;
    std::unique_ptr<CMainFrame> m_mainFrame;
};
