#pragma once

#include <functional>

#include <QObject>
#include <QStringList>

class QLocalServer;

// One running copy per user and display: a later start hands its command line (a profile path,
// or nothing) to the copy that runs, as the desktop's open request does, and ends.
class CSingleInstance : public QObject {
    Q_OBJECT

public:
    // Requests this long or longer are ignored unanswered.
    static constexpr int kLongestRequest = 520;

    CSingleInstance();
    ~CSingleInstance() override;

    // Hands `arguments` to a running copy. True when one took them (this start should end).
    bool HandToRunningCopy(const QStringList& arguments) const;
    // Becomes the copy that later starts hand their requests to. `handler` runs on this thread
    // for each request, when the program takes input (no modal dialog open).
    bool Listen(std::function<void(const QStringList&)> handler);

    // The server's address: the user's runtime folder and the display.
    static QString ServerName();

private:
    void OnConnection();

    QLocalServer* m_server = nullptr;
    std::function<void(const QStringList&)> m_handler;
};
