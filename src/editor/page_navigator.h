#pragma once

// The page switch of one profile window: which page is on show, for which channel, and the
// change hints between the tree and that page.

#include <functional>

#include <QPointer>
#include <QWidget>

class CBaseView;
class CVeskCPSTreeView;

// What the navigator needs from the window that shows the pages.
class IPageFrame {
public:
    virtual ~IPageFrame() = default;
    // Makes the page of a kind for a channel, unshown, in the window's page slot; the window
    // lays it out. Never null for a kind from 0 to 9.
    virtual QWidget* CreatePage(quint16 kind, quint16 channel) = 0;
    // After a page switch: the help pane blanked, the tree active again, the title refreshed.
    virtual void PageSwitched() = 0;
    // The tree and the radio information page anew, after the profile was replaced.
    virtual void RebuildPanes() = 0;
};

// Where the frequency table's list stood when its page was left, for the page's return.
struct SFrequencyListPlace {
    int row = -1;      // the selected row, -1 for none
    int scrolled = 0;  // rows scrolled down from the top
};

class CPageNavigator {
public:
    static constexpr quint16 kLastKind = 9;

    SFrequencyListPlace& FrequencyListPlace() { return m_frequencyListPlace; }

    // The window and its tree; until then every operation is refused or does nothing.
    void Attach(IPageFrame* frame, CVeskCPSTreeView* tree);
    void Detach();

    // Destroys the page on show and makes the one of the item data's kind, for its channel.
    // False, and the page stays, for a kind that selects no page.
    bool ShowPage(quint32 itemData);
    QWidget* CurrentPage() const { return m_page; }
    // The page on show when it is a form page.
    CBaseView* CurrentFormPage() const;
    quint16 CurrentKind() const { return m_kind; }
    quint16 CurrentChannel() const { return m_channel; }
    // The page's CanLeavePage; true when there is no page.
    bool CanLeaveCurrentPage();
    // Every view of the profile but `sender` hears of a change.
    void NotifyViews(const QObject* sender, quint32 hint);
    void ResetPanes();

private:
    IPageFrame* m_frame = nullptr;
    CVeskCPSTreeView* m_tree = nullptr;
    QPointer<QWidget> m_page;
    quint16 m_kind = 0;
    quint16 m_channel = 0;
    SFrequencyListPlace m_frequencyListPlace;
};
