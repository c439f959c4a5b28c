#include "app/new_profile_dlg.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/settings/configuration.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"

namespace {

constexpr int kTitle = 272;
constexpr int kPrompt = 273;
constexpr int kOk = 140;
constexpr int kCancel = 141;

const QString kTemplateFolder = QStringLiteral("/profiletemplate/");
const QString kTemplateExtension = QStringLiteral(".vk4");

}  // namespace

CNewProfileDlg::CNewProfileDlg(QString installPath, QWidget* parent)
    : QDialog(parent), m_installPath(std::move(installPath)) {
    const CStringTable& strings = CStringTable::Instance();
    setWindowTitle(strings.Text(kTitle));

    auto* group = new QGroupBox(strings.Text(kPrompt), this);
    m_list = new QListWidget(group);
    m_list->setObjectName(QStringLiteral("control%1").arg(kListControl));
    m_list->setAccessibleName(strings.Text(kPrompt));
    m_list->addItems(TemplateNames(m_installPath));
    if (m_list->count() > 0) {
        m_list->setCurrentRow(0);
    }
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_list);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(strings.Text(kOk), QDialogButtonBox::AcceptRole);
    buttons->addButton(strings.Text(kCancel), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CNewProfileDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CNewProfileDlg::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CNewProfileDlg::Choose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);

    m_list->setFocus();
}

QStringList CNewProfileDlg::TemplateNames(const QString& installPath) {
    if (installPath.isEmpty()) {
        return {};
    }
    // Case-sensitive, so that every name listed gives back its file when ".vk4" is put on again.
    QDir folder(installPath + kTemplateFolder);
    folder.setFilter(QDir::Files | QDir::CaseSensitive);
    folder.setNameFilters({u'*' + kTemplateExtension});
    QStringList names;
    for (const QString& file : folder.entryList()) {
        names.append(file.chopped(kTemplateExtension.size()));
    }
    // Letters without regard to case, as a dealer reads them; the same order on every machine.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = QString::compare(a, b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

int CNewProfileDlg::Run(IUserPrompt& prompt) {
    if (m_list->count() == 0) {
        prompt.Show(kMsgNoTemplates, PromptStyle::Error);
        setResult(Rejected);
        return Rejected;
    }
    return exec();
}

void CNewProfileDlg::accept() {
    Choose(m_list->currentItem());
}

void CNewProfileDlg::Choose(QListWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    m_templatePath = m_installPath + kTemplateFolder + item->text() + kTemplateExtension;
    QDialog::accept();
}

std::optional<QString> CNewProfileDlg::ChooseTemplate(const CConfiguration& config,
                                                      IUserPrompt& prompt, QWidget* parent) {
    CNewProfileDlg dialog(config.GetInstallPath(), parent);
    if (dialog.Run(prompt) != Accepted) {
        return std::nullopt;
    }
    return dialog.TemplatePath();
}
