// The radio operations end to end: workers, sequences and operation messages over the real serial
// path — cable layer, pseudo-terminal, simulator — with the simulator's memory file and its
// frame log as the witnesses of what reached the radio.

#include "radio/radio_operations.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "env_guard.h"
#include "model/settings_documents.h"
#include "platform/ipc/shared_status.h"
#include "platform/settings/configuration.h"
#include "radio/cable_watch.h"
#include "radio/memory_map.h"
#include "radio/radio_checks.h"
#include "radio/usb_cable.h"
#include "recording_prompt.h"
#include "sim_memory.h"
#include "sim_process.h"

#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;
using Message = std::pair<int, int>;
using Messages = std::vector<Message>;

constexpr quint32 kMemoryBase = 0x10000;

class CRecordingSink : public IOperationSink {
public:
    void PostOperation(int kind, int value) override {
        const std::lock_guard guard(m_mutex);
        m_messages.emplace_back(kind, value);
    }
    Messages Taken() const {
        const std::lock_guard guard(m_mutex);
        return m_messages;
    }

private:
    mutable std::mutex m_mutex;
    Messages m_messages;
};

// A window whose thread takes each message the moment it is posted, while the worker that posted
// it is held up for a while before it goes on (a loaded machine: the worker is not scheduled).
class CPromptWindow : public IOperationSink {
public:
    void PostOperation(int kind, int value) override {
        {
            const std::lock_guard guard(m_mutex);
            m_messages.emplace_back(kind, value);
        }
        m_posted.notify_all();
        if (kind != op::kProgress) {
            std::this_thread::sleep_for(milliseconds(300));
        }
    }
    // Waits for the first message that is not progress, and returns all taken so far.
    Messages WaitForEnd() {
        std::unique_lock lock(m_mutex);
        m_posted.wait_for(lock, std::chrono::seconds(60), [this] {
            return std::any_of(m_messages.begin(), m_messages.end(),
                               [](const Message& m) { return m.first != op::kProgress; });
        });
        return m_messages;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    Messages m_messages;
};

enum class Op { Identify, Reset, Read, Write };

QString TemplatePath(const QString& model) {
    return CConfiguration::FromEnvironment().GetInstallPath() +
           QStringLiteral("/profiletemplate/") + model + QStringLiteral(".vk4");
}

CVirtualCP TemplateImage(const QString& model) {
    QString error;
    const std::optional<CVirtualCP> image =
        sim::ImageFromProfile(CConfiguration::FromEnvironment(), TemplatePath(model), error);
    EXPECT_TRUE(image.has_value()) << qPrintable(error);
    return image.value_or(CVirtualCP{});
}

// The request frames of a simulator log, as bytes.
std::vector<QByteArray> Requests(const QByteArray& log) {
    std::vector<QByteArray> frames;
    for (const QByteArray& line : log.split('\n')) {
        if (line.startsWith("> ")) {
            // "> FF 10 00 01 EF  note": the hex bytes end at the double blank.
            const QByteArray hex = line.mid(2);
            const qsizetype end = hex.indexOf("  ");
            frames.push_back(QByteArray::fromHex(end < 0 ? hex : hex.left(end)));
        }
    }
    return frames;
}

quint32 WriteAddress(const QByteArray& frame) {
    return (quint32(quint8(frame[4])) << 16) | (quint32(quint8(frame[5])) << 8) |
           quint32(quint8(frame[6]));
}
bool IsMemoryWrite(const QByteArray& frame) {
    return frame.size() > 7 && quint8(frame[0]) == 0xFF && quint8(frame[1]) == 0x17;
}
// Memory writes that touch [from, from + n).
int WritesInto(const std::vector<QByteArray>& frames, quint32 from, int n) {
    int count = 0;
    for (const QByteArray& f : frames) {
        if (IsMemoryWrite(f)) {
            const quint32 a = WriteAddress(f);
            const quint32 length = quint8(f[3]) - 4u;
            count += a < from + quint32(n) && a + length > from ? 1 : 0;
        }
    }
    return count;
}

class RadioOperations : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_scratch.isValid());
        ASSERT_TRUE(QDir().mkpath(CableFolder()));
        qputenv("VESKCPS_CABLE_DIR", QFile::encodeName(CableFolder()));
        static std::atomic<int> counter{0};
        m_block = "/VeskCPSOpsTest." + QByteArray::number(::getpid()) + '.' +
                  QByteArray::number(counter.fetch_add(1));
        qputenv("VESKCPS_STATUS_BLOCK", m_block);
        m_watch = std::make_unique<CCableWatch>();
        m_ops = std::make_unique<CRadioOperations>(*m_watch);
        m_ops->SetPause([this](milliseconds ms) {
            const std::lock_guard guard(m_pauseMutex);
            m_pauses.push_back(ms);
        });
    }
    void TearDown() override {
        m_ops.reset();
        m_watch.reset();
        ipc::CSharedStatusBlock::Remove(m_block);
    }

    QString CableFolder() const { return m_scratch.filePath(QStringLiteral("cables")); }
    QString MemoryFile() const { return m_scratch.filePath(QStringLiteral("memory.bin")); }

    QStringList SimArgs(const QStringList& extra, const QString& memory = QString()) const {
        return QStringList{QStringLiteral("--fast"), QStringLiteral("--log"),
                           QStringLiteral("--memory"), memory.isEmpty() ? MemoryFile() : memory} +
               extra;
    }
    static QStringList From(const QString& model) {
        return {QStringLiteral("--from"), TemplatePath(model)};
    }

    QByteArray Memory(const QString& file = QString()) const {
        QFile f(file.isEmpty() ? MemoryFile() : file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray MemoryAt(quint32 address, int n) const {
        return Memory().mid(address - kMemoryBase, n);
    }
    // Changes the memory file while no simulator runs, as another programmer might have left it.
    void Patch(quint32 address, QByteArrayView bytes) const {
        QFile f(MemoryFile());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(address - kMemoryBase));
        ASSERT_EQ(f.write(bytes.data(), bytes.size()), bytes.size());
    }
    // A memory file of the template with nothing run against it yet.
    void Build(const QStringList& extra) {
        CSimProcess sim(CableFolder(), SimArgs(extra));
        ASSERT_TRUE(sim.Ready()) << qPrintable(sim.Error());
        ASSERT_EQ(sim.Stop(), 0);
    }

    std::uint32_t Slot2() const {
        const auto block = ipc::CSharedStatusBlock::OpenExisting(m_block);
        return block ? block->Load(ipc::CSharedStatusBlock::Transferring) : 0;
    }

    // Runs one operation against a simulator started with `args` and returns its messages; the
    // simulator's log is in m_log afterwards.
    Messages Run(Op op, const QStringList& args,
                 OperationCode code = OperationCode::ReadIdentification) {
        CSimProcess sim(CableFolder(), args);
        EXPECT_TRUE(sim.Ready()) << qPrintable(sim.Error());
        CUsbCable counter;
        EXPECT_EQ(counter.CountCables(), 1);
        CRecordingSink sink;
        bool started = false;
        switch (op) {
            case Op::Identify:
                started = m_ops->StartIdentification(code, sink);
                break;
            case Op::Reset:
                started = m_ops->StartReset(sink);
                break;
            case Op::Read:
            case Op::Write:
                // As after identification and the checks: the transfer is already marked.
                m_watch->BeginTransfer();
                started = op == Op::Read ? m_ops->StartRead(sink) : m_ops->StartWrite(sink);
                break;
        }
        EXPECT_TRUE(started);
        m_ops->Wait();
        sim.Stop();
        m_log = sim.Log();
        return sink.Taken();
    }

    Messages Write(const CVirtualCP& image, const QStringList& args) {
        m_ops->Image() = image;
        return Run(Op::Write, args);
    }
    CVirtualCP Read(const QStringList& args, Messages* messages = nullptr) {
        const Messages m = Run(Op::Read, args);
        if (messages != nullptr) {
            *messages = m;
        }
        return m_ops->Image();
    }

    CEnvGuard m_env{"VESKCPS_CABLE_DIR", "VESKCPS_STATUS_BLOCK"};
    QTemporaryDir m_scratch;
    QByteArray m_block;
    std::unique_ptr<CCableWatch> m_watch;
    std::unique_ptr<CRadioOperations> m_ops;
    std::mutex m_pauseMutex;
    std::vector<milliseconds> m_pauses;
    QByteArray m_log;
};

