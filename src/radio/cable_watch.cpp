#include "radio/cable_watch.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include <QtGlobal>

#include "platform/ipc/shared_status.h"
#include "radio/usb_cable.h"

using ipc::CSharedStatusBlock;
using Clock = std::chrono::steady_clock;

// Everything the threads touch lives here and is shared with them, so that a thread left running
// after a shutdown that could not wait for it never reaches into a destroyed watch.
struct CCableWatch::State {
    QByteArray blockName = CSharedStatusBlock::DefaultName();
    QString monitorLockPath = ipc::LockFilePath(QStringLiteral("monitor.lock"));
    QString transferLockPath = ipc::LockFilePath(QStringLiteral("transfer.lock"));

    std::atomic<bool> busy{false};
    std::atomic<int> cableCount{0};
    std::atomic<bool> runsMonitor{false};
    ipc::CProtocolLock protocolLock;
    CUsbCable cable;

    // Guards stop, the thread bookkeeping and the monitor's pass counter; the condition variable
    // is the shutdown event and also carries the monitor's "pass done".
    std::mutex mutex;
    std::condition_variable event;
    bool stop = false;
    bool started = false;
    bool shutDown = false;
    bool shutdownResult = true;
    bool monitorStarted = false;
    bool monitorDone = false;
    bool statusDone = false;
    int monitorPasses = 0;
    std::thread monitorThread;
    std::thread statusThread;

    // The status thread's own lock around reading the block.
    std::mutex statusMutex;
    ipc::CLockFile monitorLock{monitorLockPath};

    std::mutex transferMutex;
    ipc::CLockFile transferLock{transferLockPath};
    bool transferring = false;

    std::mutex sinkMutex;
    ICableStatusSink* sink = nullptr;

    bool Stopped() {
        const std::lock_guard guard(mutex);
        return stop;
    }
    // One cycle's pause; false when it ended because of a shutdown.
    bool WaitCycle() {
        std::unique_lock lock(mutex);
        return !event.wait_for(lock, kCycle, [this] { return stop; });
    }
};

