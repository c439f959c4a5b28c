#pragma once

// How a profile's owner hears of the changes made through its data items. The items of one
// profile share one journal; every accepted change reaches its observer once, however many
// attributes the rules touched for it, so that an undo step is what the user did.

#include <QString>

// Where a change happened: the profile's top-level element ("channels", "frequencies",
// "setting", ...) and the entry under it that the change touched, so that the navigation tree
// and the page can go back there. `index` is -1 when the change is in no single entry.
struct SEditPlace {
    QString section;
    int index = -1;

    friend bool operator==(const SEditPlace&, const SEditPlace&) = default;
};

struct SEditChange {
    enum class EKind {
        Attribute,        // an attribute's value (`attribute` names it)
        Rename,           // the name of a channel or another named entry
        ChildAdded,       // an entry added under `element`
        ChildRemoved,     // an entry of `element` deleted
        FrequencyAdded,   // an entry added to the frequency table
        FrequencyEdited,  // an entry of the frequency table changed
        Group,            // several changes made as one; `label` says what
    };

    EKind kind = EKind::Attribute;
    SEditPlace place;
    // The local name of the element the change concerns: the one whose attribute changed, the
    // entry added, deleted or edited.
    QString element;
    QString attribute;
    // The caller's own description of a group, already in the user's language.
    QString label;
};

class IEditObserver {
public:
    virtual ~IEditObserver() = default;
    // An accepted change, after the working document holds it.
    virtual void Edited(const SEditChange& change) = 0;
    // A whole profile was loaded in place of the one held, or an earlier state restored:
    // every data item taken before is retired and must be fetched again from the root item.
    virtual void Replaced() = 0;
};

class CEditJournal {
public:
    CEditJournal() = default;
    CEditJournal(const CEditJournal&) = delete;
    CEditJournal& operator=(const CEditJournal&) = delete;

    // Null stops the reports; the observer must outlive the journal or be removed first.
    void SetObserver(IEditObserver* observer) { m_observer = observer; }
    // How many accepted changes were reported (groups count once); silenced changes do not count.
    quint64 ChangeCount() const { return m_changeCount; }

    void NotifyReplaced();

    // Opened by every changing operation of a data item. Operations that call others (a deletion
    // that recounts the frequency table) open nested scopes; only the outermost reports, and only
    // when Accept() was called.
    class CScope {
    public:
        explicit CScope(CEditJournal* journal);
        ~CScope();
        CScope(const CScope&) = delete;
        CScope& operator=(const CScope&) = delete;
        void Accept(const SEditChange& change);

    private:
        CEditJournal* m_journal;
    };

    // Changes made while a group is open report as one change with the group's label when the
    // last open group closes (nothing when none was accepted), for a page that makes one user
    // action out of several calls.
    class CGroup {
    public:
        CGroup(CEditJournal& journal, QString label);
        ~CGroup();
        CGroup(const CGroup&) = delete;
        CGroup& operator=(const CGroup&) = delete;

    private:
        CEditJournal& m_journal;
    };

    // Changes the program makes of its own accord (what saving or a write to a radio puts right)
    // are no steps of the user's; the owner takes them into the current state itself.
    class CSilence {
    public:
        explicit CSilence(CEditJournal& journal) : m_journal(journal) { ++m_journal.m_silence; }
        ~CSilence() { --m_journal.m_silence; }
        CSilence(const CSilence&) = delete;
        CSilence& operator=(const CSilence&) = delete;

    private:
        CEditJournal& m_journal;
    };

private:
    void Report(const SEditChange& change);

    IEditObserver* m_observer = nullptr;
    quint64 m_changeCount = 0;
    int m_depth = 0;
    int m_silence = 0;
    int m_groups = 0;
    bool m_groupChanged = false;
    SEditChange m_group;
};
