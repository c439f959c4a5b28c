#pragma once

// What a page is given by the document window that shows it. Pages see the profile, the settings
// documents and the person at the screen through these alone, never through the program's
// windows or documents, so a page can be built and tested on its own.

#include <functional>

#include <QString>

class CPageNavigator;
class CProfileDocument;
class CSettingsDocuments;
class IUserPrompt;

struct SPageContext {
    // The open profile; its model's root item is where every page starts.
    CProfileDocument& document;
    const CSettingsDocuments& settings;
    // The installation's region name (the element of the visible-settings document).
    QString regionName;
    // The user-interface language's decimal separator.
    QString decimalSeparator;
    IUserPrompt& prompt;
    // The help file the topics belong to.
    QString helpFilePath;
    // Points the help pane at a topic of the help file; an empty topic when the control has none.
    // May be empty when the window shows no help pane.
    std::function<void(const QString& topic)> showHelpTopic;
    // After a change the rules accepted (the document is already marked modified): the other
    // views of the document refresh. May be empty.
    std::function<void()> profileChanged;
    // The channel the channel page shows (the navigator's current channel).
    int channelIndex = 0;
    // The window's page switch, through which a page tells the tree of its changes. May be null.
    CPageNavigator* navigator = nullptr;
};
