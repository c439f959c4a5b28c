#pragma once

#include <optional>

#include <QDialog>
#include <QString>
#include <QStringList>

class CConfiguration;
class IUserPrompt;
class QListWidget;
class QListWidgetItem;

// Asks which model a new profile is made for: one entry per template file in the installation's
// profiletemplate folder. Whether the chosen template may be opened is decided by the caller.
class CNewProfileDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMsgNoTemplates = 296;
    static constexpr int kListControl = 1027;

    explicit CNewProfileDlg(QString installPath, QWidget* parent = nullptr);

    // The template names of an installation (file names without ".vk4"), in the order the list
    // shows them.
    static QStringList TemplateNames(const QString& installPath);

    // Shows message 296 and gives Rejected at once when there is no template; otherwise runs the
    // dialog.
    int Run(IUserPrompt& prompt);
    // The chosen template's path after Accepted.
    QString TemplatePath() const { return m_templatePath; }

    // The whole New Profile question: the template path, or nullopt for Cancel or no templates.
    static std::optional<QString> ChooseTemplate(const CConfiguration& config, IUserPrompt& prompt,
                                                 QWidget* parent);

    void accept() override;

private:
    void Choose(QListWidgetItem* item);

    QString m_installPath;
    QListWidget* m_list = nullptr;
    QString m_templatePath;
};
