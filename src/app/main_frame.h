#pragma once

#include <QMainWindow>
#include <QMap>

class CConfiguration;
class IUserPrompt;
class QAction;
class QActionGroup;
class QMenu;

// The main window: menu bar, toolbar and status bar around the area that holds the profile
// windows. Menu texts come from the string table by number, in the language chosen at start-up.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    CMainFrame(const CConfiguration& config, IUserPrompt& prompt, QWidget* parent = nullptr);

    // The action of a command identifier, or nullptr.
    QAction* Command(int commandId) const { return m_commands.value(commandId); }
    QMenu* TopMenu(int position) const;

    // Stores the chosen language; tells the user that it takes effect at the next start.
    void ChooseLanguage(const QString& name);

private:
    QAction* AddCommand(QMenu* menu, int commandId, int textId);
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();

    const CConfiguration& m_config;
    IUserPrompt& m_prompt;
    QMap<int, QAction*> m_commands;
    QActionGroup* m_languages = nullptr;
    QString m_language;
};