const Messages kReadMessages = {{1, 10}, {1, 20}, {1, 30},  {1, 40}, {1, 50},  {1, 60},
                                {1, 70}, {1, 80}, {1, 100}, {2, 0},  {1, 100}, {2, 0}};
const Messages kWriteMessages = {{1, 10}, {1, 20}, {1, 30},  {1, 40}, {1, 50},  {1, 60}, {1, 70},
                                 {1, 80}, {1, 90}, {1, 100}, {2, 0},  {1, 100}, {2, 0}};

// ---------------------------------------------------------------------------------------------
// Identification.

struct SIdentifyRow {
    const char* name;
    const char* firmware;
    const char* model;
    const char* password;
    int serialClone;
    int codeCapacity;  // what identification must find, given --code-capacity 213
};
void PrintTo(const SIdentifyRow& row, std::ostream* os) {
    *os << row.name;
}

class Identification : public RadioOperations,
                       public ::testing::WithParamInterface<SIdentifyRow> {};

TEST_P(Identification, FillsTheRadioInformationRecord) {
    const SIdentifyRow& row = GetParam();
    const Messages messages =
        Run(Op::Identify,
            SimArgs(From(QStringLiteral("CUD41604")) +
                    QStringList{QStringLiteral("--firmware"), QLatin1String(row.firmware),
                                QStringLiteral("--model"), QLatin1String(row.model),
                                QStringLiteral("--password"), QLatin1String(row.password),
                                QStringLiteral("--serial-clone"), QString::number(row.serialClone),
                                QStringLiteral("--code-capacity"), QStringLiteral("213")}),
            OperationCode::WriteIdentification);
    EXPECT_EQ(messages, (Messages{{1, 20}, {1, 40}, {1, 60}, {1, 80}, {1, 100}, {2, 0}}));
    EXPECT_EQ(m_ops->Code(), OperationCode::WriteIdentification);

    const CRadioInfo& info = m_ops->RadioInfo();
    QByteArray model = QByteArray(row.model).left(3);
    for (const char c : QByteArray(row.model).mid(3)) {
        model.append(char(c - '0'));
    }
    EXPECT_EQ(info.Raw(vcp::RadioInfoField("model")).toHex(), model.toHex());
    EXPECT_EQ(info.Number(vcp::RadioInfoField("firmware_phase")), quint32(quint8(row.firmware[0])));
    EXPECT_EQ(info.Number(vcp::RadioInfoField("firmware_version")),
              quint32(quint8(row.firmware[1])));
    EXPECT_EQ(info.Number(vcp::RadioInfoField("firmware_revision")),
              quint32(quint8(row.firmware[2] != 0 ? row.firmware[2] : '0')));
    EXPECT_EQ(info.Raw(vcp::RadioInfoField("password")),
              QByteArray(row.password).leftJustified(4, '\0'));
    EXPECT_EQ(info.Number(vcp::RadioInfoField("serial_clone_compatibility")),
              quint32(row.serialClone));
    EXPECT_EQ(info.Number(vcp::RadioInfoField("code_capacity")), quint32(row.codeCapacity));
    // What no option sets comes from the radio's own blocks.
    const QByteArray identity = MemoryAt(0x10E22, 10);
    EXPECT_EQ(info.Number(vcp::RadioInfoField("codeplug_phase")), quint32(quint8(identity[8])));
    EXPECT_EQ(info.Number(vcp::RadioInfoField("codeplug_version")), quint32(quint8(identity[9])));
    EXPECT_EQ(info.Number(vcp::RadioInfoField("block_10A92_first")),
              quint32(quint8(MemoryAt(0x10A92, 1)[0])));
    // Identification leaves the transfer marked: the checks come next.
    EXPECT_TRUE(m_watch->Busy());
    EXPECT_EQ(Slot2(), 1u);
}

// 213 is 0xD5: the newer layout keeps the whole byte, the older one its low seven bits (0x55).
const SIdentifyRow kIdentifyRows[] = {
    {"R17_newer_layout", "R17", "CUD41604", "1234", 5, 213},
    {"R16_older_layout", "R16", "CUR40201", "", 7, 0x55},
    {"D7_newer_layout", "D7", "CVR50200", "9", 0, 213},
    {"D8_older_layout", "D8", "CVD51600", "0042", 255, 0x55},
    {"R20_older_layout", "R20", "CUD41670", "12", 1, 0x55},
};
INSTANTIATE_TEST_SUITE_P(Firmware, Identification, ::testing::ValuesIn(kIdentifyRows),
                         [](const ::testing::TestParamInfo<SIdentifyRow>& rowInfo) {
                             return std::string(rowInfo.param.name);
                         });

