#pragma once

// Locks that every running copy of the program shares, built on flock() over files in a per-user
// runtime folder. The kernel drops an flock() when the last descriptor of its open file goes away,
// which includes the holder being killed, so a crashed copy can never leave the others locked out;
// robust process-shared mutexes would give the same guarantee but need a consistent-state dance in
// shared memory that outlives everyone, and a lock file is easy to inspect by hand.

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>

#include <QString>

namespace ipc {

// $XDG_RUNTIME_DIR/veskcps, else /tmp/veskcps-$UID; created with mode 0700. An existing folder
// must be a real folder owned by this user (a folder in /tmp could have been planted by someone
// else); otherwise the result is empty and *error says why.
QString RuntimeFolder(QString* error = nullptr);
// A file of that folder, or empty when the folder cannot be used.
QString LockFilePath(const QString& name);

// One open file description of a lock file. Each instance opens the file afresh, because flock()
// belongs to the open file description: two instances in one process exclude each other just as
// two processes do.
class CLockFile {
public:
    CLockFile() = default;
    explicit CLockFile(QString path) : m_path(std::move(path)) {}
    ~CLockFile();
    CLockFile(const CLockFile&) = delete;
    CLockFile& operator=(const CLockFile&) = delete;

    const QString& Path() const { return m_path; }
    // False with *error filled when the file cannot be opened or created.
    bool Open(QString* error = nullptr);
    bool IsOpen() const { return m_fd >= 0; }
    // Blocks until the lock is granted (false only on an error).
    bool LockShared();
    bool LockExclusive();
    // False when another open file holds a conflicting lock.
    bool TryLockExclusive();
    void Unlock();
    bool IsLocked() const { return m_locked; }
    void Close();

    // The file's whole content, and replacing it; used to leave a note for the next holder.
    QByteArray ReadAll() const;
    bool Replace(const QByteArray& content);

private:
    bool Flock(int operation);

    QString m_path;
    int m_fd = -1;
    bool m_locked = false;
};

// The lock that serializes radio operations and cable counting, across threads of one copy and
// across copies. A holder writes its process id into the lock file and erases it on release, so a
// process id found there on acquisition belongs to a copy that died holding the lock; that is
// reported, since whatever it was doing to the radio ended half-way.
class CProtocolLock {
public:
    using DeadHolderReport = std::function<void(qint64 pid)>;
    using StopRequested = std::function<bool()>;

    // The lock file is "protocol.lock" in the runtime folder.
    CProtocolLock();
    explicit CProtocolLock(QString path);
    CProtocolLock(const CProtocolLock&) = delete;
    CProtocolLock& operator=(const CProtocolLock&) = delete;

    // Blocks until held. When the lock file cannot be used at all, the threads of this copy are
    // still serialized and false says that other copies are not excluded; Unlock() is due either
    // way.
    bool Lock();
    // Gives up at the deadline or as soon as stopRequested answers true, holding nothing; checked
    // every few milliseconds, so a shutdown never waits for the holder. Without a usable lock file
    // it succeeds with the threads of this copy serialized, as Lock() does.
    bool TryLockUntil(std::chrono::steady_clock::time_point deadline,
                      const StopRequested& stopRequested = {});
    void Unlock();

    // Called on the acquiring thread, while the lock is held, for each dead holder found.
    void SetDeadHolderReport(DeadHolderReport report);
    int DeadHolderCount() const { return m_deadHolders.load(); }
    qint64 LastDeadHolder() const { return m_lastDeadHolder.load(); }

    // For std::lock_guard and std::unique_lock.
    void lock() { Lock(); }
    void unlock() { Unlock(); }

private:
    enum class Taken { Held, NoFile, Refused };
    Taken TakeFile(bool wait, std::chrono::steady_clock::time_point deadline,
                   const StopRequested& stopRequested);
    void NoteHolder();

    std::timed_mutex m_inProcess;
    CLockFile m_file;
    std::mutex m_reportMutex;
    DeadHolderReport m_report;
    std::atomic<int> m_deadHolders{0};
    std::atomic<qint64> m_lastDeadHolder{0};
};

}  // namespace ipc
