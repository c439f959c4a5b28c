#include "model/edit_journal.h"

#include <exception>
#include <utility>

void CEditJournal::NotifyReplaced() {
    if (m_observer != nullptr) {
        m_observer->Replaced();
    }
}

void CEditJournal::Report(const SEditChange& change) {
    if (m_silence > 0) {
        return;
    }
    if (m_groups > 0) {
        if (!m_groupChanged) {
            m_group.place = change.place;
            m_group.element = change.element;
            m_group.attribute = change.attribute;
            m_groupChanged = true;
        }
        return;
    }
    ++m_changeCount;
    if (m_observer != nullptr) {
        m_observer->Edited(change);
    }
}

CEditJournal::CScope::CScope(CEditJournal* journal) : m_journal(journal) {
    if (m_journal != nullptr) {
        ++m_journal->m_depth;
    }
}

CEditJournal::CScope::~CScope() {
    if (m_journal != nullptr) {
        --m_journal->m_depth;
    }
}

void CEditJournal::CScope::Accept(const SEditChange& change) {
    if (m_journal != nullptr && m_journal->m_depth == 1) {
        m_journal->Report(change);
    }
}

CEditJournal::CGroup::CGroup(CEditJournal& journal, QString label) : m_journal(journal) {
    if (m_journal.m_groups++ == 0) {
        m_journal.m_groupChanged = false;
        m_journal.m_group = SEditChange();
        m_journal.m_group.kind = SEditChange::EKind::Group;
        m_journal.m_group.label = std::move(label);
    }
}

CEditJournal::CGroup::~CGroup() {
    if (--m_journal.m_groups > 0 || !m_journal.m_groupChanged) {
        return;
    }
    m_journal.m_groupChanged = false;
    // A destructor reports, so an observer that fails cannot take the program down with it; the
    // change is in the document all the same and the next step's state holds it.
    try {
        m_journal.Report(m_journal.m_group);
    } catch (const std::exception&) {
    }
}
