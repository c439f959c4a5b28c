#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QHelpEngine;
class QTextBrowser;

// The help file in a window of its own: contents on the left, the topic on the right.
class CHelpWindow : public QWidget {
    Q_OBJECT

public:
    // Opens (or brings to the front) the window for the help collection at `collectionPath`, at
    // its contents page. False when the file is no help collection or holds no documentation.
    static bool Open(const QString& collectionPath, QWidget* owner);
    static void CloseAll();
    static CHelpWindow* Current();

    // Shows a topic by its file name inside the documentation ("channel.html").
    void ShowTopic(const QString& topic);
    QString CurrentTopic() const;

private:
    explicit CHelpWindow(QHelpEngine* engine);

    QHelpEngine* m_engine;
    QTextBrowser* m_browser = nullptr;
    QString m_namespace;
};
