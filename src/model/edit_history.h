#pragma once

// The undo history of one open profile: the state of its working document after each step the
// user made, so that undo and redo bring back exactly what the profile held. States are the
// document's text; a profile is a few kilobytes, so a state per step costs little and restoring
// one is one parse.

#include <deque>

#include <QByteArray>
#include <QString>

#include "model/edit_journal.h"

class CEditHistory {
public:
    static constexpr int kDefaultDepth = 200;

    // Texts the step labels are made of.
    static constexpr int kTextChange = 634;
    static constexpr int kTextAdd = 635;
    static constexpr int kTextDelete = 636;
    static constexpr int kTextRename = 637;
    static constexpr int kTextEditEntry = 638;
    static constexpr int kTextChanges = 639;

    explicit CEditHistory(int depth = kDefaultDepth);

    // A profile loaded or replaced as a whole: no steps, `state` is where the history begins, and
    // it is the saved state when `saved` (a file or template as read) or none is (a profile
    // made from a radio's image, or one corrected while it was opened).
    void Reset(QByteArray state, bool saved);
    // A step the user made, ending in `state`. Nothing is recorded when `state` is the current
    // one (a value set to what it was). Drops whatever could have been redone; beyond the depth
    // the oldest step goes. True when a step was recorded.
    bool Record(const QString& label, const SEditPlace& place, QByteArray state);
    // The current state changed without a step of the user's (what saving puts right): it is
    // taken as the current one.
    void ReplaceCurrent(QByteArray state);
    // The current state is the one the file holds now.
    void MarkSaved();
    // No state is the one on disk any longer (the file was replaced by other means).
    void ForgetSaved();

    bool CanUndo() const { return m_current > 0; }
    bool CanRedo() const { return m_current + 1 < static_cast<int>(m_states.size()); }
    // What the step to be undone or redone changed; empty when there is none.
    QString UndoLabel() const;
    QString RedoLabel() const;
    // Moves one step back or forward; the state to restore and where its step happened. Must
    // only be called when CanUndo() or CanRedo().
    const QByteArray& Undo(SEditPlace* place = nullptr);
    const QByteArray& Redo(SEditPlace* place = nullptr);
    // Goes back on an Undo() or Redo() whose state could not be restored.
    void Revert(int steps);

    const QByteArray& CurrentState() const;
    bool IsAtSavedState() const { return m_saved >= 0 && m_saved == m_current; }
    int StepCount() const { return static_cast<int>(m_states.size()) - 1; }
    int Depth() const { return m_depth; }
    // The bytes the kept states take.
    qsizetype StateBytes() const;

    // The label of an accepted change as the Edit menu names it. It names what changed (the
    // entry and the attribute), never a value: a password goes through here too.
    static QString Label(const SEditChange& change);

private:
    struct SState {
        QByteArray text;
        // Of the step that led to this state; empty for the first one.
        QString label;
        SEditPlace place;
    };

    int m_depth;
    std::deque<SState> m_states;
    int m_current = 0;
    // The state the file holds, -1 when none of those kept.
    int m_saved = -1;
};
