#pragma once

// The main window: menu bar, toolbar and status bar around the area that holds the profile
// windows; the global commands and their enabling; the cable status; and the radio commands,
// whose workers report here through posted operation messages.

#include <memory>

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QStringList>

#include "radio/cable_watch.h"
#include "radio/radio_operations.h"

class CChildFrame;
class CDialogRelay;
class CRadioBackup;
class CReadWriteDialog;
class CVeskCPSApp;
class CVeskCPSDoc;
class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMenu;

class CMainFrame : public QMainWindow, public ICableStatusSink, public IOperationSink {
    Q_OBJECT

public:
    static constexpr int kMsgRestartNeeded = 330;
    static constexpr int kTextCableConnected = 334;
    static constexpr int kTextCableNotConnected = 336;
    static constexpr int kTextTransferring = 303;
    static constexpr int kMsgManyCables = 397;
    static constexpr int kMsgNewOrOverwrite = 271;
    static constexpr int kMsgNoHelpInformation = 146;
    static constexpr int kMsgHelpFormat = 147;
    static constexpr int kMsgNoHelpFile = 148;

    explicit CMainFrame(CVeskCPSApp& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The action of a command identifier, or nullptr.
    QAction* Command(int commandId) const { return m_commands.value(commandId); }
    // The menu at a position among the menus shown now (the document menu has Report and Window).
    QMenu* TopMenu(int position) const;

    // Labels the language commands with the installed languages' names and removes the others;
    // with English alone the language menu goes.
    void ApplyLanguageMenu(const QStringList& supported);
    // Stores the chosen language; tells the user that it takes effect at the next start.
    void ChooseLanguage(const QString& name);

    // Documents and their windows.
    CVeskCPSDoc* AddDocumentWindow(std::unique_ptr<CVeskCPSDoc> document);
    CVeskCPSDoc* ActiveDocument() const;
    CChildFrame* ActiveChildFrame() const;
    CVeskCPSDoc* FindDocument(const QString& absolutePath) const;
    void ActivateDocument(CVeskCPSDoc* document);
    QList<CChildFrame*> ChildFrames() const;
    QMdiArea* MdiArea() const { return m_mdi; }

    // The navigation tree's command flags (the help pane clears them when it takes the focus).
    void SetTreeCommandFlags(bool add, bool remove, bool rename);
    // Brings every command's enabled state up to date; runs whenever focus, selection, clipboard
    // or the open windows change.
    void UpdateCommandStates();

    // Radio commands.
    void OnRead();
    void OnWrite();
    void OnReset();
    CRadioOperations& Operations() { return *m_operations; }
    CCableWatch& CableWatch() { return *m_watch; }
    QString StatusText() const;

    // Worker and status-thread entry points: queued for the user-interface thread.
    void PostCableStatus(bool ready, int cableCount) override;
    void PostOperation(int kind, int value) override;

    // Help: the help file at its contents page, or 146/147/148.
    void OnHelpContents();

Q_SIGNALS:
    // For tests and the accessibility bridge: a radio command has ended, well or not.
    void RadioCommandEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* AddCommand(QMenu* menu, int commandId, int textId);
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void ConnectCommands();
    void RebuildRecentFiles();
    void UpdateTitle();
    void UpdateDocumentMenus();
    void RestoreLayout();
    void SaveLayout() const;

    void OnCableStatus(bool ready, int cableCount);
    void OnOperation(int kind, int value);
    void RunChecksAfterIdentification();
    void RunTransfer(DialogMode mode);
    void AfterRead();
    void SetStatusText(int textId);
    void EditCommand(int commandId);

    // Undo and redo of the active profile's changes.
    void BuildUndoCommands(QMenu* edit);
    void UpdateUndoCommands();
    void OnUndoRedo(bool redo);

    CVeskCPSApp& m_app;
    QMdiArea* m_mdi = nullptr;
    QMap<int, QAction*> m_commands;
    QActionGroup* m_languages = nullptr;
    QMenu* m_languageMenu = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_reportMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QList<QAction*> m_recentActions;
    QLabel* m_statusPanes[5] = {};
    QString m_language;
    bool m_contextHelp = true;

    bool m_treeAdd = false;
    bool m_treeDelete = false;
    bool m_treeRename = false;
    bool m_readFlag = false;
    bool m_resetFlag = false;
    int m_statusTextId = 0;
    bool m_manyCablesShown = false;
    bool m_resetPause = false;

    std::unique_ptr<CCableWatch> m_watch;
    std::unique_ptr<CRadioOperations> m_operations;
    std::unique_ptr<CDialogRelay> m_relay;
    std::shared_ptr<CRadioBackup> m_backup;
    QPointer<CReadWriteDialog> m_dialog;
    bool m_closing = false;
};
