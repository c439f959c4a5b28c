#include "radio/radio_operations.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "platform/string_table.h"
#include "platform/vesk_cps_exception.h"
#include "radio/cable_watch.h"
#include "radio/memory_map.h"
#include "radio/usb_cable.h"

namespace {

// The ways a step ends a worker early. They travel as exceptions so that each sequence reads as
// the list of its steps; the worker frame turns them into the operation message.
struct SRequestFailed {
    int result;
};
struct SStatusFault {
    int code;
};

// Requests that must bring data back fail with 0 when the reply carried none.
int NeedData(int result) {
    if (result <= 0) {
        throw SRequestFailed{result};
    }
    return result;
}
int NeedAnswer(int result) {
    if (result < 0) {
        throw SRequestFailed{result};
    }
    return result;
}

QString TextOf(int id) {
    return CStringTable::Instance().Text(id);
}

bool IsDigit(const CVirtualCP& image, int modelIndex, std::initializer_list<quint8> values) {
    const quint8 b = image.Byte(vcp::ImageField("model").offset + modelIndex);
    for (const quint8 v : values) {
        if (b == v) {
            return true;
        }
    }
    return false;
}

}  // namespace

class CRadioOperations::CWorker {
public:
    // How a stretch on the cable stands to the worker's end: after the stretch's last message
    // the worker only unwinds, and a caller waiting for that message may start the next step.
    enum class EEnds { Never, OnFailure, Always };

    CWorker(IOperationSink& sink, std::atomic<bool>& ending)
        : m_sink(sink), m_ending(ending), m_link(m_cable) {}

    void Post(int kind, int value) { m_sink.PostOperation(kind, value); }
    void Progress(int percent) { Post(op::kProgress, percent); }
    ProgrammingLink& Link() { return m_link; }

    // The common frame around one stretch of requests on the cable: open, run, close, and tell.
    // A step that fails ends the stretch with kind 3 and its result; a close that fails adds a
    // kind 3 of its own. Only a stretch that is a worker's end reports kind 2. The cable is
    // closed before anything is told, so that whoever acts on the message finds it free.
    bool OnCable(const std::function<void()>& steps, bool reportFinished, EEnds ends) {
        // The device list is taken now, under the protocol lock the worker holds: an index from an
        // earlier count may name another device after a re-plug, or another converter.
        int index = -1;
        if (m_cable.CountCables(&index) < 1 || m_cable.Open(index) != 1) {
            if (ends != EEnds::Never) {
                m_ending.store(true);
            }
            Post(op::kFailed, op::kCommunicationFailure);
            return false;
        }
        std::optional<int> failure;
        std::optional<int> fault;
        try {
            steps();
        } catch (const SRequestFailed& failed) {
            failure = failed.result;
        } catch (const SStatusFault& status) {
            fault = status.code;
        } catch (const CVeskCPSException&) {
            // The radio answered with something no image can hold (a block of the wrong size, a
            // table longer than the image's): a failed operation, not a communication failure.
            failure = 0;
        }
        const bool closed = m_cable.Close() == 1;
        const bool succeeded = closed && !failure && !fault;
        if (ends == EEnds::Always || (ends == EEnds::OnFailure && !succeeded)) {
            m_ending.store(true);
        }
        if (failure) {
            Post(op::kFailed, *failure);
        } else if (fault) {
            Post(op::kStatusFault, *fault);
        }
        if (!closed) {
            Post(op::kFailed, op::kCommunicationFailure);
            return false;
        }
        if (!succeeded) {
            return false;
        }
        if (reportFinished) {
            Post(op::kFinished, 0);
        }
        return true;
    }

    void StatusGate() {
        int code = 0;
        NeedData(m_link.QueryStatus(code));
        if (code != 0) {
            throw SStatusFault{code};
        }
    }

    QByteArray Read(quint32 address, int count) {
        QByteArray bytes;
        NeedData(m_link.ReadMemory(address, count, bytes));
        return bytes;
    }
    QByteArray Read(const mm::SBlock& block, int count = -1) {
        return Read(block.address, count < 0 ? block.length : count);
    }

    // Every block written is kept, for the verification that reads them back.
    void Write(QByteArrayView bytes, quint32 address) {
        NeedAnswer(m_link.WriteMemory(bytes, address));
        Sent(address, bytes);
    }
    void Sent(quint32 address, QByteArrayView bytes) {
        m_sent.push_back({address, bytes.toByteArray()});
    }
    const std::vector<std::pair<quint32, QByteArray>>& SentBlocks() const { return m_sent; }

