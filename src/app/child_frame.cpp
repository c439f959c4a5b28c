#include "app/child_frame.h"

#include <QCloseEvent>
#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>

#include "app/main_frame.h"
#include "app/vesk_cps_app.h"
#include "app/vesk_cps_doc.h"
#include "editor/base_view.h"
#include "editor/help_view.h"
#include "editor/page_context.h"
#include "editor/page_factory.h"
#include "model/data_item.h"
#include "model/profile_document.h"
#include "platform/string_table.h"
#include "platform/vesk_cps_exception.h"

namespace {

constexpr int kTreeWidth = 200;
constexpr int kHelpHeight = 150;

// The help pane's height as the user last left it, for restored and for maximised windows.
int g_helpHeight[2] = {kHelpHeight, kHelpHeight};

}  // namespace

CChildFrame::CChildFrame(std::unique_ptr<CVeskCPSDoc> document, QWidget* parent)
    : QMdiSubWindow(parent), m_document(std::move(document)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("childFrame"));
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("profileSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_tree =
        new CVeskCPSTreeView(m_document->Profile(), m_document->App().Prompt(), *this, m_splitter);
    m_pageSplitter = new QSplitter(Qt::Vertical, m_splitter);
    m_pageSplitter->setObjectName(QStringLiteral("pageSplitter"));
    m_pageSplitter->setChildrenCollapsible(false);
    m_pageSlot = new QWidget(m_pageSplitter);
    m_pageSlot->setObjectName(QStringLiteral("pageSlot"));
    m_pageLayout = new QVBoxLayout(m_pageSlot);
    m_pageLayout->setContentsMargins(0, 0, 0, 0);
    const CVeskCPSApp& app = m_document->App();
    m_help = new CHelpView(app.Config().GetHelpFilePath(app.Language()), m_pageSplitter);
    m_help->SetFocusHandler([this] { SetCommandFlags(false, false, false); });
    m_help->hide();
    m_pageSplitter->addWidget(m_pageSlot);
    m_pageSplitter->addWidget(m_help);
    m_pageSplitter->setStretchFactor(0, 1);
    connect(m_pageSplitter, &QSplitter::splitterMoved, this, [this] {
        if (m_help->isVisible()) {
            g_helpHeight[isMaximized() ? 1 : 0] = m_pageSplitter->sizes().value(1, kHelpHeight);
        }
    });
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_pageSplitter);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({kTreeWidth, 600});
    setWidget(m_splitter);
    connect(m_document.get(), &CVeskCPSDoc::TitleChanged, this, &CChildFrame::UpdateTitle);
    connect(m_document.get(), &CVeskCPSDoc::Replaced, this,
            [this] { m_document->Navigator().ResetPanes(); });
    connect(m_document.get(), &CVeskCPSDoc::Restored, this, &CChildFrame::FollowRestored);
    // Saving and writing first ask the page on show to hand over what is typed into it.
    m_document->Profile().SetCommitEdits([this] { return CanLeaveCurrentPage(); });
    m_document->Navigator().Attach(this, m_tree);
    UpdateTitle();
    m_tree->BuildTree();
}

CChildFrame::~CChildFrame() {
    m_tree->DetachHost();
    // The page holds items of the document, which goes before the window's children do.
    delete m_document->Navigator().CurrentPage();
    m_document->Navigator().Detach();
    m_document->Profile().SetCommitEdits({});
}

void CChildFrame::UpdateTitle() {
    // Marked by hand rather than with "[*]": the main window copies the title of a maximised
    // profile window, placeholder and all.
    setWindowTitle(m_document->Title() +
                   (m_document->IsModified() ? QStringLiteral(" *") : QString()));
    if (QWidget* page = CurrentPage()) {
        page->setAccessibleName(m_document->Title());
    }
}

CPageNavigator& CChildFrame::Navigator() const {
    return m_document->Navigator();
}

QWidget* CChildFrame::CurrentPage() const {
    return Navigator().CurrentPage();
}

quint16 CChildFrame::CurrentKind() const {
    return Navigator().CurrentKind();
}