namespace {

using StatePtr = std::shared_ptr<CCableWatch::State>;

// Counts the cables and publishes the result, unless a transfer is under way anywhere.
void MonitorPass(CCableWatch::State& s) {
    bool created = false;
    QString error;
    const auto block = CSharedStatusBlock::OpenOrCreate(s.blockName, &created, &error);
    if (!block) {
        qWarning("Cable monitor: %s", qUtf8Printable(error));
        return;
    }
    while (s.busy.load() || block->Load(CSharedStatusBlock::Transferring) == 1) {
        if (!s.WaitCycle()) {
            return;
        }
    }
    if (s.Stopped()) {
        return;
    }
    block->Store(CSharedStatusBlock::MonitorRunning, 1);
    // Never counting during a radio operation keeps the device list still under a transfer.
    if (!s.protocolLock.TryLockUntil(Clock::time_point::max(), [&s] { return s.Stopped(); })) {
        return;
    }
    const int count = s.cable.CountCables();
    s.protocolLock.Unlock();
    block->Store(CSharedStatusBlock::CableCount, static_cast<std::uint32_t>(count));
    s.cable.SetPresent(count > 0 ? 1 : 0);
    block->Store(CSharedStatusBlock::CableFound, static_cast<std::uint32_t>(s.cable.Present()));
}

void MonitorLoop(const StatePtr& s) {
    do {
        MonitorPass(*s);
        {
            const std::lock_guard guard(s->mutex);
            ++s->monitorPasses;
        }
        s->event.notify_all();
    } while (s->WaitCycle());
    const std::lock_guard guard(s->mutex);
    s->monitorDone = true;
    s->event.notify_all();
}

// A copy that died between setting slot 2 and clearing it left the slot set; nobody holding the
// transfer lock shared means nobody is transferring.
void ClearStaleTransfer(CCableWatch::State& s, CSharedStatusBlock& block) {
    if (block.Load(CSharedStatusBlock::Transferring) != 1) {
        return;
    }
    ipc::CLockFile probe(s.transferLockPath);
    if (!probe.Open() || !probe.TryLockExclusive()) {
        return;
    }
    if (block.Exchange(CSharedStatusBlock::Transferring, 1, 0)) {
        qWarning("A copy of the program ended while transferring; the cable is free again");
    }
}

// Takes the monitor's place when no live copy holds it, and lets the new monitor finish its first
// pass (within a cycle) so that this cycle already reports what it found.
bool TakeMonitorIfFree(const StatePtr& s, CSharedStatusBlock* block) {
    if (s->runsMonitor.load()) {
        return false;
    }
    // Without a usable lock folder, slot 0 alone decides, as it would without crashes.
    const bool free =
        s->monitorLock.Open()
            ? s->monitorLock.TryLockExclusive()
            : block == nullptr || block->Load(CSharedStatusBlock::MonitorRunning) != 1;
    if (!free) {
        return false;
    }
    std::unique_lock lock(s->mutex);
    if (s->stop) {
        s->monitorLock.Close();
        return false;
    }
    s->runsMonitor.store(true);
    if (block != nullptr) {
        block->Store(CSharedStatusBlock::MonitorRunning, 1);
    }
    s->monitorStarted = true;
    s->monitorThread = std::thread(MonitorLoop, s);
    s->event.wait_for(lock, CCableWatch::kCycle, [&s] { return s->stop || s->monitorPasses > 0; });
    return true;
}

void Post(CCableWatch::State& s, bool ready, int count) {
    const std::lock_guard guard(s.sinkMutex);
    if (s.sink != nullptr && !s.Stopped()) {
        s.sink->PostCableStatus(ready, count);
    }
}

void StatusLoop(const StatePtr& s) {
    for (;;) {
        bool stopped = false;
        while (s->busy.load() && !stopped) {
            stopped = !s->WaitCycle();
        }
        if (stopped || s->Stopped()) {
            break;
        }
        bool ready = false;
        {
            const std::lock_guard guard(s->statusMutex);
            auto block = CSharedStatusBlock::OpenExisting(s->blockName);
            if (block) {
                ClearStaleTransfer(*s, *block);
            }
            if (TakeMonitorIfFree(s, block.get()) && !block) {
                block = CSharedStatusBlock::OpenExisting(s->blockName);
            }
            if (block) {
                const std::uint32_t found = block->Load(CSharedStatusBlock::CableFound);
                const std::uint32_t transferring = block->Load(CSharedStatusBlock::Transferring);
                const std::uint32_t count = block->Load(CSharedStatusBlock::CableCount);
                s->cableCount.store(static_cast<int>(qMin<std::uint32_t>(count, 0x7FFFFFFF)));
                ready = transferring != 1 && found == 1 && count <= 1;
            }
        }
        Post(*s, ready, s->cableCount.load());
        if (!s->WaitCycle()) {
            break;
        }
    }
    const std::lock_guard guard(s->mutex);
    s->statusDone = true;
    s->event.notify_all();
}

// Waits for a thread's done flag up to the bound; joins it when it ended, else lets it go.
bool EndThread(CCableWatch::State& s, std::thread& thread, const bool& done, const char* name) {
    std::unique_lock lock(s.mutex);
    const bool ended = s.event.wait_for(lock, CCableWatch::kJoinBound, [&done] { return done; });
    std::thread taken = std::move(thread);
    lock.unlock();
    if (!taken.joinable()) {
        return true;
    }
    if (ended) {
        taken.join();
    } else {
        qWarning("The cable %s thread did not end in time and is left to finish alone", name);
        taken.detach();
    }
    return ended;
}

void StoreMonitorSlot(const QByteArray& name, std::uint32_t value) {
    if (const auto block = CSharedStatusBlock::OpenExisting(name)) {
        block->Store(CSharedStatusBlock::MonitorRunning, value);
    }
}

}  // namespace

CCableWatch::CCableWatch() : m_state(std::make_shared<State>()) {}