struct SStatusRow {
    const char* name;
    Op op;
    int status;
};
void PrintTo(const SStatusRow& row, std::ostream* os) {
    *os << row.name;
}
class StatusGate : public RadioOperations, public ::testing::WithParamInterface<SStatusRow> {};

// The radio's fault ends the worker with kind 4 before any memory is touched.
TEST_P(StatusGate, AStatusFaultEndsTheWorkerWithKind4) {
    const SStatusRow& row = GetParam();
    Build(From(QStringLiteral("CUD41604")));
    const QByteArray before = Memory();
    m_ops->Image() = TemplateImage(QStringLiteral("CUD41604"));
    const Messages messages =
        Run(row.op, SimArgs({QStringLiteral("--status-code"), QString::number(row.status)}));
    ASSERT_FALSE(messages.empty());
    const auto fault = std::find(messages.begin(), messages.end(), Message{4, row.status & 0x1F});
    EXPECT_NE(fault, messages.end()) << ::testing::PrintToString(messages);
    if (row.op == Op::Identify) {
        EXPECT_EQ(messages, (Messages{{4, row.status & 0x1F}}));
    } else {
        // The transfer still ends with its reset, and the worker cleans up.
        EXPECT_EQ(Requests(m_log).back().toHex(), QByteArray("ff100001ef"));
        EXPECT_FALSE(m_watch->Busy());
        EXPECT_EQ(Slot2(), 0u);
    }
    EXPECT_EQ(WritesInto(Requests(m_log), 0x10000, 0x20000), 0);
    EXPECT_EQ(Memory(), before);
}
const SStatusRow kStatusRows[] = {
    {"identify_8", Op::Identify, 8},
    {"identify_3", Op::Identify, 3},
    {"read_8", Op::Read, 8},
    {"write_31", Op::Write, 31},
};
INSTANTIATE_TEST_SUITE_P(Codes, StatusGate, ::testing::ValuesIn(kStatusRows),
                         [](const ::testing::TestParamInfo<SStatusRow>& rowInfo) {
                             return std::string(rowInfo.param.name);
                         });

// ---------------------------------------------------------------------------------------------
// Reset.

TEST_F(RadioOperations, ResetSendsTheResetPausesAndFinishes) {
    const Messages messages = Run(Op::Reset, SimArgs(From(QStringLiteral("CUD41604"))));
    EXPECT_EQ(messages, (Messages{{1, 100}, {2, 0}}));
    EXPECT_EQ(m_pauses, (std::vector<milliseconds>{milliseconds(2000)}));
    ASSERT_EQ(Requests(m_log).size(), 1u);
    EXPECT_EQ(Requests(m_log)[0].toHex(), QByteArray("ff100001ef"));
    // The link's count: five bytes out, their echo and the acknowledgement back.
    const ProgrammingLink::STraffic traffic = m_ops->LastTraffic();
    EXPECT_EQ(traffic.requests, 1);
    EXPECT_EQ(traffic.bytesWritten, 5);
    EXPECT_EQ(traffic.bytesRead, 6);
    EXPECT_EQ(m_ops->Code(), OperationCode::Reset);
    // The main window cleans up on the kind 2 of a reset.
    EXPECT_TRUE(m_watch->Busy());
    const SMainWindowReaction reaction = m_ops->OnMainWindowMessage(2, 0);
    EXPECT_TRUE(reaction.cleanedUp);
    EXPECT_TRUE(reaction.pause);
    EXPECT_FALSE(m_watch->Busy());
    EXPECT_EQ(Slot2(), 0u);
}

TEST_F(RadioOperations, WithoutACableEveryWorkerFailsWithACommunicationFailure) {
    CRecordingSink sink;
    ASSERT_TRUE(m_ops->StartReset(sink));
    m_ops->Wait();
    ASSERT_TRUE(m_ops->StartIdentification(OperationCode::ReadIdentification, sink));
    m_ops->Wait();
    EXPECT_EQ(sink.Taken(), (Messages{{3, -1}, {3, -1}}));
    EXPECT_TRUE(m_pauses.empty());
    EXPECT_FALSE(m_ops->StartIdentification(OperationCode::Reset, sink));
}

// ---------------------------------------------------------------------------------------------
// Read.

// The image a radio programmed with `image` gives back. A radio does not carry the tone words
// beyond its code capacity (a read leaves them unset), keeps its own button slots and channel
// records beyond its channel capacity, computes the channel check bytes itself, and a model without
// a repeater cannot have the feature disabled.
CVirtualCP AsRead(CVirtualCP image, const CVirtualCP& read) {
    const quint32 codes = image.Number(vcp::ImageField("maxCodes"));
    for (int k = 0; k < vcp::kToneCount; ++k) {
        const bool carried = k < 6 ? codes > mm::kFirstToneCodes : codes > mm::kSecondToneCodes;
        if (!carried) {
            image.SetByte(vcp::kToneBase + 2 * k, 0xFF);
            image.SetByte(vcp::kToneBase + 2 * k + 1, 0xFF);
        }
    }
    for (int slot = 0; slot < vcp::kButtonSlotCount; ++slot) {
        const bool profiles =
            std::any_of(vcp::kButtonSlots.begin(), vcp::kButtonSlots.end(),
                        [slot](const vcp::SButtonSlot& b) { return b.slot == slot; });
        if (!profiles) {
            image.SetButtonSlot(slot, read.ButtonSlot(slot));
        }
    }
    // Records past the radio's channel capacity are the radio's own, never programmed.
    const int channels = int(image.Number(vcp::ImageField("maxChannels")));
    for (int n = 0; n < vcp::kChannelCount; ++n) {
        for (const vcp::SField& field : vcp::kChannelFields) {
            if (n >= channels || field.name == "check_byte") {
                image.SetChannelRaw(n, field, read.ChannelRaw(n, field));
            }
        }
    }
    const int model = vcp::ImageField("model").offset;
    if ((image.Byte(model + 3) == 4 || image.Byte(model + 3) == 5) &&
        image.Byte(model + 2) != 'D') {
        image.SetNumber(vcp::ImageField("disable_repeater_feature"), 0);
    }
    return image;
}

class ReadTemplates : public RadioOperations, public ::testing::WithParamInterface<const char*> {};

