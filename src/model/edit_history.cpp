#include "model/edit_history.h"

#include <utility>

#include "platform/string_table.h"

CEditHistory::CEditHistory(int depth) : m_depth(depth < 1 ? 1 : depth) {
    m_states.push_back(SState());
}

void CEditHistory::Reset(QByteArray state, bool saved) {
    m_states.clear();
    m_states.push_back(SState{std::move(state), QString(), SEditPlace()});
    m_current = 0;
    m_saved = saved ? 0 : -1;
}

bool CEditHistory::Record(const QString& label, const SEditPlace& place, QByteArray state) {
    if (state == CurrentState()) {
        return false;
    }
    m_states.erase(m_states.begin() + m_current + 1, m_states.end());
    if (m_saved > m_current) {
        // The saved state was on the branch just dropped: nothing reaches it any more.
        m_saved = -1;
    }
    m_states.push_back(SState{std::move(state), label, place});
    ++m_current;
    while (StepCount() > m_depth) {
        m_states.pop_front();
        --m_current;
        m_saved = m_saved > 0 ? m_saved - 1 : -1;
    }
    return true;
}

void CEditHistory::ReplaceCurrent(QByteArray state) {
    m_states[m_current].text = std::move(state);
}

void CEditHistory::MarkSaved() {
    m_saved = m_current;
}

void CEditHistory::ForgetSaved() {
    m_saved = -1;
}

QString CEditHistory::UndoLabel() const {
    return CanUndo() ? m_states[m_current].label : QString();
}

QString CEditHistory::RedoLabel() const {
    return CanRedo() ? m_states[m_current + 1].label : QString();
}

const QByteArray& CEditHistory::Undo(SEditPlace* place) {
    if (place != nullptr) {
        *place = m_states[m_current].place;
    }
    --m_current;
    return m_states[m_current].text;
}

const QByteArray& CEditHistory::Redo(SEditPlace* place) {
    ++m_current;
    if (place != nullptr) {
        *place = m_states[m_current].place;
    }
    return m_states[m_current].text;
}

void CEditHistory::Revert(int steps) {
    m_current -= steps;
}

const QByteArray& CEditHistory::CurrentState() const {
    return m_states[m_current].text;
}

qsizetype CEditHistory::StateBytes() const {
    qsizetype bytes = 0;
    for (const SState& state : m_states) {
        bytes += state.text.size();
    }
    return bytes;
}

QString CEditHistory::Label(const SEditChange& change) {
    const CStringTable& strings = CStringTable::Instance();
    // The entry as "channel 3" (counted from 1, as the pages count), else the element's name.
    const QString entry =
        change.place.index >= 0
            ? QStringLiteral("%1 %2").arg(change.element).arg(change.place.index + 1)
            : change.element;
    switch (change.kind) {
        case SEditChange::EKind::Group:
            return change.label.isEmpty() ? strings.Text(kTextChanges) : change.label;
        case SEditChange::EKind::Rename:
            return strings.Format(kTextRename, {entry});
        case SEditChange::EKind::ChildAdded:
        case SEditChange::EKind::FrequencyAdded:
            return strings.Format(kTextAdd, {entry});
        case SEditChange::EKind::ChildRemoved:
            return strings.Format(kTextDelete, {entry});
        case SEditChange::EKind::FrequencyEdited:
            return strings.Format(kTextEditEntry, {entry});
        case SEditChange::EKind::Attribute:
            break;
    }
    return strings.Format(kTextChange, {entry + QStringLiteral(": ") + change.attribute});
}
