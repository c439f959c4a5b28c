#include "app/child_frame.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "app/vesk_cps_doc.h"
#include "model/data_item.h"
#include "model/profile_document.h"
#include "platform/string_table.h"

CChildFrame::CChildFrame(std::unique_ptr<CVeskCPSDoc> document, QWidget* parent)
    : QMdiSubWindow(parent), m_document(std::move(document)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("childFrame"));
    // Until the editor fills the window, it names the profile it holds.
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    m_summary = new QLabel(body);
    m_summary->setObjectName(QStringLiteral("profileSummary"));
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_summary->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(m_summary);
    layout->addStretch(1);
    setWidget(body);
    connect(m_document.get(), &CVeskCPSDoc::TitleChanged, this, &CChildFrame::UpdateTitle);
    connect(m_document.get(), &CVeskCPSDoc::Replaced, this, &CChildFrame::ShowProfile);
    UpdateTitle();
    ShowProfile();
}

CChildFrame::~CChildFrame() = default;

void CChildFrame::UpdateTitle() {
    // Marked by hand rather than with "[*]": the main window copies the title of a maximised
    // profile window, placeholder and all.
    setWindowTitle(m_document->Title() +
                   (m_document->IsModified() ? QStringLiteral(" *") : QString()));
    m_summary->setAccessibleName(m_document->Title());
}

void CChildFrame::ShowProfile() {
    const CDataItem& root = m_document->Profile().Model().RootItem();
    const QString model = root.GetChildByName(QStringLiteral("factory_setting"))
                              .AttributeText(QStringLiteral("model"))
                              .value_or(QString());
    const int channels = root.GetChildByName(QStringLiteral("channels")).GetChildCount();
    constexpr int kTextChannels = 169;
    m_summary->setText(
        QStringLiteral("%1\n%2: %3")
            .arg(model, CStringTable::Instance().Text(kTextChannels), QString::number(channels)));
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (m_document->SaveModified()) {
        event->accept();
        QMdiSubWindow::closeEvent(event);
    } else {
        event->ignore();
    }
}