TEST_P(ReadTemplates, GivesTheImageOfTheTemplateTheRadioWasBuiltFrom) {
    const QString model = QLatin1String(GetParam());
    Messages messages;
    const CVirtualCP read = Read(SimArgs(From(model)), &messages);
    EXPECT_EQ(messages, kReadMessages);
    const CVirtualCP expected = AsRead(TemplateImage(model), read);
    for (int n = 0; n < vcp::kChannelCount; ++n) {
        for (const vcp::SField& field : vcp::kChannelFields) {
            EXPECT_EQ(read.ChannelRaw(n, field).toHex(), expected.ChannelRaw(n, field).toHex())
                << "channel " << n << ' ' << std::string(field.name);
        }
    }
    for (const vcp::SField& field : vcp::kImageFields) {
        EXPECT_EQ(read.Raw(field).toHex(), expected.Raw(field).toHex()) << std::string(field.name);
    }
    // The start request opens, the reset closes, and the transfer is over.
    const std::vector<QByteArray> frames = Requests(m_log);
    EXPECT_EQ(frames.front().toHex(), QByteArray("f22216d5"));
    EXPECT_EQ(frames.back().toHex(), QByteArray("ff100001ef"));
    EXPECT_FALSE(m_watch->Busy());
    EXPECT_EQ(Slot2(), 0u);
    EXPECT_EQ(m_pauses, (std::vector<milliseconds>{milliseconds(2000)}));
}
INSTANTIATE_TEST_SUITE_P(Templates, ReadTemplates,
                         ::testing::Values("CUD41604", "CUR40201", "CVR50200", "CVD51600",
                                           "CUR40800"));

TEST_F(RadioOperations, AnEmptyFrequencyTableFailsTheReadWithResult0) {
    Build(From(QStringLiteral("CUD41604")));
    Patch(0x10A92, QByteArray(1, '\0'));
    Messages messages;
    Read(SimArgs({}), &messages);
    EXPECT_EQ(messages, (Messages{{1, 10},
                                  {1, 20},
                                  {1, 30},
                                  {1, 40},
                                  {1, 50},
                                  {1, 60},
                                  {1, 70},
                                  {3, 0},
                                  {1, 100},
                                  {2, 0}}));
    EXPECT_EQ(Requests(m_log).back().toHex(), QByteArray("ff100001ef"));
}

// ---------------------------------------------------------------------------------------------
// Write.

// A template's image with something changed in every kind of block the write sends.
CVirtualCP Edited(const QString& model) {
    CVirtualCP image = TemplateImage(model);
    image.SetNumber(vcp::ImageField("timeoutTimer"), 60);
    image.SetNumber(vcp::ImageField("vox_level"), 1);
    image.SetChannelRaw(0, vcp::ChannelField("name"), "EDITED");
    image.SetChannelNumber(1, vcp::ChannelField("rx_code"), 7);
    image.SetFrequencyNumber(0, vcp::FrequencyField("power_level"), 2);
    image.SetFrequencyHz(1, 462'562'500);
    return image;
}

TEST_F(RadioOperations, WriteThenReadGivesTheImageBack) {
    Build(From(QStringLiteral("CUD41604")));
    const CVirtualCP radio = Read(SimArgs({}));
    CVirtualCP edited = radio;
    edited.SetNumber(vcp::ImageField("timeoutTimer"), 60);
    edited.SetNumber(vcp::ImageField("vox_level"), 1);
    edited.SetChannelRaw(0, vcp::ChannelField("name"), "EDITED");
    edited.SetChannelNumber(1, vcp::ChannelField("rx_code"), 7);
    edited.SetFrequencyNumber(0, vcp::FrequencyField("power_level"), 2);
    edited.SetFrequencyHz(1, 462'562'500);
    ASSERT_NE(edited.ToByteArray(), radio.ToByteArray());

    EXPECT_EQ(Write(edited, SimArgs({})), kWriteMessages);
    EXPECT_FALSE(m_watch->Busy());
    EXPECT_EQ(Slot2(), 0u);
    const CVirtualCP back = Read(SimArgs({}));
    // The channel's check byte is the radio's, recomputed by the write.
    CVirtualCP expected = edited;
    expected.SetChannelRaw(0, vcp::ChannelField("check_byte"),
                           back.ChannelRaw(0, vcp::ChannelField("check_byte")));
    expected.SetChannelRaw(1, vcp::ChannelField("check_byte"),
                           back.ChannelRaw(1, vcp::ChannelField("check_byte")));
    for (const vcp::SField& field : vcp::kImageFields) {
        EXPECT_EQ(back.Raw(field).toHex(), expected.Raw(field).toHex()) << std::string(field.name);
    }
    EXPECT_EQ(m_ops->RememberedPassword().Get(),
              QString::fromLatin1(edited.Raw(vcp::ImageField("password"))).remove(QChar(0)));
}

TEST_F(RadioOperations, WriteEndsTheFrequencyTableWithItsSizeAndTheProgrammingFlag) {
    Build(From(QStringLiteral("CUD41604")));
    CVirtualCP image = Read(SimArgs({}));
    image.SetNumber(vcp::ImageField("max_valid_freqs"), 9);
    image.SetNumber(vcp::ImageField("programming_mode_enabled"), 1);
    const Messages messages = Write(image, SimArgs({}));
    // Nine records: 40 at record 2, 50 at 4, 60 at 6.
    EXPECT_EQ(messages, kWriteMessages);
    const std::vector<QByteArray> frames = Requests(m_log);
    int records = 0;
    for (const QByteArray& f : frames) {
        records += f.startsWith(QByteArray::fromHex("ff9a000904")) ? 1 : 0;
    }
    EXPECT_EQ(records, 9);
    const QByteArray end = QByteArray::fromHex("f49a0509");
    const auto last = std::find_if(frames.begin(), frames.end(),
                                   [&end](const QByteArray& f) { return f.startsWith(end); });
    ASSERT_NE(last, frames.end());
    EXPECT_EQ(last->left(5).toHex(), (end + char(1)).toHex());
    // After it only the reading back of what was written, and the reset.
    for (auto f = last + 1; f + 1 < frames.end(); ++f) {
        EXPECT_EQ(f->left(2).toHex(), QByteArray("ff11"));
    }
    EXPECT_EQ(frames.back().toHex(), QByteArray("ff100001ef"));
}

struct SProgressRow {
    int frequencies;
    Messages progress;
};
class FrequencyProgress : public RadioOperations,
                          public ::testing::WithParamInterface<SProgressRow> {};

