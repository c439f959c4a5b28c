#pragma once

#include <memory>

#include <QMdiSubWindow>

#include "editor/page_navigator.h"
#include "editor/tree_view.h"

class CVeskCPSDoc;
class CHelpView;
class QLabel;
class QSplitter;
class QVBoxLayout;

// The window of one open profile inside the main window: the navigation tree on the left, the
// page of the selected node on the right. It owns its document: closing the window closes the
// profile, after the save-modified question.
class CChildFrame : public QMdiSubWindow, public ITreeViewHost, public IPageFrame {
    Q_OBJECT

public:
    explicit CChildFrame(std::unique_ptr<CVeskCPSDoc> document, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CVeskCPSDoc& Document() const { return *m_document; }
    CVeskCPSTreeView& Tree() const { return *m_tree; }
    QWidget* CurrentPage() const;
    quint16 CurrentKind() const;

    // ITreeViewHost
    bool ShowPage(quint32 itemData) override;
    bool CanLeaveCurrentPage() override;
    void SetCommandFlags(bool add, bool remove, bool rename) override;
    void NotifyViews(quint32 hint) override;
    void SetModified() override;
    void FocusNameEditLater() override;

    // IPageFrame
    QWidget* CreatePage(quint16 kind, quint16 channel) override;
    void PageSwitched() override;
    // After the profile was replaced as a whole (a read from a radio): tree and page anew.
    void RebuildPanes() override;
    // After an undo or redo: the node of the profile section the step changed.
    void FollowRestored(const QString& section, int index);

    // The help pane below the page, and the topic it shows (only while it is shown).
    void SetHelpPaneShown(bool shown);
    bool HelpPaneShown() const;
    void ShowHelpTopic(const QString& topic);
    CHelpView* HelpPane() const { return m_help; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void UpdateTitle();
    void PlaceHelpPane();
    CPageNavigator& Navigator() const;

    std::unique_ptr<CVeskCPSDoc> m_document;
    QSplitter* m_splitter = nullptr;
    CVeskCPSTreeView* m_tree = nullptr;
    QSplitter* m_pageSplitter = nullptr;
    QWidget* m_pageSlot = nullptr;
    CHelpView* m_help = nullptr;
    QVBoxLayout* m_pageLayout = nullptr;
};