    void Ending() { m_ending.store(true); }

private:
    IOperationSink& m_sink;
    std::atomic<bool>& m_ending;
    CUsbCable m_cable;
    ProgrammingLink m_link;
    std::vector<std::pair<quint32, QByteArray>> m_sent;
};

CRadioOperations::CRadioOperations(CCableWatch& watch)
    : m_watch(watch),
      m_pause([](std::chrono::milliseconds ms) { std::this_thread::sleep_for(ms); }) {}

CRadioOperations::~CRadioOperations() {
    Stop();
    Wait();
}

void CRadioOperations::SetPause(Pause pause) {
    const std::lock_guard guard(m_mutex);
    m_pause = std::move(pause);
}

bool CRadioOperations::Busy() const {
    return m_watch.Busy();
}

ProgrammingLink::STraffic CRadioOperations::LastTraffic() const {
    const std::lock_guard guard(m_mutex);
    return m_traffic;
}

QString CRadioOperations::LastFailure() const {
    const std::lock_guard guard(m_mutex);
    return m_lastFailure;
}

void CRadioOperations::SetWriteSafety(SWriteSafety safety) {
    const std::lock_guard guard(m_mutex);
    m_safety = std::move(safety);
}

SWriteSafety CRadioOperations::WriteSafety() const {
    const std::lock_guard guard(m_mutex);
    return m_safety;
}

void CRadioOperations::Wait() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void CRadioOperations::Cleanup() {
    m_watch.EndTransfer();
}

bool CRadioOperations::Idle() {
    if (!m_workerDone.load() && !m_workerEnding.load()) {
        return false;
    }
    // A sink that starts the next step from inside its own post would wait for itself.
    if (m_thread.joinable() && m_thread.get_id() == std::this_thread::get_id()) {
        return false;
    }
    Wait();
    return true;
}

bool CRadioOperations::Launch(void (CRadioOperations::*body)(CWorker&), IOperationSink& sink) {
    m_workerDone.store(false);
    m_workerEnding.store(false);
    {
        const std::lock_guard guard(m_mutex);
        m_failureDetail.clear();
    }
    m_thread = std::thread([this, body, &sink] {
        CWorker worker(sink, m_workerEnding);
        // Whatever escapes a step (memory, a lock the system refused) ends this operation as a
        // failed one; on a worker thread it would otherwise end the program and every unsaved
        // profile with it.
        try {
            (this->*body)(worker);
        } catch (const std::exception&) {
            worker.Ending();
            sink.PostOperation(op::kFailed, op::kCommunicationFailure);
            Cleanup();
        }
        const std::lock_guard guard(m_mutex);
        m_traffic = worker.Link().Traffic();
        m_lastFailure = worker.Link().LastFailure();
        m_workerDone.store(true);
    });
    return true;
}

bool CRadioOperations::StartIdentification(OperationCode code, IOperationSink& sink) {
    if ((code != OperationCode::ReadIdentification && code != OperationCode::WriteIdentification) ||
        !Idle()) {
        return false;
    }
    m_watch.BeginTransfer();
    m_code.store(code);
    return Launch(&CRadioOperations::RunIdentification, sink);
}

bool CRadioOperations::StartReset(IOperationSink& sink) {
    if (!Idle()) {
        return false;
    }
    m_watch.BeginTransfer();
    m_code.store(OperationCode::Reset);
    return Launch(&CRadioOperations::RunReset, sink);
}

bool CRadioOperations::StartRead(IOperationSink& sink) {
    if (!Idle()) {
        return false;
    }
    m_running.store(true);
    m_mode.store(DialogMode::Read);
    m_watch.SetBusy(true);
    return Launch(&CRadioOperations::RunRead, sink);
}

bool CRadioOperations::StartWrite(IOperationSink& sink) {
    if (!Idle()) {
        return false;
    }
    m_running.store(true);
    m_mode.store(DialogMode::Write);
    m_watch.SetBusy(true);
    return Launch(&CRadioOperations::RunWrite, sink);
}

