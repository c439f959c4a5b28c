#pragma once

// A radio simulator as a separate process on its own pseudo-terminal, registered in a cable
// folder of the test's own, as a dealer's machine would see a radio on a cable.

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class CSimProcess {
public:
    // `cableFolder` is where the simulator registers; the test points VESKCPS_CABLE_DIR there.
    CSimProcess(const QString& cableFolder, const QStringList& args) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VESKCPS_CABLE_DIR"), cableFolder);
        m_process.setProcessEnvironment(env);
        m_process.start(QStringLiteral(VESKSIM_PROGRAM), args);
        if (!m_process.waitForStarted(10000)) {
            m_error = QStringLiteral("vesksim did not start");
            return;
        }
        // The registration line; generous, since a sanitizer build starts slowly.
        while (!m_process.canReadLine() && m_process.state() == QProcess::Running) {
            m_process.waitForReadyRead(20000);
            if (!m_process.canReadLine() && m_process.bytesAvailable() == 0) {
                break;
            }
        }
        const QByteArray line = m_process.readLine().trimmed();
        const QList<QByteArray> words = line.split(' ');
        if (words.size() == 3 && words[0] == "cable") {
            m_device = QString::fromLocal8Bit(words[2]);
        } else {
            m_error = QStringLiteral("vesksim said '%1'; stderr: %2")
                          .arg(QString::fromLocal8Bit(line),
                               QString::fromLocal8Bit(m_process.readAllStandardError()));
        }
    }
    ~CSimProcess() { Stop(); }
    CSimProcess(const CSimProcess&) = delete;
    CSimProcess& operator=(const CSimProcess&) = delete;

    bool Ready() const { return m_error.isEmpty(); }
    const QString& Error() const { return m_error; }
    const QString& Device() const { return m_device; }

    // Ends the simulator as a user would (SIGTERM) and returns its exit code.
    int Stop() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(10000)) {
                m_process.kill();
                m_process.waitForFinished(10000);
            }
        }
        if (!m_stopped) {
            m_stderr += m_process.readAllStandardError();
            m_stopped = true;
        }
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    bool WaitForExit(int ms) { return m_process.waitForFinished(ms); }
    int ExitCode() const { return m_process.exitCode(); }

    // What --log wrote, once stopped.
    const QByteArray& Log() const { return m_stderr; }
    // The request frames the simulator received, from its log.
    int RequestsLogged() const {
        int n = 0;
        for (const QByteArray& line : m_stderr.split('\n')) {
            if (line.startsWith("> ")) {
                ++n;
            }
        }
        return n;
    }

private:
    QProcess m_process;
    QString m_device;
    QString m_error;
    QByteArray m_stderr;
    bool m_stopped = false;
};

// One run of veskctl as a dealer's shell would start it, in `env`.
struct SRun {
    int exitCode = -1;  // -1: it crashed or did not end in time
    QString out;
    QString err;
};

// Generous: a silent radio costs the whole time-out budget of a request twice (the request and
// the final reset).
inline SRun RunVeskctl(const QProcessEnvironment& env, const QStringList& args) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VESKCTL_PROGRAM), args);
    SRun run;
    if (!process.waitForFinished(90000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
