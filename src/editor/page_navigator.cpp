#include "editor/page_navigator.h"

#include "editor/base_view.h"
#include "editor/tree_view.h"

void CPageNavigator::Attach(IPageFrame* frame, CVeskCPSTreeView* tree) {
    m_frame = frame;
    m_tree = tree;
}

void CPageNavigator::Detach() {
    m_frame = nullptr;
    m_tree = nullptr;
    m_page = nullptr;
}

bool CPageNavigator::ShowPage(quint32 itemData) {
    const quint16 kind = tree_data::Kind(itemData);
    if (m_frame == nullptr || kind > kLastKind) {
        return false;
    }
    m_kind = kind;
    m_channel = tree_data::Index(itemData);
    delete m_page.data();
    m_page = m_frame->CreatePage(m_kind, m_channel);
    m_frame->PageSwitched();
    return true;
}

CBaseView* CPageNavigator::CurrentFormPage() const {
    return qobject_cast<CBaseView*>(m_page.data());
}

bool CPageNavigator::CanLeaveCurrentPage() {
    CBaseView* page = CurrentFormPage();
    return page == nullptr || page->CanLeavePage();
}

void CPageNavigator::NotifyViews(const QObject* sender, quint32 hint) {
    if (m_tree != nullptr && sender != m_tree) {
        m_tree->OnViewHint(hint);
    }
    if (m_page == nullptr || sender == m_page) {
        return;
    }
    if (CBaseView* page = CurrentFormPage()) {
        page->OnUpdate(hint);
    } else if (view_hint::Change(hint) == view_hint::kNameChanged &&
               view_hint::Kind(hint) == m_kind) {
        // A page not built on the form framework shows the node's label, made anew.
        ShowPage(tree_data::Make(m_kind, m_channel));
    }
}

void CPageNavigator::ResetPanes() {
    if (m_frame != nullptr) {
        m_frame->RebuildPanes();
    }
}