void CRadioOperations::RunIdentification(CWorker& w) {
    const std::lock_guard lock(m_watch.ProtocolLock());
    ProgrammingLink& link = w.Link();
    w.OnCable(
        [&] {
            m_info = CRadioInfo{};
            w.StatusGate();
            mm::UnpackIdentification(w.Read(mm::Block("identification")), m_info);
            w.Progress(20);

            FirmwareInfo firmware;
            NeedData(link.QueryFirmware(firmware));
            m_info.SetNumber(vcp::RadioInfoField("firmware_phase"), quint8(firmware.phase));
            m_info.SetNumber(vcp::RadioInfoField("firmware_version"), quint8(firmware.version));
            m_info.SetNumber(vcp::RadioInfoField("firmware_revision"), quint8(firmware.revision));
            w.Progress(40);

            // The firmware that moved the code capacity to its own byte; unlike the read's layout
            // test, later versions of phase R and D do not count.
            const bool newerLayout =
                (firmware.phase == 'R' && firmware.version == '1' && firmware.revision >= '7') ||
                (firmware.phase == 'D' && firmware.version == '7');
            mm::UnpackCodeCapacity(w.Read(newerLayout ? mm::Block("newer_code_capacity")
                                                      : mm::Block("older_code_capacity")),
                                   newerLayout, m_info);

            mm::UnpackPassword(w.Read(mm::Block("password")), m_info);
            w.Progress(60);
            mm::UnpackFrequencyCapacity(w.Read(mm::Block("frequency_capacity")), m_info);
            w.Progress(80);
            mm::UnpackSerialClone(w.Read(mm::Block("serial_clone")), m_info);
            w.Progress(100);
        },
        true, CWorker::EEnds::Always);
}

void CRadioOperations::RunReset(CWorker& w) {
    const std::lock_guard lock(m_watch.ProtocolLock());
    ResetSteps(w);
}

void CRadioOperations::ResetSteps(CWorker& w) {
    Pause pause;
    {
        const std::lock_guard guard(m_mutex);
        pause = m_pause;
    }
    w.OnCable(
        [&] {
            NeedAnswer(w.Link().Reset());
            pause(op::kResetPause);
            w.Progress(100);
        },
        true, CWorker::EEnds::Always);
}

void CRadioOperations::FailWith(int result, const QString& detail) {
    {
        const std::lock_guard guard(m_mutex);
        m_failureDetail = detail;
    }
    throw SRequestFailed{result};
}

void CRadioOperations::ReadSequence(CWorker& w, CVirtualCP& image, bool asRead) {
    // The blocks come over the worker's link; the progress is told for the read itself, not for
    // the backup a write takes first.
    class CLinkMemory : public mm::IRadioMemory {
    public:
        CLinkMemory(CWorker& worker, bool tell) : m_worker(worker), m_tell(tell) {}

        // ReadMemory answers 0 for an empty table, which fails here with that result.
        QByteArray Read(const mm::SBlock& block, int count) override {
            return m_worker.Read(block, count);
        }
        FirmwareInfo Firmware() override {
            FirmwareInfo firmware;
            NeedData(m_worker.Link().QueryFirmware(firmware));
            return firmware;
        }
        void Progress(int percent) override {
            if (m_tell) {
                m_worker.Progress(percent);
            }
        }

    private:
        CWorker& m_worker;
        bool m_tell;
    };

    image.ClearForRead();
    if (asRead) {
        w.StatusGate();
    }
    CLinkMemory memory(w, asRead);
    memory.Progress(10);
    mm::ReadImage(memory, image);
}

void CRadioOperations::RunRead(CWorker& w) {
    m_image = CVirtualCP{};
    {
        // The start request, the read and the reset are one holding of the lock: the cable
        // monitor must not count cables between them.
        const std::lock_guard lock(m_watch.ProtocolLock());
        ProgrammingLink& link = w.Link();
        // A start the radio did not take ends the transfer: its failure is the one told.
        if (!w.OnCable([&] { NeedAnswer(link.Start()); }, false, CWorker::EEnds::OnFailure)) {
            m_running.store(false);
        } else if (m_running.load()) {
            w.OnCable([&] { ReadSequence(w, m_image, true); }, true, CWorker::EEnds::Never);
            ResetSteps(w);
        }
    }
    w.Ending();
    Cleanup();
}

void CRadioOperations::Backup(CWorker& w, IWriteBackup& backup) {
    CVirtualCP current;
    try {
        ReadSequence(w, current, false);
    } catch (const SRequestFailed& failed) {
        // A line that fails is a communication failure, whatever was being read.
        if (failed.result < 0) {
            throw;
        }
        const QString reason = w.Link().LastFailure();
        FailWith(op::kBackupFailed,
                 QStringLiteral("the radio's contents could not be read whole") +
                     (reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason)));
    } catch (const CVeskCPSException& error) {
        FailWith(op::kBackupFailed, QStringLiteral("the radio's contents do not fit a profile (%1)")
                                        .arg(error.Summary().trimmed()));
    }
    QString error;
    if (!backup.Save(current, error)) {
        FailWith(op::kBackupFailed, error);
    }
}

