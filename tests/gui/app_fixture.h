#pragma once

// The desktop program as a test starts it: its own copy of the development installation (so a
// test may take files away), its own hives, runtime folder, shared status block and cable folder,
// and a person at the screen who answers message boxes by their number.

#include <functional>
#include <memory>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "app/main_frame.h"
#include "app/vesk_cps_app.h"
#include "platform/user_prompt.h"
#include "temp_hives.h"

class CScriptedPrompt : public IUserPrompt {
public:
    PromptAnswer Ask(int messageId, const QString& text, PromptStyle style) override {
        ids.append(messageId);
        texts.append(text);
        if (whileShown) {
            whileShown(messageId);
        }
        if (!answers[messageId].isEmpty()) {
            return answers[messageId].takeFirst();
        }
        switch (style) {
            case PromptStyle::YesNo:
            case PromptStyle::YesNoCancel:
                return PromptAnswer::Yes;
            default:
                return PromptAnswer::Ok;
        }
    }

    QList<int> ids;
    QStringList texts;
    // Answers for a message, used in turn; without one a question is answered Yes, others OK.
    QMap<int, QList<PromptAnswer>> answers;
    // Runs while a message is "on screen", as the event loop of a real message box would.
    std::function<void(int)> whileShown;
};

inline bool CopyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo& entry : source.entryInfoList(QDir::NoDotAndDotDot | QDir::AllEntries)) {
        const QString target = to + u'/' + entry.fileName();
        if (entry.isDir() ? !CopyTree(entry.filePath(), target)
                          : !QFile::copy(entry.filePath(), target)) {
            return false;
        }
    }
    return true;
}

class CAppFixture {
public:
    CAppFixture() {
        const QString install = m_dir.filePath(QStringLiteral("install"));
        CopyTree(QStringLiteral(VESK_STAGE_DIR "/share/veskcps"), install);
        m_install = install;
        m_hives.WriteMachine("[General]\nDefaultLanguage=English\nInstallPath=\"" +
                             install.toUtf8() +
                             "\"\nShowContextHelp=1\n\n[Language]\n"
                             "English\\HelpFileName=\"help/veskcps_en.qhc\"\n"
                             "English\\DealerInfoLeft=\"\"\nEnglish\\DealerInfoMiddle=\"\"\n"
                             "English\\DealerInfoRight=\"\"\n"
                             "German\\GUIResource=\"veskcps_de.qm\"\n");
        const QString runtime = m_dir.filePath(QStringLiteral("run"));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
        qputenv("VESKCPS_CABLE_DIR", CableFolder().toLocal8Bit());
        qputenv("VESKCPS_STATUS_BLOCK", QByteArray("/vesk-gui-test-") +
                                            QByteArray::number(QCoreApplication::applicationPid()) +
                                            "-" + QByteArray::number(++s_count));
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toLocal8Bit());
        QDir().mkpath(CableFolder());
    }
    ~CAppFixture() {
        m_app.reset();
        qunsetenv("VESKCPS_STATUS_BLOCK");
    }

    const QString& Install() const { return m_install; }
    QString CableFolder() const { return m_dir.filePath(QStringLiteral("cables")); }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    CTempHives& Hives() { return m_hives; }

    bool Start(const QStringList& arguments = {}) {
        m_app = std::make_unique<CVeskCPSApp>(m_hives.Config(), prompt);
        return m_app->InitInstance(arguments);
    }
    CVeskCPSApp& App() { return *m_app; }
    CMainFrame& Frame() { return *m_app->MainFrame(); }

    CScriptedPrompt prompt;

private:
    static inline int s_count = 0;
    QTemporaryDir m_dir;
    CTempHives m_hives;
    QString m_install;
    std::unique_ptr<CVeskCPSApp> m_app;
};

// Acts on the next modal window of type T as soon as `ready` holds for it, from inside whatever
// event loop is running then (a dialog's exec, a test's wait).
template <class T>
void WhenModal(std::function<void(T*)> act, std::function<bool(T*)> ready = {}) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act, ready] {
        T* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (window == nullptr || !window->isVisible() || (ready && !ready(window))) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        act(window);
    });
    timer->start();
}
