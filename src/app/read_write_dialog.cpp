#include "app/read_write_dialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/string_table.h"
#include "platform/user_prompt.h"

namespace {

QString T(int id) {
    return CStringTable::Instance().Text(id);
}

}  // namespace

void CDialogRelay::PostOperation(int kind, int value) {
    QMetaObject::invokeMethod(
        m_context,
        [this, kind, value] {
            if (m_target) {
                m_target->OnOperation(kind, value);
            }
        },
        Qt::QueuedConnection);
}

CReadWriteDialog::CReadWriteDialog(CRadioOperations& operations, DialogMode mode,
                                   IUserPrompt& prompt, IOperationSink& sink, QWidget* parent)
    : QDialog(parent), m_operations(operations), m_mode(mode), m_prompt(prompt), m_sink(sink) {
    setObjectName(QStringLiteral("readWriteDialog"));
    // No close box: the transfer decides when the dialog may go.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    const bool reading = mode == DialogMode::Read;
    setWindowTitle(T(reading ? ReadWriteText::kRead : ReadWriteText::kWrite));

    m_text = new QLabel(T(reading ? ReadWriteText::kReading : ReadWriteText::kWriting), this);
    m_text->setObjectName(QStringLiteral("operationText"));
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_text->setMinimumWidth(360);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("operationProgress"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setAccessibleName(windowTitle());
    m_button = new QPushButton(T(ReadWriteText::kOk), this);
    m_button->setObjectName(QStringLiteral("okButton"));
    m_button->setEnabled(false);
    connect(m_button, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_button);
    layout->addLayout(buttons);
    setModal(true);
}

QString CReadWriteDialog::Text() const {
    return m_text->text();
}

int CReadWriteDialog::Progress() const {
    return m_bar->value();
}

void CReadWriteDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_started) {
        return;
    }
    m_started = true;
    const bool started = m_mode == DialogMode::Read ? m_operations.StartRead(m_sink)
                                                    : m_operations.StartWrite(m_sink);
    if (!started) {
        // Another worker still holds the radio: the transfer never began, so nothing more will
        // come to close the dialog.
        m_operations.Cleanup();
        m_text->setText(T(m_mode == DialogMode::Read ? op::kMsgReadFailed : op::kMsgWriteFailed));
        m_button->setEnabled(true);
    }
}

void CReadWriteDialog::OnOperation(int kind, int value) {
    const SDialogReaction reaction = m_operations.OnDialogMessage(kind, value, m_state);
    if (reaction.progressBar >= 0) {
        m_bar->setValue(reaction.progressBar);
    }
    if (reaction.dialogTextId != 0) {
        QString text = T(reaction.dialogTextId);
        if (reaction.enableButton && m_successDetail) {
            const QString detail = m_successDetail();
            if (!detail.isEmpty()) {
                text += QStringLiteral("\n\n") + detail;
            }
        }
        m_text->setText(text);
    }
    if (reaction.enableButton) {
        m_succeeded = true;
        m_button->setEnabled(true);
        m_button->setDefault(true);
        m_button->setFocus();
    }
    if (!reaction.notice.IsEmpty()) {
        m_prompt.Ask(reaction.notice.messageId, reaction.notice.text, reaction.notice.style);
    }
    if (reaction.close) {
        done(QDialog::Rejected);
    }
}

void CReadWriteDialog::reject() {
    // Escape closes the dialog only once the transfer has its answer.
    if (m_button->isEnabled()) {
        QDialog::reject();
    }
}

void CReadWriteDialog::closeEvent(QCloseEvent* event) {
    if (m_button->isEnabled()) {
        QDialog::closeEvent(event);
    } else {
        event->ignore();
    }
}