TEST_P(FrequencyProgress, MarksAQuarterHalfAndThreeQuartersOfTheRecords) {
    const SProgressRow& row = GetParam();
    Build(From(QStringLiteral("CUD41604")));
    CVirtualCP image = TemplateImage(QStringLiteral("CUD41604"));
    image.SetNumber(vcp::ImageField("max_valid_freqs"), quint32(row.frequencies));
    const Messages messages = Write(image, SimArgs({}));
    Messages progress;
    for (const Message& m : messages) {
        if (m.first == 1 && m.second > 30 && m.second < 70) {
            progress.push_back(m);
        }
    }
    EXPECT_EQ(progress, row.progress);
}
INSTANTIATE_TEST_SUITE_P(Counts, FrequencyProgress,
                         ::testing::Values(SProgressRow{0, {}},
                                           SProgressRow{1, {{1, 40}, {1, 50}, {1, 60}}},
                                           SProgressRow{4, {{1, 40}, {1, 50}, {1, 60}}},
                                           SProgressRow{99, {{1, 40}, {1, 50}, {1, 60}}}));

struct SR16Row {
    const char* name;
    const char* model;
    const char* firmware;
    int parameterImage;  // 0 none, 1 A, 2 B
    bool step;
};
void PrintTo(const SR16Row& row, std::ostream* os) {
    *os << row.name;
}
class FirmwareR16 : public RadioOperations, public ::testing::WithParamInterface<SR16Row> {};

TEST_P(FirmwareR16, StepChangesTheRadioOnlyWhereItMust) {
    const SR16Row& row = GetParam();
    const QString model = QLatin1String(row.model);
    // A memory file does not say which firmware runs: every start of the radio names it.
    const QStringList firmware{QStringLiteral("--firmware"), QLatin1String(row.firmware)};
    Build(From(model) + firmware);
    // A radio whose parameter block is not yet the one its model needs.
    Patch(0x10C9C, QByteArray(mm::kParameterImageSize, '\0'));
    const QByteArray before = Memory();
    const CVirtualCP image = Read(SimArgs(firmware));
    ASSERT_EQ(Write(image, SimArgs(firmware)), kWriteMessages);
    const QByteArray after = Memory();
    const std::vector<QByteArray> frames = Requests(m_log);

    const quint8 limit = quint8(before[0x10A99 - kMemoryBase]);
    const QByteArray parameters = after.mid(0x10C9C - kMemoryBase, mm::kParameterImageSize);
    if (row.step) {
        EXPECT_EQ(quint8(after[0x10A99 - kMemoryBase]), mm::RepeaterLimitToWrite(limit));
        EXPECT_EQ(after.mid(0x20466 - kMemoryBase, 2).toHex(), QByteArray("0000"));
        int controls = 0;
        for (const QByteArray& f : frames) {
            controls += f.startsWith(QByteArray::fromHex("ff3800051f04")) ? 1 : 0;
        }
        EXPECT_EQ(controls, 1);
    } else {
        EXPECT_EQ(after[0x10A99 - kMemoryBase], before[0x10A99 - kMemoryBase]);
        EXPECT_EQ(after.mid(0x20466 - kMemoryBase, 2), before.mid(0x20466 - kMemoryBase, 2));
        EXPECT_EQ(WritesInto(frames, 0x20466, 2), 0);
    }
    if (row.parameterImage == 0) {
        EXPECT_EQ(parameters, before.mid(0x10C9C - kMemoryBase, mm::kParameterImageSize));
        EXPECT_EQ(WritesInto(frames, 0x10C9C, mm::kParameterImageSize), 0);
        return;
    }
    const auto& wanted = row.parameterImage == 1 ? mm::ParameterImageA() : mm::ParameterImageB();
    EXPECT_EQ(
        parameters.toHex(),
        QByteArray(reinterpret_cast<const char*>(wanted.data()), mm::kParameterImageSize).toHex());
    EXPECT_GT(WritesInto(frames, 0x10C9C, mm::kParameterImageSize), 0);

    // A radio that already holds the image is not written again.
    ASSERT_EQ(Write(image, SimArgs(firmware)), kWriteMessages);
    EXPECT_EQ(WritesInto(Requests(m_log), 0x10C9C, mm::kParameterImageSize), 0)
        << m_log.constData();
    EXPECT_EQ(Memory(), after);
}
const SR16Row kR16Rows[] = {
    {"CVR5_R16_image_A", "CVR50200", "R16", 1, true},
    {"CUR4_R16_image_B", "CUR40201", "R16", 2, true},
    {"CVR5_R17_no_step", "CVR50200", "R17", 0, false},
    {"CUD4_R16_display_no_step", "CUD41604", "R16", 0, false},
};
INSTANTIATE_TEST_SUITE_P(Models, FirmwareR16, ::testing::ValuesIn(kR16Rows),
                         [](const ::testing::TestParamInfo<SR16Row>& rowInfo) {
                             return std::string(rowInfo.param.name);
                         });

struct SCompanderRow {
    const char* name;
    quint8 flag;
    bool expanded;  // some record with compander mode 3
    quint8 after;
};
void PrintTo(const SCompanderRow& row, std::ostream* os) {
    *os << row.name;
}
class Compander : public RadioOperations, public ::testing::WithParamInterface<SCompanderRow> {};

TEST_P(Compander, FlagIsRaisedOnlyForAnExpandedRecordOnARadioThatAsks) {
    const SCompanderRow& row = GetParam();
    Build(From(QStringLiteral("CUD41604")));
    Patch(0x10C8E, QByteArray(1, char(row.flag)));
    CVirtualCP image = TemplateImage(QStringLiteral("CUD41604"));
    const int n = int(image.Number(vcp::ImageField("max_valid_freqs")));
    ASSERT_GT(n, 2);
    for (int i = 0; i < n; ++i) {
        image.SetFrequencyNumber(i, vcp::FrequencyField("compander_lle_mode"),
                                 row.expanded && i == n - 1 ? 3 : 1);
    }
    ASSERT_EQ(Write(image, SimArgs({})), kWriteMessages);
    EXPECT_EQ(quint8(MemoryAt(0x10C8E, 1)[0]), row.after);
    const std::vector<QByteArray> frames = Requests(m_log);
    const bool raised = row.after != row.flag;
    EXPECT_EQ(WritesInto(frames, 0x10C8E, 1), raised ? 1 : 0);
    // The memory control (0, 0) that makes the radio take it follows the flag's write.
    const auto write = std::find_if(frames.begin(), frames.end(), [](const QByteArray& f) {
        return IsMemoryWrite(f) && WriteAddress(f) == 0x10C8E;
    });
    if (raised) {
        ASSERT_NE(write, frames.end());
        ASSERT_NE(write + 1, frames.end());
        EXPECT_EQ((write + 1)->left(7).toHex(), QByteArray("ff3800051f0000"));
    }
}
const SCompanderRow kCompanderRows[] = {
    {"asked_and_expanded", 0x2F, true, 0x6F},
    {"asked_not_expanded", 0x2F, false, 0x2F},
    {"not_asked_expanded", 0x91, true, 0x91},
};
INSTANTIATE_TEST_SUITE_P(Flags, Compander, ::testing::ValuesIn(kCompanderRows),
                         [](const ::testing::TestParamInfo<SCompanderRow>& rowInfo) {
                             return std::string(rowInfo.param.name);
                         });