void CRadioOperations::WriteSequence(CWorker& w, const SWriteSafety& safety) {
    ProgrammingLink& link = w.Link();
    w.StatusGate();
    // Before anything is written: a radio whose contents could not be kept is left as it is.
    if (safety.backup) {
        Backup(w, *safety.backup);
    }
    const mm::SBlock& main = mm::Block("main");
    // Everything the write will send is read back first, not only the 386 bytes of settings and
    // channels: bytes 386..409 are the radio's own, and a 398- or 410-byte write must give them
    // back as they were. Both reads take 13 chunks.
    const QByteArray readBack = w.Read(main, mm::MainBlockWriteLength(m_image));
    w.Progress(10);
    w.Write(mm::PackMainBlock(m_image, readBack), main.address);
    NeedAnswer(link.MemoryControl(3, 0));
    w.Progress(20);

    const bool r16 = m_image.Byte(0) == 'R' && m_image.Byte(1) == '1' && m_image.Byte(2) == '6';
    const bool noDisplay = m_image.Byte(vcp::ImageField("model").offset + 2) != 'D';
    if (r16 && noDisplay && IsDigit(m_image, 3, {4, 5})) {
        const mm::SBlock& limit = mm::Block("repeater_limit");
        const QByteArray byte = w.Read(limit);
        w.Write(QByteArray(1, char(mm::RepeaterLimitToWrite(quint8(byte[0])))), limit.address);
        NeedAnswer(link.MemoryControl(4, 0));
        const mm::SBlock& pair = mm::Block("cleared_pair");
        w.Write(QByteArray(pair.length, '\0'), pair.address);
        if (const auto parameters = mm::ParameterImageFor(m_image)) {
            const mm::SBlock& block = mm::Block("radio_parameters");
            const QByteArray wanted(reinterpret_cast<const char*>(parameters->data()),
                                    qsizetype(parameters->size()));
            // The block lives in the radio's slow memory; rewriting an unchanged block only
            // wears it.
            if (w.Read(block) != wanted) {
                w.Write(wanted, block.address);
            }
        }
        NeedAnswer(link.MemoryControl(0, 0));
    }

    w.Progress(30);
    const int n = int(m_image.Number(vcp::ImageField("max_valid_freqs")));
    const quint32 records = mm::Block("frequency_records").address;
    bool companderExpanded = false;
    for (int i = 0; i < n; ++i) {
        const QByteArray record = mm::PackFrequency(m_image, i);
        NeedAnswer(link.WriteFrequencyRecord(quint8(i), record));
        // The radio keeps the records where the read finds them.
        w.Sent(records + quint32(i * mm::kPackedFrequencySize), record);
        companderExpanded =
            companderExpanded ||
            m_image.FrequencyNumber(i, vcp::FrequencyField("compander_lle_mode")) == 3;
        for (const auto& [at, percent] :
             {std::pair{n / 4, 40}, std::pair{n / 2, 50}, std::pair{3 * n / 4, 60}}) {
            if (i == at) {
                w.Progress(percent);
            }
        }
    }

    w.Progress(70);
    const mm::SBlock& compander = mm::Block("compander_option");
    const QByteArray option = w.Read(compander);
    w.Progress(80);
    if (quint8(option[0]) == 0x2F && companderExpanded) {
        w.Write(QByteArray(1, char(0x6F)), compander.address);
        NeedAnswer(link.MemoryControl(0, 0));
    }

    w.Progress(90);
    NeedAnswer(link.EndFrequencyTable(
        quint8(n), quint8(m_image.Number(vcp::ImageField("programming_mode_enabled")))));
    if (safety.verify) {
        Verify(w);
    }
    w.Progress(100);
}

