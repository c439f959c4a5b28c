#include "platform/ipc/process_lock.h"

#include <cerrno>
#include <cstring>
#include <thread>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QtGlobal>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ipc {

namespace {

using namespace std::chrono_literals;

// How often a waiting acquisition looks again; short against a radio operation, long against
// the cost of a failed flock().
constexpr auto kPollInterval = 20ms;

QString ErrnoText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

bool EnsurePrivateFolder(const QString& path, QString* error) {
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        if (error != nullptr) {
            *error = QStringLiteral("Cannot create the folder %1: %2").arg(path, ErrnoText(errno));
        }
        return false;
    }
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid()) {
        if (error != nullptr) {
            *error = QStringLiteral("The folder %1 is not a folder of this user").arg(path);
        }
        return false;
    }
    if ((info.st_mode & 0077) != 0 && ::chmod(native.constData(), 0700) != 0) {
        if (error != nullptr) {
            *error =
                QStringLiteral("Cannot make the folder %1 private: %2").arg(path, ErrnoText(errno));
        }
        return false;
    }
    return true;
}

}  // namespace

QString RuntimeFolder(QString* error) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder = runtime.isEmpty() ? QStringLiteral("/tmp/veskcps-%1").arg(::getuid())
                                             : runtime + QLatin1String("/veskcps");
    return EnsurePrivateFolder(folder, error) ? folder : QString();
}

CLockFile::~CLockFile() {
    Close();
}

bool CLockFile::Open(QString* error) {
    if (m_fd >= 0) {
        return true;
    }
    if (m_path.isEmpty()) {
        if (error != nullptr) {
            *error = QStringLiteral("No lock file named");
        }
        return false;
    }
    m_fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0 && error != nullptr) {
        *error = QStringLiteral("Cannot open the lock file %1: %2").arg(m_path, ErrnoText(errno));
    }
    return m_fd >= 0;
}

bool CLockFile::Flock(int operation) {
    if (m_fd < 0 && !Open()) {
        return false;
    }
    int result = 0;
    do {
        result = ::flock(m_fd, operation);
    } while (result != 0 && errno == EINTR);
    if (result == 0 && (operation & LOCK_UN) == 0) {
        m_locked = true;
    }
    return result == 0;
}

bool CLockFile::LockShared() {
    return Flock(LOCK_SH);
}
bool CLockFile::LockExclusive() {
    return Flock(LOCK_EX);
}
bool CLockFile::TryLockExclusive() {
    return Flock(LOCK_EX | LOCK_NB);
}

void CLockFile::Unlock() {
    if (m_fd >= 0 && m_locked) {
        ::flock(m_fd, LOCK_UN);
    }
    m_locked = false;
}

void CLockFile::Close() {
    if (m_fd >= 0) {
        ::close(m_fd);  // also drops the lock
    }
    m_fd = -1;
    m_locked = false;
}

QByteArray CLockFile::ReadAll() const {
    QByteArray content;
    if (m_fd < 0) {
        return content;
    }
    char buffer[64];
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(m_fd, buffer, sizeof buffer, offset);
        if (n <= 0 || content.size() > 4096) {
            break;
        }
        content.append(buffer, n);
        offset += n;
    }
    return content;
}

bool CLockFile::Replace(const QByteArray& content) {
    if (m_fd < 0 || ::ftruncate(m_fd, 0) != 0) {
        return false;
    }
    return content.isEmpty() || ::pwrite(m_fd, content.constData(),
                                         static_cast<size_t>(content.size()), 0) == content.size();
}

QString LockFilePath(const QString& name) {
    const QString folder = RuntimeFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}

CProtocolLock::CProtocolLock() : CProtocolLock(LockFilePath(QStringLiteral("protocol.lock"))) {}

CProtocolLock::CProtocolLock(QString path) : m_file(std::move(path)) {}

void CProtocolLock::SetDeadHolderReport(DeadHolderReport report) {
    const std::lock_guard guard(m_reportMutex);
    m_report = std::move(report);
}

bool CProtocolLock::Lock() {
    m_inProcess.lock();
    return TakeFile(true, {}, {}) == Taken::Held;
}

bool CProtocolLock::TryLockUntil(std::chrono::steady_clock::time_point deadline,
                                 const StopRequested& stopRequested) {
    const auto stopped = [&] { return stopRequested && stopRequested(); };
    while (!m_inProcess.try_lock_for(kPollInterval)) {
        if (stopped() || std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
    }
    if (TakeFile(false, deadline, stopRequested) == Taken::Refused) {
        m_inProcess.unlock();
        return false;
    }
    return true;
}

CProtocolLock::Taken CProtocolLock::TakeFile(bool wait,
                                             std::chrono::steady_clock::time_point deadline,
                                             const StopRequested& stopRequested) {
    // Each holding gets its own open file description, so that a descriptor left over from an
    // earlier holding can never make the kernel think this copy already holds the lock.
    m_file.Close();
    QString error;
    if (!m_file.Open(&error)) {
        qWarning("%s; other copies of the program are not kept out", qUtf8Printable(error));
        return Taken::NoFile;
    }
    if (wait) {
        if (!m_file.LockExclusive()) {
            qWarning("Cannot lock %s: %s", qUtf8Printable(m_file.Path()), std::strerror(errno));
            m_file.Close();
            return Taken::NoFile;
        }
    } else {
        while (!m_file.TryLockExclusive()) {
            if (errno != EWOULDBLOCK) {
                qWarning("Cannot lock %s: %s", qUtf8Printable(m_file.Path()), std::strerror(errno));
                m_file.Close();
                return Taken::NoFile;
            }
            if ((stopRequested && stopRequested()) ||
                std::chrono::steady_clock::now() >= deadline) {
                m_file.Close();
                return Taken::Refused;
            }
            std::this_thread::sleep_for(kPollInterval);
        }
    }
    NoteHolder();
    return Taken::Held;
}

void CProtocolLock::NoteHolder() {
    bool ok = false;
    const qint64 previous = m_file.ReadAll().trimmed().toLongLong(&ok);
    if (ok && previous > 0) {
        m_lastDeadHolder.store(previous);
        m_deadHolders.fetch_add(1);
        qWarning("A copy of the program (process %lld) ended while it held the radio link",
                 static_cast<long long>(previous));
        const std::lock_guard guard(m_reportMutex);
        if (m_report) {
            m_report(previous);
        }
    }
    m_file.Replace(QByteArray::number(static_cast<qint64>(::getpid())) + '\n');
}

void CProtocolLock::Unlock() {
    if (m_file.IsLocked()) {
        m_file.Replace({});
    }
    m_file.Close();
    m_inProcess.unlock();
}

}  // namespace ipc
