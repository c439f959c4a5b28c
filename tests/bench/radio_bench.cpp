// Full read and full write of a 19-channel, 99-frequency radio against the simulator paced like
// the real line (16406 baud, radio answering at once), compared with the time the bytes need on
// the wire. The echo overlaps the request on a half-duplex line with an echoing cable, so the
// bound is the bytes the host reads (echo, acknowledgements and replies) at 1640.6 bytes/s.
//
// Counters: wire_bound_s (that bound per operation), ratio (measured time / bound; the goal is
// 1.10 or less), bytes_read, requests. The 2000 ms pause after the final reset is not timed: the
// pause is replaced by a no-op here, since it is a fixed wait the radio asks for, not link work.
//
// BM_WriteRadio is the write alone (no backup, no reading back), as the write has always been
// measured; BM_WriteRadioVerified adds the reading back of every block written, which is wire time
// by nature: its ratio is against the bound of all the bytes it moves, and the time it adds is
// its time less BM_WriteRadio's.
//
// Run by hand from a RelWithDebInfo build with the test environment (see tests/CMakeLists.txt).

#include <chrono>
#include <memory>
#include <mutex>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "platform/ipc/shared_status.h"
#include "radio/cable_watch.h"
#include "radio/radio_operations.h"
#include "radio/usb_cable.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

namespace {

constexpr double kWireBytesPerSecond = 1640.6;

const QString kProfile =
    QStringLiteral(VESK_SOURCE_DIR) + QStringLiteral("/tests/data/images/full_19x99/profile.xml");

class CSink : public IOperationSink {
public:
    void PostOperation(int kind, int) override {
        const std::lock_guard guard(m_mutex);
        if (kind == op::kFailed || kind == op::kStatusFault) {
            m_failed = true;
        }
    }
    bool Failed() const {
        const std::lock_guard guard(m_mutex);
        return m_failed;
    }

private:
    mutable std::mutex m_mutex;
    bool m_failed = false;
};

// One paced simulator on a cable folder of its own, for the whole benchmark.
class CPacedRadio {
public:
    CPacedRadio() {
        QDir().mkpath(m_dir.filePath(QStringLiteral("cables")));
        qputenv("VESKCPS_CABLE_DIR", QFile::encodeName(m_dir.filePath(QStringLiteral("cables"))));
        qputenv("VESKCPS_STATUS_BLOCK", m_block);
        m_process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        m_process.start(QStringLiteral(VESKSIM_PROGRAM),
                        {QStringLiteral("--memory"), m_dir.filePath(QStringLiteral("memory.bin")),
                         QStringLiteral("--from"), kProfile, QStringLiteral("--turnaround"),
                         QStringLiteral("0")});
        if (!m_process.waitForStarted(10000)) {
            m_error = "vesksim did not start";
            return;
        }
        while (!m_process.canReadLine() && m_process.waitForReadyRead(20000)) {
        }
        if (!m_process.readLine().startsWith("cable ")) {
            m_error = "vesksim did not register: " + m_process.readAllStandardError().toStdString();
            return;
        }
        CUsbCable counter;
        if (counter.CountCables() != 1) {
            m_error = "the simulated cable is not found";
        }
    }
    ~CPacedRadio() {
        ipc::CSharedStatusBlock::Remove(m_block);
        m_process.terminate();
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
    }
    const std::string& Error() const { return m_error; }

private:
    QTemporaryDir m_dir;
    // A status block of its own, so that a running program's transfer flag is never touched.
    QByteArray m_block = "/VeskCPSRadioBench." + QByteArray::number(::getpid());
    QProcess m_process;
    std::string m_error;
};

enum class Direction { Read, Write, VerifiedWrite };

void Transfer(benchmark::State& state, Direction direction) {
    CPacedRadio radio;
    if (!radio.Error().empty()) {
        state.SkipWithError(radio.Error().c_str());
        return;
    }
    CCableWatch watch;
    CRadioOperations operations(watch);
    operations.SetPause([](std::chrono::milliseconds) {});
    operations.SetWriteSafety({nullptr, direction == Direction::VerifiedWrite});
    // The write sends what a read of the same radio gives.
    {
        CSink sink;
        operations.StartRead(sink);
        operations.Wait();
        if (sink.Failed()) {
            state.SkipWithError("the preparing read failed");
            return;
        }
    }
    double bytesRead = 0;
    double requests = 0;
    double seconds = 0;
    for (auto _ : state) {
        CSink sink;
        const auto start = std::chrono::steady_clock::now();
        const bool started =
            direction == Direction::Read ? operations.StartRead(sink) : operations.StartWrite(sink);
        operations.Wait();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (!started || sink.Failed()) {
            state.SkipWithError(qPrintable(
                QStringLiteral("the transfer failed: %1").arg(operations.LastFailure())));
            return;
        }
        state.SetIterationTime(elapsed.count());
        const ProgrammingLink::STraffic traffic = operations.LastTraffic();
        bytesRead += double(traffic.bytesRead);
        requests += double(traffic.requests);
        seconds += elapsed.count();
    }
    const double n = double(state.iterations());
    const double bound = bytesRead / n / kWireBytesPerSecond;
    state.counters["bytes_read"] = bytesRead / n;
    state.counters["requests"] = requests / n;
    state.counters["wire_bound_s"] = bound;
    state.counters["ratio"] = seconds / n / bound;
}

void BM_ReadRadio(benchmark::State& state) {
    Transfer(state, Direction::Read);
}
void BM_WriteRadio(benchmark::State& state) {
    Transfer(state, Direction::Write);
}
void BM_WriteRadioVerified(benchmark::State& state) {
    Transfer(state, Direction::VerifiedWrite);
}

BENCHMARK(BM_ReadRadio)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteRadio)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteRadioVerified)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