// ---------------------------------------------------------------------------------------------
// Faults.

struct SFaultRow {
    const char* name;
    Op op;
    const char* fault;
};
void PrintTo(const SFaultRow& row, std::ostream* os) {
    *os << row.name;
}
class OperationFaults : public RadioOperations, public ::testing::WithParamInterface<SFaultRow> {};

// Frames of a read: start 1, status 2, identity 3, synthesizer 4, firmware 5, limits 6, serial
// clone 7, main block 8..20. Of a write: start 1, status 2, read-back 3..15, main block 16..28.
TEST_P(OperationFaults, EndInKind3WithTheResetSentAndARepairingWriteAfterwards) {
    const SFaultRow& row = GetParam();
    const QString model = QStringLiteral("CUR40201");
    const QStringList r16{QStringLiteral("--firmware"), QStringLiteral("R16")};
    CVirtualCP image = Edited(model);
    // As the checks leave it: the radio's firmware, so that the R16 step runs too.
    image.SetByte(0, 'R');
    image.SetByte(1, '1');
    image.SetByte(2, '6');

    // The memory of the same radio written without faults.
    const QString reference = m_scratch.filePath(QStringLiteral("reference.bin"));
    {
        CSimProcess sim(CableFolder(), SimArgs(From(model) + r16, reference));
        ASSERT_TRUE(sim.Ready()) << qPrintable(sim.Error());
        ASSERT_EQ(sim.Stop(), 0);
    }
    m_ops->Image() = image;
    ASSERT_EQ(Run(Op::Write, SimArgs(r16, reference)), kWriteMessages);

    Build(From(model) + r16);
    const QByteArray before = Memory();
    m_ops->Image() = image;
    const Messages messages = Run(
        row.op, SimArgs(r16 + QStringList{QStringLiteral("--fault"), QLatin1String(row.fault)}));
    const auto failed = std::find(messages.begin(), messages.end(), Message{3, -1});
    ASSERT_NE(failed, messages.end()) << ::testing::PrintToString(messages);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), Message{2, 0}),
              std::count(failed, messages.end(), Message{2, 0}))
        << "no success before the failure";
    EXPECT_EQ(Requests(m_log).back().toHex(), QByteArray("ff100001ef")) << m_log.constData();
    EXPECT_FALSE(m_watch->Busy());
    EXPECT_EQ(Slot2(), 0u);
    if (row.op == Op::Read) {
        EXPECT_EQ(Memory(), before);
        return;
    }
    m_ops->Image() = image;
    ASSERT_EQ(Run(Op::Write, SimArgs(r16)), kWriteMessages);
    EXPECT_EQ(Memory(), Memory(reference));
}
const SFaultRow kFaultRows[] = {
    {"read_silence", Op::Read, "silence@8+"},
    {"read_garbage", Op::Read, "garbage@8+"},
    {"read_drop", Op::Read, "drop@12+"},
    {"read_checksum", Op::Read, "checksum@5+"},
    {"read_truncate", Op::Read, "truncate@20+"},
    {"write_silence", Op::Write, "silence@17+"},
    {"write_garbage", Op::Write, "garbage@16+"},
    {"write_drop", Op::Write, "drop@20+"},
    {"write_checksum", Op::Write, "checksum@3+"},
    {"write_truncate", Op::Write, "truncate@22+"},
    {"write_refuse", Op::Write, "refuse@18+"},
    {"write_refuse_r16_step", Op::Write, "refuse@32+"},
};
INSTANTIATE_TEST_SUITE_P(AllFaults, OperationFaults, ::testing::ValuesIn(kFaultRows),
                         [](const ::testing::TestParamInfo<SFaultRow>& rowInfo) {
                             return std::string(rowInfo.param.name);
                         });

