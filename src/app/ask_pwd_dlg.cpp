#include "app/ask_pwd_dlg.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "platform/mnemonic.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"

namespace {

constexpr int kOk = 140;
constexpr int kCancel = 141;

// A password field gives nothing away: Cut and Copy do nothing, not even delete the selection.
class CPasswordEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Copy)) {
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }
};

QString PromptText(const QString& text) {
    if (text == radio_checks::kPasswordPromptText) {
        return CStringTable::Instance().Text(CAskPwdDlg::kPromptText);
    }
    return text;
}

}  // namespace

CAskPwdDlg::CAskPwdDlg(QString radioPassword, IUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_radioPassword(std::move(radioPassword)), m_prompt(prompt) {
    const CStringTable& strings = CStringTable::Instance();
    setWindowTitle(kApplicationName);

    m_field = new CPasswordEdit(this);
    m_field->setObjectName(QStringLiteral("passwordField"));
    m_field->setProperty("vesk_password", true);
    m_field->setEchoMode(QLineEdit::Password);
    m_field->setMaxLength(kMaxDigits);
    m_field->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(kMaxDigits)), m_field));
    m_field->setContextMenuPolicy(Qt::NoContextMenu);
    m_field->setDragEnabled(false);

    m_label = new QLabel(this);
    m_label->setBuddy(m_field);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(strings.Text(kOk), QDialogButtonBox::AcceptRole);
    buttons->addButton(strings.Text(kCancel), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAskPwdDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAskPwdDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_field);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    SetPromptText(radio_checks::kPasswordPromptText);
    m_field->setFocus();
}

void CAskPwdDlg::SetPromptText(const QString& text) {
    const CStringTable& strings = CStringTable::Instance();
    QString taken;
    WithMnemonic(strings.Text(kOk), taken);
    WithMnemonic(strings.Text(kCancel), taken);
    const QString shown = PromptText(text);
    m_label->setText(WithMnemonic(shown, taken));
    m_field->setAccessibleName(shown);
}

std::optional<QString> CAskPwdDlg::AskPassword(const QString& text) {
    SetPromptText(text);
    m_field->clear();
    m_field->setFocus();
    if (exec() != Accepted) {
        return std::nullopt;
    }
    return m_field->text();
}

void CAskPwdDlg::accept() {
    if (m_field->text() != m_radioPassword) {
        m_prompt.Show(radio_checks::kMsgWrongPassword, PromptStyle::Error);
        m_field->selectAll();
        m_field->setFocus();
        return;
    }
    QDialog::accept();
}