void CRadioOperations::Verify(CWorker& w) {
    std::vector<std::pair<quint32, QByteArray>> blocks = w.SentBlocks();
    std::stable_sort(blocks.begin(), blocks.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    // Blocks that follow one another (the frequency records) are read back in one go.
    std::vector<std::pair<quint32, QByteArray>> spans;
    for (const auto& [address, bytes] : blocks) {
        if (!spans.empty() && spans.back().first + quint32(spans.back().second.size()) == address) {
            spans.back().second += bytes;
        } else {
            spans.emplace_back(address, bytes);
        }
    }
    for (const auto& [address, sent] : spans) {
        const QByteArray held = w.Read(address, int(sent.size()));
        for (qsizetype k = 0; k < sent.size(); ++k) {
            if (held[k] != sent[k]) {
                FailWith(op::kVerifyMismatch,
                         QStringLiteral("0x%1").arg(
                             QString::number(address + quint32(k), 16).toUpper()));
            }
        }
    }
}

void CRadioOperations::RunWrite(CWorker& w) {
    const SWriteSafety safety = WriteSafety();
    {
        const std::lock_guard lock(m_watch.ProtocolLock());
        ProgrammingLink& link = w.Link();
        // A start the radio did not take ends the transfer: its failure is the one told.
        if (!w.OnCable([&] { NeedAnswer(link.Start()); }, false, CWorker::EEnds::OnFailure)) {
            m_running.store(false);
        } else if (m_running.load()) {
            w.OnCable([&] { WriteSequence(w, safety); }, true, CWorker::EEnds::Never);
            ResetSteps(w);
        }
    }
    const QByteArray password = m_image.Raw(vcp::ImageField("password"));
    const qsizetype end = password.indexOf('\0');
    m_password.Set(QString::fromLatin1(end < 0 ? password : password.left(end)));
    w.Ending();
    Cleanup();
}

SOperationNotice CRadioOperations::FailureNotice(int result) const {
    const CStringTable& strings = CStringTable::Instance();
    QString detail;
    {
        const std::lock_guard guard(m_mutex);
        detail = m_failureDetail;
    }
    switch (result) {
        case op::kCommunicationFailure:
            return {op::kMsgCommunicationError, strings.Text(op::kMsgCommunicationError),
                    PromptStyle::Error};
        case op::kVerifyMismatch:
            return {op::kMsgVerifyMismatch, strings.Format(op::kMsgVerifyMismatch, {detail}),
                    PromptStyle::Error};
        case op::kBackupFailed:
            return {op::kMsgBackupFailed, strings.Format(op::kMsgBackupFailed, {detail}),
                    PromptStyle::Error};
        default:
            return {op::kMsgOperationFailed,
                    strings.Format(op::kMsgOperationFailed, {QString::number(result)}),
                    PromptStyle::Error};
    }
}

SOperationNotice CRadioOperations::StatusNotice(int statusCode) {
    int id = op::kMsgUnknownWarning;
    if (statusCode == 8) {
        id = op::kMsgFactoryReset;
    } else if (statusCode >= 1 && statusCode <= 31) {
        id = op::kMsgReturnToManufacturer;
    }
    return {id, QStringLiteral("%1: %2").arg(TextOf(op::kMsgWarning), TextOf(id)),
            PromptStyle::Warning};
}

SMainWindowReaction CRadioOperations::OnMainWindowMessage(int kind, int value) {
    SMainWindowReaction reaction;
    switch (kind) {
        case op::kProgress:
            m_progress.store(value);
            break;
        case op::kFinished:
            if (m_code.load() == OperationCode::Reset) {
                if (m_watch.Busy()) {
                    Cleanup();
                    reaction.cleanedUp = true;
                    reaction.pause = true;
                }
            } else if (m_code.load() == OperationCode::ReadIdentification ||
                       m_code.load() == OperationCode::WriteIdentification) {
                // A late kind 2 of an operation that already ended is not a second success.
                if (m_watch.Busy() && m_progress.load() == 100) {
                    m_progress.store(0);
                    reaction.runChecks = true;
                }
            }
            break;
        case op::kFailed:
            Cleanup();
            reaction.cleanedUp = true;
            reaction.notice = FailureNotice(value);
            break;
        case op::kStatusFault:
            Cleanup();
            reaction.cleanedUp = true;
            reaction.notice = StatusNotice(value);
            break;
        default:
            break;
    }
    return reaction;
}

SDialogReaction CRadioOperations::OnDialogMessage(int kind, int value, SDialogState& dialog) {
    SDialogReaction reaction;
    const DialogMode mode = m_mode.load();
    const bool reading = mode == DialogMode::Read;
    switch (kind) {
        case op::kProgress:
            if (mode == DialogMode::Read || mode == DialogMode::Write) {
                dialog.progressBar = value;
                reaction.progressBar = value;
            }
            break;
        case op::kFinished:
            if (dialog.progressBar == 100 && mode != DialogMode::None) {
                reaction.dialogTextId = reading ? op::kMsgReadSucceeded : op::kMsgWriteSucceeded;
                reaction.enableButton = true;
            }
            break;
        case op::kFailed:
            Stop();
            if (mode != DialogMode::None) {
                reaction.dialogTextId = reading ? op::kMsgReadFailed : op::kMsgWriteFailed;
            }
            if (!dialog.failureShown) {
                dialog.failureShown = true;
                reaction.notice = FailureNotice(value);
                m_mode.store(DialogMode::None);
                reaction.close = true;
            }
            break;
        case op::kStatusFault:
            Stop();
            Cleanup();
            reaction.cleanedUp = true;
            reaction.notice = StatusNotice(value);
            m_mode.store(DialogMode::None);
            reaction.close = true;
            break;
        default:
            break;
    }
    return reaction;
}