QWidget* CChildFrame::CreatePage(quint16 kind, quint16 channel) {
    const CVeskCPSApp& app = m_document->App();
    SPageContext context{m_document->Profile(),
                         app.Settings(),
                         app.RegionName(),
                         app.DecimalSeparator(),
                         app.Prompt(),
                         app.Config().GetHelpFilePath(app.Language()),
                         [this](const QString& topic) { ShowHelpTopic(topic); },
                         [this] { m_document->SetModifiedFlag(true); },
                         channel,
                         &Navigator()};
    QWidget* page = nullptr;
    if (CBaseView* view = CreateFormPage(static_cast<PageKind>(kind), context, m_pageSlot)) {
        view->setAccessibleName(m_document->Title());
        try {
            view->InitialUpdate();
        } catch (const CVeskCPSException& error) {
            // The page stays as far as it was filled; the user learns why.
            ShowModelException(app.Prompt(), error);
        }
        page = view;
    } else {
        // Until the other pages of the editor exist, a page names what it is about.
        auto* label = new QLabel(m_pageSlot);
        label->setObjectName(QStringLiteral("page%1").arg(kind));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setMargin(12);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        label->setFocusPolicy(Qt::StrongFocus);
        label->setAccessibleName(m_document->Title());
        if (QTreeWidgetItem* node = m_tree->NodeFor(tree_data::Make(kind, channel))) {
            label->setText(node->text(0));
        }
        page = label;
    }
    m_pageLayout->addWidget(page);
    return page;
}

void CChildFrame::PageSwitched() {
    if (m_help->isVisible()) {
        m_help->ShowTopic(QString());
    }
    UpdateTitle();
}

bool CChildFrame::ShowPage(quint32 itemData) {
    return Navigator().ShowPage(itemData);
}

bool CChildFrame::CanLeaveCurrentPage() {
    // A page with edits still in its fields hands them over first, or keeps the user there.
    return Navigator().CanLeaveCurrentPage();
}

void CChildFrame::SetCommandFlags(bool add, bool remove, bool rename) {
    if (CMainFrame* frame = m_document->App().MainFrame()) {
        frame->SetTreeCommandFlags(add, remove, rename);
    }
}

void CChildFrame::NotifyViews(quint32 hint) {
    Navigator().NotifyViews(m_tree, hint);
}

void CChildFrame::SetModified() {
    m_document->SetModifiedFlag(true);
}

void CChildFrame::FocusNameEditLater() {
    // After the new channel's page is up: its name field, all selected, for typing at once.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (CBaseView* page = Navigator().CurrentFormPage()) {
                page->FocusNameEdit();
            }
        },
        Qt::QueuedConnection);
}

void CChildFrame::RebuildPanes() {
    m_tree->BuildTree();
}

void CChildFrame::FollowRestored(const QString& section, int index) {
    // The tree and the page go to where the undone or redone change was made.
    struct SSection {
        const char* name;
        quint16 kind;
    };
    // Settings of every page but the frequency table and the channels live in one element; its
    // changes are shown on the general settings node.
    constexpr SSection kSections[] = {{"setting", 1}, {"frequencies", 4}};
    quint32 target = tree_data::Make(tree_data::kRadioInfo);
    if (section == QLatin1String("channels")) {
        target = index >= 0 ? tree_data::Make(tree_data::kChannel, static_cast<quint16>(index))
                            : tree_data::Make(tree_data::kChannels);
    } else {
        for (const SSection& entry : kSections) {
            if (section == QLatin1String(entry.name)) {
                target = tree_data::Make(entry.kind);
            }
        }
    }
    QTreeWidgetItem* node = m_tree->NodeFor(target);
    if (node == nullptr && tree_data::Kind(target) == tree_data::kChannel) {
        node = m_tree->ChannelsNode();
    }
    if (node != nullptr) {
        m_tree->setCurrentItem(node);
    }
}

void CChildFrame::SetHelpPaneShown(bool shown) {
    m_help->setVisible(shown);
    if (shown) {
        PlaceHelpPane();
    }
}

bool CChildFrame::HelpPaneShown() const {
    return !m_help->isHidden();
}

void CChildFrame::PlaceHelpPane() {
    // The help row keeps its remembered height; the page has the rest.
    const int total = m_pageSplitter->height();
    const int help = g_helpHeight[isMaximized() ? 1 : 0];
    m_pageSplitter->setSizes({std::max(0, total - help), help});
}

void CChildFrame::ShowHelpTopic(const QString& topic) {
    if (HelpPaneShown()) {
        m_help->ShowTopic(topic);
    }
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (m_tree->CommitPendingRename() && m_document->SaveModified()) {
        event->accept();
        QMdiSubWindow::closeEvent(event);
    } else {
        event->ignore();
    }
}