CCableWatch::~CCableWatch() {
    Shutdown();
    EndTransfer();
}

bool CCableWatch::Busy() const {
    return m_state->busy.load();
}
void CCableWatch::SetBusy(bool busy) {
    m_state->busy.store(busy);
}

bool CCableWatch::BeginTransfer(QString* error) {
    State& s = *m_state;
    s.busy.store(true);
    const std::lock_guard guard(s.transferMutex);
    // Shared before the slot is set: a copy probing for a stale slot then either sees this
    // holding or has finished its probe before the slot reads 1.
    QString lockError;
    if (!s.transferLock.IsLocked() &&
        (!s.transferLock.Open(&lockError) || !s.transferLock.LockShared())) {
        qWarning("%s", qUtf8Printable(lockError.isEmpty()
                                          ? QStringLiteral("Cannot lock %1").arg(s.transferLockPath)
                                          : lockError));
    }
    s.transferring = true;
    const auto block = CSharedStatusBlock::OpenOrCreate(s.blockName, nullptr, error);
    if (!block) {
        return false;
    }
    block->Store(CSharedStatusBlock::Transferring, 1);
    return true;
}

void CCableWatch::EndTransfer() {
    State& s = *m_state;
    {
        const std::lock_guard guard(s.transferMutex);
        // Only a copy that started a transfer clears the slot: a watch going away without one
        // must not end another copy's.
        if (s.transferring) {
            if (const auto block = CSharedStatusBlock::OpenOrCreate(s.blockName)) {
                block->Store(CSharedStatusBlock::Transferring, 0);
            }
            s.transferLock.Close();
            s.transferring = false;
        }
    }
    s.busy.store(false);
}

ipc::CProtocolLock& CCableWatch::ProtocolLock() {
    return m_state->protocolLock;
}
const CUsbCable& CCableWatch::Cable() const {
    return m_state->cable;
}
int CCableWatch::CableCount() const {
    return m_state->cableCount.load();
}
bool CCableWatch::RunsMonitor() const {
    return m_state->runsMonitor.load();
}

void CCableWatch::Start(ICableStatusSink& sink) {
    State& s = *m_state;
    {
        const std::lock_guard guard(s.sinkMutex);
        s.sink = &sink;
    }
    const std::lock_guard guard(s.mutex);
    if (s.started) {
        return;
    }
    s.started = true;
    s.statusThread = std::thread(StatusLoop, m_state);
}

bool CCableWatch::Shutdown() {
    State& s = *m_state;
    {
        const std::lock_guard guard(s.mutex);
        if (s.shutDown || !s.started) {
            return s.shutdownResult;
        }
        s.shutDown = true;
    }
    const bool ranMonitor = s.runsMonitor.load();
    if (ranMonitor) {
        StoreMonitorSlot(s.blockName, 0);
    }
    {
        const std::lock_guard guard(s.mutex);
        s.stop = true;
    }
    s.event.notify_all();
    // The status thread may still be starting the monitor; once it has ended, the monitor's
    // thread handle is final.
    const bool statusEnded = EndThread(s, s.statusThread, s.statusDone, "status");
    bool monitorStarted = false;
    {
        const std::lock_guard guard(s.mutex);
        monitorStarted = s.monitorStarted;
    }
    const bool monitorEnded =
        !monitorStarted || EndThread(s, s.monitorThread, s.monitorDone, "monitor");
    // A pass that was under way when the slot was cleared may have set it again.
    if (monitorStarted && monitorEnded) {
        StoreMonitorSlot(s.blockName, 0);
    }
    // A status thread that is still running may be inside either lock; what it holds is
    // released when it finally lets go of the state.
    if (statusEnded) {
        s.monitorLock.Close();
        s.runsMonitor.store(false);
        const std::lock_guard guard(s.sinkMutex);
        s.sink = nullptr;
    }
    const std::lock_guard guard(s.mutex);
    s.shutdownResult = statusEnded && monitorEnded;
    return s.shutdownResult;
}