// A radio that keeps other bytes than it was sent, while answering as if it took them: the write
// reads back everything it wrote and fails, naming the first address the radio holds otherwise,
// and still ends with the reset. Without the reading back the same write is told as a success.
TEST_F(RadioOperations, VerifyNamesTheFirstAddressTheRadioHoldsOtherwise) {
    const struct {
        const char* name;
        const char* fault;  // frames of a write: main block 16..28, frequency record i at 30 + i
        const char* address;
    } rows[] = {
        {"main block, first chunk", "corrupt@16", "0x1001F"},
        {"main block, last chunk", "corrupt@28", "0x10199"},
        {"frequency record 2", "corrupt@32", "0x10811"},
    };
    const CVirtualCP image = TemplateImage(QStringLiteral("CUD41604"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Build(From(QStringLiteral("CUD41604")));
        m_ops->Image() = image;
        const Messages messages =
            Run(Op::Write, SimArgs({QStringLiteral("--fault"), QLatin1String(row.fault)}));
        EXPECT_EQ(messages, (Messages{{1, 10},
                                      {1, 20},
                                      {1, 30},
                                      {1, 40},
                                      {1, 50},
                                      {1, 60},
                                      {1, 70},
                                      {1, 80},
                                      {1, 90},
                                      {3, op::kVerifyMismatch},
                                      {1, 100},
                                      {2, 0}}));
        EXPECT_EQ(Requests(m_log).back().toHex(), QByteArray("ff100001ef"));
        SDialogState dialog;
        m_ops->OnDialogMessage(1, 90, dialog);
        const SDialogReaction failed = m_ops->OnDialogMessage(3, op::kVerifyMismatch, dialog);
        EXPECT_EQ(failed.dialogTextId, op::kMsgWriteFailed);
        EXPECT_EQ(failed.notice.messageId, op::kMsgVerifyMismatch);
        EXPECT_EQ(failed.notice.text,
                  QStringLiteral("Verification failed: the radio's memory at %1 differs from what "
                                 "was written. Please write again.")
                      .arg(QLatin1String(row.address)));
    }

    m_ops->SetWriteSafety({nullptr, false});
    Build(From(QStringLiteral("CUD41604")));
    m_ops->Image() = image;
    EXPECT_EQ(Run(Op::Write, SimArgs({QStringLiteral("--fault"), QStringLiteral("corrupt@16")})),
              kWriteMessages);
}

// A start request the radio does not take ends the transfer there: one failure, nothing more
// sent (no sequence, no reset), the radio untouched and the operation handed back.
TEST_F(RadioOperations, AFailedStartEndsTheTransferWithOneFailure) {
    Build(From(QStringLiteral("CUD41604")));
    const QByteArray before = Memory();
    // Both attempts of the start request come back garbled; the radio would answer all else.
    const QStringList garbledStart{QStringLiteral("--fault"), QStringLiteral("garbage@1"),
                                   QStringLiteral("--fault"), QStringLiteral("garbage@2")};
    for (const Op op : {Op::Read, Op::Write}) {
        SCOPED_TRACE(op == Op::Read ? "read" : "write");
        m_ops->Image() = TemplateImage(QStringLiteral("CUD41604"));
        EXPECT_EQ(Run(op, SimArgs(garbledStart)), (Messages{{3, -1}}));
        const std::vector<QByteArray> frames = Requests(m_log);
        EXPECT_EQ(frames.size(), 2u) << m_log.constData();
        EXPECT_EQ(std::count(frames.begin(), frames.end(), QByteArray::fromHex("f22216d5")), 2)
            << m_log.constData();
        EXPECT_FALSE(m_watch->Busy());
        EXPECT_EQ(Slot2(), 0u);
        EXPECT_EQ(Memory(), before);
    }
}

// The radio's cable is found again at every open: between a count and the operation the radio
// was re-plugged, and another serial converter now comes first in the device list. The operation
// must reach the radio that is there, and nothing else.
TEST_F(RadioOperations, EveryOpenFindsTheCableThatIsThereThen) {
    const QString converterMemory = m_scratch.filePath(QStringLiteral("converter.bin"));
    const QString oldMemory = m_scratch.filePath(QStringLiteral("old.bin"));
    auto before = std::make_unique<CSimProcess>(
        CableFolder(), SimArgs({QStringLiteral("--cable"), QStringLiteral("b_radio")}, oldMemory));
    ASSERT_TRUE(before->Ready()) << qPrintable(before->Error());
    CUsbCable counter;
    ASSERT_EQ(counter.CountCables(), 1);

    // Something that answers like a radio but is not a programming cable, listed first.
    CSimProcess converter(
        CableFolder(), SimArgs({QStringLiteral("--cable"), QStringLiteral("a_converter"),
                                QStringLiteral("--description"), QStringLiteral("FT232R USB UART")},
                               converterMemory));
    ASSERT_TRUE(converter.Ready()) << qPrintable(converter.Error());
    CSimProcess radio(CableFolder(),
                      SimArgs({QStringLiteral("--cable"), QStringLiteral("c_radio")}));
    ASSERT_TRUE(radio.Ready()) << qPrintable(radio.Error());
    before.reset();

    CRecordingSink sink;
    ASSERT_TRUE(m_ops->StartIdentification(OperationCode::ReadIdentification, sink));
    m_ops->Wait();
    EXPECT_EQ(sink.Taken(), (Messages{{1, 20}, {1, 40}, {1, 60}, {1, 80}, {1, 100}, {2, 0}}));
    converter.Stop();
    radio.Stop();
    EXPECT_EQ(converter.RequestsLogged(), 0) << converter.Log().constData();
    EXPECT_EQ(radio.RequestsLogged(), 7) << radio.Log().constData();
}

// Read and write are started by the checks as soon as identification has told its end, even when
// the identification worker is still letting go of the cable and the lock then.
TEST_F(RadioOperations, TransferStartsRightAfterIdentificationEnds) {
    Build(From(QStringLiteral("CUD41604")));
    CSimProcess sim(CableFolder(), SimArgs({}));
    ASSERT_TRUE(sim.Ready()) << qPrintable(sim.Error());
    for (const Op op : {Op::Read, Op::Write}) {
        SCOPED_TRACE(op == Op::Read ? "read" : "write");
        CPromptWindow window;
        ASSERT_TRUE(m_ops->StartIdentification(
            op == Op::Read ? OperationCode::ReadIdentification : OperationCode::WriteIdentification,
            window));
        ASSERT_EQ(window.WaitForEnd().back(), (Message{2, 0}));
        CRecordingSink transfer;
        EXPECT_TRUE(op == Op::Read ? m_ops->StartRead(transfer) : m_ops->StartWrite(transfer));
        m_ops->Wait();
        EXPECT_EQ(transfer.Taken(), op == Op::Read ? kReadMessages : kWriteMessages);
    }
}

// The password this program has just written into the radio is the one it remembers: the next
// operation on that radio does not ask for it.
TEST_F(RadioOperations, APasswordJustWrittenIsNotAskedForAgain) {
    Build(From(QStringLiteral("CUD41604")) +
          QStringList{QStringLiteral("--password"), QStringLiteral("1234")});
    CRecordingPrompt prompt;
    CSettingsDocuments settings;
    ASSERT_TRUE(settings.LoadProfileDocuments(CConfiguration::FromEnvironment(), prompt));
    CSimProcess sim(CableFolder(), SimArgs({}));
    ASSERT_TRUE(sim.Ready()) << qPrintable(sim.Error());
    const auto identifiedAndChecked = [&](radio_checks::IPasswordPrompt& passwords) {
        CRecordingSink sink;
        EXPECT_TRUE(m_ops->StartIdentification(OperationCode::ReadIdentification, sink));
        m_ops->Wait();
        return radio_checks::CheckRadioForRead({m_ops->RadioInfo(), settings, prompt, passwords,
                                                m_ops->RememberedPassword(),
                                                [this] { m_ops->Cleanup(); }});
    };

    radio_checks::CFixedPasswordPrompt given(QStringLiteral("1234"));
    ASSERT_TRUE(identifiedAndChecked(given));
    EXPECT_EQ(given.TimesAsked(), 1);
    m_ops->Cleanup();

    // A write gives the radio the image's password.
    CVirtualCP image = TemplateImage(QStringLiteral("CUD41604"));
    image.SetRaw(vcp::ImageField("password"), "5678");
    m_ops->Image() = image;
    m_watch->BeginTransfer();
    CRecordingSink sink;
    ASSERT_TRUE(m_ops->StartWrite(sink));
    m_ops->Wait();
    ASSERT_EQ(sink.Taken(), kWriteMessages);

    radio_checks::CFixedPasswordPrompt none;
    EXPECT_TRUE(identifiedAndChecked(none));
    EXPECT_EQ(none.TimesAsked(), 0);
    EXPECT_TRUE(prompt.ids.isEmpty());
}

// ---------------------------------------------------------------------------------------------
// The windows' reactions.

struct SNoticeRow {
    const char* name;
    int kind;
    int value;
    int messageId;
    const char* text;
};
void PrintTo(const SNoticeRow& row, std::ostream* os) {
    *os << row.name;
}
class Notices : public RadioOperations, public ::testing::WithParamInterface<SNoticeRow> {};

TEST_P(Notices, MainWindowAndDialogShowTheSameMessage) {
    const SNoticeRow& row = GetParam();
    m_watch->BeginTransfer();
    const SMainWindowReaction main = m_ops->OnMainWindowMessage(row.kind, row.value);
    EXPECT_TRUE(main.cleanedUp);
    EXPECT_FALSE(m_watch->Busy());
    EXPECT_EQ(Slot2(), 0u);
    EXPECT_EQ(main.notice.messageId, row.messageId);
    EXPECT_EQ(main.notice.text, QString::fromUtf8(row.text));

    SDialogState dialog;
    const SDialogReaction first = m_ops->OnDialogMessage(row.kind, row.value, dialog);
    EXPECT_EQ(first.notice.messageId, row.messageId);
    EXPECT_EQ(first.notice.text, QString::fromUtf8(row.text));
    EXPECT_TRUE(first.close);
    EXPECT_FALSE(m_ops->Running());
    EXPECT_EQ(m_ops->Mode(), DialogMode::None);
}
const SNoticeRow kNoticeRows[] = {
    {"communication", 3, -1, 309, "Error: Communication Error."},
    {"failed_0", 3, 0, 329, "Error: Operation Failed (0)."},
    {"failed_negative", 3, -12, 329, "Error: Operation Failed (-12)."},
    {"status_8", 4, 8, 390,
     "Warning: Radio's memory is corrupted. Please perform factory reset to correct the error."},
    {"status_3", 4, 3, 410,
     "Warning: Radio's memory is corrupted. Please return to manufacture for correction."},
    {"status_1", 4, 1, 410,
     "Warning: Radio's memory is corrupted. Please return to manufacture for correction."},
    {"status_31", 4, 31, 410,
     "Warning: Radio's memory is corrupted. Please return to manufacture for correction."},
    {"status_40", 4, 40, 335, "Warning: Unknown warning!"},
    {"status_0", 4, 0, 335, "Warning: Unknown warning!"},
};
INSTANTIATE_TEST_SUITE_P(Kinds, Notices, ::testing::ValuesIn(kNoticeRows),
                         [](const ::testing::TestParamInfo<SNoticeRow>& rowInfo) {
                             return std::string(rowInfo.param.name);
                         });

TEST_F(RadioOperations, MainWindowRunsTheChecksOnlyAfterACompleteIdentification) {
    CRecordingSink sink;
    // Identification against no cable: busy and operation code as the Read command sets them.
    ASSERT_TRUE(m_ops->StartIdentification(OperationCode::ReadIdentification, sink));
    m_ops->Wait();
    EXPECT_TRUE(m_watch->Busy());

    EXPECT_FALSE(m_ops->OnMainWindowMessage(1, 80).runChecks);
    EXPECT_EQ(m_ops->RememberedProgress(), 80);
    EXPECT_FALSE(m_ops->OnMainWindowMessage(2, 0).runChecks);
    EXPECT_FALSE(m_ops->OnMainWindowMessage(1, 100).runChecks);
    const SMainWindowReaction done = m_ops->OnMainWindowMessage(2, 0);
    EXPECT_TRUE(done.runChecks);
    EXPECT_FALSE(done.cleanedUp);
    EXPECT_TRUE(done.notice.IsEmpty());
    EXPECT_EQ(m_ops->RememberedProgress(), 0);
    // A second kind 2 finds the progress spent.
    EXPECT_FALSE(m_ops->OnMainWindowMessage(2, 0).runChecks);
    m_ops->Cleanup();
    EXPECT_FALSE(m_ops->OnMainWindowMessage(1, 100).runChecks);
    EXPECT_FALSE(m_ops->OnMainWindowMessage(2, 0).runChecks) << "not busy";
}

TEST_F(RadioOperations, DialogShowsSuccessAtAFullBarAndAFailureOnce) {
    Build(From(QStringLiteral("CUD41604")));
    Messages messages;
    Read(SimArgs({}), &messages);
    ASSERT_EQ(messages, kReadMessages);
    SDialogState dialog;
    // The worker has ended; the dialog stays in its mode until it closes.
    std::vector<int> texts;
    for (const Message& m : messages) {
        const SDialogReaction r = m_ops->OnDialogMessage(m.first, m.second, dialog);
        if (r.dialogTextId != 0) {
            texts.push_back(r.dialogTextId);
            EXPECT_TRUE(r.enableButton);
        }
    }
    EXPECT_EQ(texts, (std::vector<int>{332, 332}));
    EXPECT_EQ(dialog.progressBar, 100);

    SDialogState write;
    messages = Write(m_ops->Image(), SimArgs({}));
    ASSERT_EQ(messages, kWriteMessages);
    EXPECT_EQ(m_ops->OnDialogMessage(2, 0, write).dialogTextId, 0) << "bar not at 100";
    EXPECT_EQ(m_ops->OnDialogMessage(1, 100, write).progressBar, 100);
    EXPECT_EQ(m_ops->OnDialogMessage(2, 0, write).dialogTextId, 333);
    const SDialogReaction failed = m_ops->OnDialogMessage(3, -1, write);
    EXPECT_EQ(failed.dialogTextId, 305);
    EXPECT_EQ(failed.notice.messageId, 309);
    EXPECT_TRUE(failed.close);
    const SDialogReaction again = m_ops->OnDialogMessage(3, 5, write);
    EXPECT_TRUE(again.notice.IsEmpty());
    EXPECT_FALSE(again.close);
    EXPECT_EQ(m_ops->OnDialogMessage(1, 50, write).progressBar, -1) << "dialog mode 0";
}

}  // namespace
