#include "app/dealer_info_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/limited_text_edit.h"
#include "platform/mnemonic.h"
#include "platform/settings/configuration.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"

namespace {

constexpr int kCaption = 265;
constexpr int kHeadings[] = {266, 268, 267};
constexpr int kOk = 140;
constexpr int kCancel = 141;

// The most the store may hold for a field of 250 characters, two bytes each. The 502 bytes a
// value may reach include a terminator, so a text of 251 characters is already too long: it
// would fill the whole buffer without one, and no field could show or save it whole.
constexpr qint64 kMaxStoredBytes = 2 * CDealerInfoDialog::kMaxLength;

// Visible size of a field, in characters and lines of its font.
constexpr int kFieldColumns = 26;
constexpr int kFieldLines = 10;

}  // namespace

CDealerInfoDialog::CDealerInfoDialog(const CConfiguration& config, QString language,
                                     IUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_config(config), m_language(std::move(language)), m_prompt(prompt) {
    const CStringTable& strings = CStringTable::Instance();
    setWindowTitle(strings.Text(kCaption));

    const QString okText = strings.Text(kOk);
    const QString cancelText = strings.Text(kCancel);
    QString taken;
    WithMnemonic(okText, taken);
    WithMnemonic(cancelText, taken);

    auto* grid = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        auto* edit = new CLimitedTextEdit(kMaxLength, this);
        edit->setObjectName(QStringLiteral("control%1").arg(kControls[i]));
        edit->setTabChangesFocus(true);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        const QFontMetrics metrics(edit->font());
        edit->setMinimumSize(metrics.averageCharWidth() * kFieldColumns,
                             metrics.lineSpacing() * kFieldLines);
        m_edits[i] = edit;

        auto* heading = new QLabel(WithMnemonic(strings.Text(kHeadings[i]), taken), this);
        heading->setBuddy(edit);
        edit->setAccessibleName(strings.Text(kHeadings[i]));
        grid->addWidget(heading, 0, i);
        grid->addWidget(edit, 1, i);
        grid->setColumnStretch(i, 1);
    }
    grid->setRowStretch(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(okText, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancelText, QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDealerInfoDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDealerInfoDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addWidget(buttons);

    m_edits[0]->setFocus();
}

bool CDealerInfoDialog::Load() {
    if (m_language.isEmpty()) {
        m_prompt.Show(kMsgNoLanguage, PromptStyle::Error);
        return false;
    }
    if (!m_config.CanReadDealerInfo(m_language)) {
        m_prompt.Show(kMsgOpenFailed, PromptStyle::Error);
        return false;
    }
    // The order in which the values were always read: a value that is too long is reported
    // even when one before it is missing.
    constexpr Field kReadOrder[] = {Field::Left, Field::Right, Field::Middle};
    const QString names[] = {CConfiguration::kDealerInfoLeft, CConfiguration::kDealerInfoMiddle,
                             CConfiguration::kDealerInfoRight};
    std::array<QString, 3> texts;
    bool allRead = true;
    for (const Field field : kReadOrder) {
        const int i = static_cast<int>(field);
        const std::optional<qint64> size = m_config.DealerInfoSize(m_language, names[i]);
        if (size && *size > kMaxStoredBytes) {
            m_prompt.Show(kMsgTooLong, PromptStyle::Error);
            return false;
        }
        const std::optional<QString> text = m_config.ReadDealerInfo(m_language, names[i]);
        if (!text) {
            allRead = false;
            continue;
        }
        texts[i] = *text;
    }
    if (!allRead) {
        m_prompt.Show(kMsgLoadFailed, PromptStyle::Error);
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        m_edits[i]->setPlainText(texts[i]);
    }
    return true;
}

void CDealerInfoDialog::Run(const CConfiguration& config, const QString& language,
                            IUserPrompt& prompt, QWidget* parent) {
    CDealerInfoDialog dialog(config, language, prompt, parent);
    if (dialog.Load()) {
        dialog.exec();
    }
}

void CDealerInfoDialog::accept() {
    if (!m_config.CanWriteDealerInfo(m_language)) {
        m_prompt.Show(kMsgOpenFailed, PromptStyle::Error);
        return;
    }
    if (!m_config.WriteDealerInfo(m_language, Edit(Field::Left)->toPlainText(),
                                  Edit(Field::Middle)->toPlainText(),
                                  Edit(Field::Right)->toPlainText())) {
        m_prompt.Show(kMsgWriteFailed, PromptStyle::Error);
        return;
    }
    QDialog::accept();
}
