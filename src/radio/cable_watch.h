#pragma once

// The cable watch: tells this copy of the program once a second whether exactly one usable cable
// is plugged in and no copy is transferring, and keeps a single cable monitor running among all
// copies. Copies meet in the shared status block; what the block cannot say by itself (is the copy
// that set a slot still alive?) is answered by lock files that the kernel releases when their
// holder dies:
// - transfer.lock: a copy holds it shared from setting slot 2 until clearing it. Whoever finds
//   slot 2 set tries to take it exclusively; success means no live copy is transferring, and the
//   slot is cleared instead of disabling the cable commands of every copy forever.
// - monitor.lock: the monitor runs in the copy that holds it exclusively. Every status cycle of
//   the other copies tries to take it, so a monitor that died is replaced at the next cycle even
//   though its slot 0 still reads 1.
// - protocol.lock: the protocol lock's cross-process half (see ipc::CProtocolLock), whose dead
//   holders are reported.
// The program holds one watch; the busy flag and the protocol lock of that watch are the copy's.

#include <atomic>
#include <chrono>
#include <memory>

#include <QString>

#include "platform/ipc/process_lock.h"

class CUsbCable;

class ICableStatusSink {
public:
    virtual ~ICableStatusSink() = default;
    // Called on the status thread; a window queues it for its own thread.
    virtual void PostCableStatus(bool ready, int cableCount) = 0;
};

class CCableWatch {
public:
    static constexpr std::chrono::milliseconds kCycle{1000};
    static constexpr std::chrono::milliseconds kJoinBound{5000};

    // The block's name and the lock folder are taken from the environment now.
    CCableWatch();
    ~CCableWatch();
    CCableWatch(const CCableWatch&) = delete;
    CCableWatch& operator=(const CCableWatch&) = delete;

    bool Busy() const;
    void SetBusy(bool busy);
    // A radio operation starts: busy = 1, slot 2 = 1. False with *error when the block cannot be
    // reached; busy is set all the same, so this copy still keeps its hands off the cable.
    bool BeginTransfer(QString* error = nullptr);
    // Cleanup: slot 2 = 0, busy = 0.
    void EndTransfer();

    // Held by a worker for a whole radio operation and by the monitor while it counts.
    ipc::CProtocolLock& ProtocolLock();
    // The cable object the monitor counts with; its present flag is the watch's finding.
    const CUsbCable& Cable() const;
    // Slot 3 as the status thread last read it.
    int CableCount() const;
    bool RunsMonitor() const;

    // Starts the status thread, which starts the monitor when this copy should run it. The sink
    // must outlive Shutdown().
    void Start(ICableStatusSink& sink);
    // Stops both threads, waiting at most kJoinBound for each. A thread that does not end in
    // time is left to finish alone (it keeps its own share of the watch's state and calls the sink
    // no more) and the result is false; a second call returns the first one's result.
    bool Shutdown();

    // What the threads share with the watch; only the implementation knows it.
    struct State;

private:
    std::shared_ptr<State> m_state;
};
