// The simulated radio without its terminal: what it answers to each request, where it takes
// writes, how each fault shapes the answer and which frames the faults hit, and the memory it
// builds from every installed template.

#include "sim_radio.h"

#include <ios>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "model/profile_file.h"
#include "qt_print.h"
#include "radio/data_adaptor.h"
#include "radio/memory_map.h"
#include "radio/protocol.h"
#include "radio/virtual_cp.h"
#include "sim_memory.h"
#include "source_files.h"

#include <gtest/gtest.h>

namespace {

std::string HexOf(QByteArrayView bytes) {
    return QByteArray(bytes.data(), bytes.size()).toHex(' ').toUpper().toStdString();
}

QByteArray Bytes(const char* hex) {
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

QByteArray PatternMemory() {
    QByteArray memory(sim::kMemorySize, '\0');
    for (int k = 0; k < sim::kMemorySize; ++k) {
        memory[k] = char(sim::FillPattern(sim::kMemoryBase + quint32(k)));
    }
    return memory;
}

sim::SRadioSetup RadioSetup(std::vector<sim::SFault> faults = {}) {
    sim::SRadioSetup setup;
    setup.firmware[0] = 'R';
    setup.firmware[1] = '1';
    setup.firmware[2] = '6';
    setup.statusCode = 8;
    setup.faults = std::move(faults);
    return setup;
}

sim::SFault Fault(const char* text) {
    const std::optional<sim::SFault> fault = sim::ParseFault(QString::fromLatin1(text));
    EXPECT_TRUE(fault.has_value()) << text;
    return fault.value_or(sim::SFault{});
}

// ---- Every request kind against a memory of the fill pattern ----

struct SReplyRow {
    const char* name;
    const char* request;
    const char* reply;  // after the echo; empty when the radio stays silent
};
void PrintTo(const SReplyRow& row, std::ostream* os) {
    *os << row.name;
}

const SReplyRow kReplies[] = {
    {"read_password", "FF 11 00 05 04 01 00 09 DC", "50 FF 80 00 08 01 00 09 58 7D A2 C7 30"},
    {"read_past_end", "FF 11 00 05 02 02 FF FF E8", "50 FF 80 00 06 02 FF FF E6 FF 95"},
    {"read_below_memory", "FF 11 00 05 01 00 FF FF EB", "50 FF 80 00 05 00 FF FF FF 7E"},
    {"read_32", "FF 11 00 05 20 01 0E 18 A3",
     "50 FF 80 00 24 01 0E 18 83 A8 CD F2 17 3C 61 86 AB D0 F5 1A 3F 64 89 AE D3 F8 1D 42 67 "
     "8C B1 D6 FB 20 45 6A 8F B4 D9 FE 25"},
    {"write_main", "FF 17 00 06 01 00 09 31 32 76", "50 FF 84 00 04 01 00 09 6E"},
    {"write_band_edges", "FF 17 00 05 01 0A 80 01 58", "50 FF 85 00 04 01 0A 80 EC"},
    {"reset", "FF 10 00 01 EF", "50"},
    {"start", "F2 22 16 D5", "50 F3 22 00 00 EA"},
    {"firmware", "F2 23 03 E7", "50 F5 23 03 52 31 36 2B"},
    {"status", "F2 23 09 E1", "50 F4 23 09 00 08 D7"},
    {"memory_control", "FF 38 00 05 1F 03 00 00 A1", "50 F2 38 00 D5"},
    {"frequency_record", "FF 9A 00 09 04 05 01 02 03 04 05 06 3F", "50 F2 9A 00 73"},
    {"frequency_record_127", "FF 9A 00 09 04 7F 01 02 03 04 05 06 C5", "50 F2 9A 00 73"},
    {"frequency_record_128", "FF 9A 00 09 04 80 01 02 03 04 05 06 C4", "50 F2 9A 01 72"},
    {"frequency_table_end", "F4 9A 05 0C 01 5F", "50 F2 9A 00 73"},
    {"bad_checksum", "FF 11 00 05 04 01 00 09 DD", ""},
    {"unknown_long", "FF 42 00 01 BD", ""},
    {"unknown_query", "F2 23 05 E5", ""},
    {"read_none", "FF 11 00 05 00 01 00 09 E0", ""},
    {"read_33", "FF 11 00 05 21 01 00 09 BF", ""},
};

class SimRadioReply : public testing::TestWithParam<SReplyRow> {};

TEST_P(SimRadioReply, AnswersAsTheRadioDoes) {
    sim::CSimMemory memory;
    memory.Assign(PatternMemory());
    sim::CSimRadio radio(memory, RadioSetup());
    EXPECT_EQ(HexOf(radio.Handle(Bytes(GetParam().request)).bytes), HexOf(Bytes(GetParam().reply)));
}

INSTANTIATE_TEST_SUITE_P(SimRadio, SimRadioReply, testing::ValuesIn(kReplies),
                         [](const testing::TestParamInfo<SReplyRow>& row) {
                             return std::string(row.param.name);
                         });

// ---- Writes land only where the programmer writes ----

struct SWriteRow {
    const char* name;
    quint32 address;
    int length;
    bool accepted;
};
void PrintTo(const SWriteRow& row, std::ostream* os) {
    *os << row.name;
}

const SWriteRow kWrites[] = {
    {"main_start", 0x10000, 32, true},
    {"main_end", 0x10180, 26, true},
    {"past_main", 0x10181, 26, false},
    {"repeater_limit", 0x10A99, 1, true},
    {"around_repeater_limit", 0x10A98, 2, false},
    {"compander", 0x10C8E, 1, true},
    {"before_compander", 0x10C8D, 1, false},
    {"parameters_start", 0x10C9C, 32, true},
    {"parameters_end", 0x10D40, 32, true},
    {"past_parameters", 0x10D41, 32, false},
    {"cleared_pair", 0x20466, 2, true},
    {"past_cleared_pair", 0x20467, 2, false},
    {"frequency_records", 0x10800, 6, false},
    {"identification", 0x10E22, 10, false},
    {"outside_memory", 0x30000, 1, false},
};

class SimRadioWrite : public testing::TestWithParam<SWriteRow> {};

TEST_P(SimRadioWrite, TakesOrRefusesWholly) {
    const SWriteRow& row = GetParam();
    sim::CSimMemory memory;
    memory.Assign(PatternMemory());
    sim::CSimRadio radio(memory, RadioSetup());
    QByteArray data;
    for (int k = 0; k < row.length; ++k) {
        data.append(char(0xA0 + k));
    }
    const QByteArray reply = radio.Handle(frame::WriteMemoryRequest(row.address, data)).bytes;
    ASSERT_GE(reply.size(), 3);
    EXPECT_EQ(quint8(reply[2]), row.accepted ? 0x84 : 0x85);
    QByteArray expected = PatternMemory();
    if (row.accepted) {
        expected.replace(qsizetype(row.address - sim::kMemoryBase), data.size(), data);
    }
    EXPECT_TRUE(memory.Bytes() == expected);
}

INSTANTIATE_TEST_SUITE_P(SimRadio, SimRadioWrite, testing::ValuesIn(kWrites),
                         [](const testing::TestParamInfo<SWriteRow>& row) {
                             return std::string(row.param.name);
                         });

TEST(SimRadio, FrequencyRecordsAndTableEndLandAtTheirAddresses) {
    sim::CSimMemory memory;
    memory.Assign(PatternMemory());
    sim::CSimRadio radio(memory, RadioSetup());
    const QByteArray record = Bytes("3E 4C 81 02 03 04");
    for (const quint8 index : {quint8(0), quint8(7), quint8(127)}) {
        radio.Handle(frame::FrequencyRecordRequest(index, record));
        EXPECT_EQ(HexOf(memory.Read(0x10800 + 6u * index, 6)), HexOf(record)) << int(index);
    }
    EXPECT_EQ(HexOf(memory.Read(0x10806, 6)), HexOf(PatternMemory().mid(0x806, 6)));

    const quint8 flags = sim::FillPattern(0x10A93);
    for (const quint8 m : {quint8(1), quint8(0)}) {
        radio.Handle(frame::FrequencyTableEndRequest(42, m));
        EXPECT_EQ(memory.At(0x10A92), 42);
        EXPECT_EQ(memory.At(0x10A93), quint8((flags & ~0x20) | (m != 0 ? 0x20 : 0))) << int(m);
    }
}

// ---- Faults ----

struct SFaultRow {
    const char* name;
    const char* fault;
    const char* request;
    const char* reply;
    bool stored;  // whether a write request still changed the memory
};
void PrintTo(const SFaultRow& row, std::ostream* os) {
    *os << row.name;
}

const SFaultRow kFaults[] = {
    {"silence", "silence", "F2 22 16 D5", "", false},
    {"garbage", "garbage", "F2 22 16 D5", "00 13 A5 7E 50 F3 22 00 00 EA", false},
    {"drop", "drop", "F2 22 16 D5", "50 F3 22 00 EA", false},
    {"checksum", "checksum", "F2 22 16 D5", "50 F3 22 00 00 15", false},
    {"truncate", "truncate", "F2 22 16 D5", "50 F3 22", false},
    {"refuse_start", "refuse", "F2 22 16 D5", "50 F3 22 00 00 EA", false},
    {"refuse_write", "refuse", "FF 17 00 06 01 00 09 31 32 76", "50 FF 85 00 04 01 00 09 6D",
     false},
    {"refuse_frequency", "refuse", "FF 9A 00 09 04 05 01 02 03 04 05 06 3F", "50 F2 9A 01 72",
     false},
    {"silence_write", "silence", "FF 17 00 06 01 00 09 31 32 76", "", false},
    {"checksum_write", "checksum", "FF 17 00 06 01 00 09 31 32 76", "50 FF 84 00 04 01 00 09 91",
     true},
    {"drop_reset", "drop", "FF 10 00 01 EF", "50", false},
    // The line then carries stray bytes until the host speaks again (the line's part).
    {"babble", "babble", "F2 22 16 D5", "50", false},
    // Answered as taken: only reading the memory back shows what the radio kept.
    {"corrupt_write", "corrupt", "FF 17 00 06 01 00 09 31 32 76", "50 FF 84 00 04 01 00 09 6E",
     true},
};

class SimRadioFault : public testing::TestWithParam<SFaultRow> {};

TEST_P(SimRadioFault, ShapesTheAnswer) {
    const SFaultRow& row = GetParam();
    sim::CSimMemory memory;
    memory.Assign(PatternMemory());
    sim::CSimRadio radio(memory, RadioSetup({Fault(row.fault)}));
    EXPECT_EQ(HexOf(radio.Handle(Bytes(row.request)).bytes), HexOf(Bytes(row.reply)));
    EXPECT_EQ(memory.Bytes() != PatternMemory(), row.stored);
}

INSTANTIATE_TEST_SUITE_P(SimRadio, SimRadioFault, testing::ValuesIn(kFaults),
                         [](const testing::TestParamInfo<SFaultRow>& row) {
                             return std::string(row.param.name);
                         });

struct SSelectRow {
    const char* name;
    std::vector<const char*> faults;
    const char* answered;  // per frame: 'a' answered, '-' silent
};
void PrintTo(const SSelectRow& row, std::ostream* os) {
    *os << row.name;
}

const SSelectRow kSelections[] = {
    {"every", {"silence"}, "-----"},
    {"second", {"silence@2"}, "a-aaa"},
    {"second_on", {"silence@2+"}, "a----"},
    {"first_and_fourth", {"silence@1", "silence@4"}, "-aa-a"},
    {"fifth_on", {"silence@5+"}, "aaaa-"},
};

class SimRadioFaultFrames : public testing::TestWithParam<SSelectRow> {};

TEST_P(SimRadioFaultFrames, HitOnlyTheFramesNamed) {
    std::vector<sim::SFault> faults;
    for (const char* text : GetParam().faults) {
        faults.push_back(Fault(text));
    }
    sim::CSimMemory memory;
    memory.Assign(PatternMemory());
    sim::CSimRadio radio(memory, RadioSetup(faults));
    std::string answered;
    for (int n = 0; n < 5; ++n) {
        answered += radio.Handle(frame::StatusQuery()).bytes.isEmpty() ? '-' : 'a';
    }
    EXPECT_EQ(answered, GetParam().answered);
}

INSTANTIATE_TEST_SUITE_P(SimRadio, SimRadioFaultFrames, testing::ValuesIn(kSelections),
                         [](const testing::TestParamInfo<SSelectRow>& row) {
                             return std::string(row.param.name);
                         });

TEST(SimRadio, AFrameWithABadChecksumCountsForTheFaults) {
    sim::CSimMemory memory;
    memory.Assign(PatternMemory());
    sim::CSimRadio radio(memory, RadioSetup({Fault("silence@2")}));
    EXPECT_TRUE(radio.Handle(Bytes("F2 23 09 E0")).bytes.isEmpty());
    EXPECT_TRUE(radio.Handle(frame::StatusQuery()).bytes.isEmpty());
    EXPECT_FALSE(radio.Handle(frame::StatusQuery()).bytes.isEmpty());
}

struct SParseRow {
    const char* text;
    bool valid;
};
void PrintTo(const SParseRow& row, std::ostream* os) {
    *os << row.text;
}

const SParseRow kParses[] = {
    {"silence", true},     {"garbage@1", true},    {"refuse@12+", true},
    {"truncate@0", false}, {"drop@", false},       {"drop@x", false},
    {"noise", false},      {"checksum@+3", false}, {"drop@-1", false},
};

class SimRadioFaultText : public testing::TestWithParam<SParseRow> {};

TEST_P(SimRadioFaultText, ParsesOnlyTheCommandLineForms) {
    EXPECT_EQ(sim::ParseFault(QString::fromLatin1(GetParam().text)).has_value(), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(SimRadio, SimRadioFaultText, testing::ValuesIn(kParses));

// ---- Cutting the host's byte stream into frames ----

struct SStreamRow {
    const char* name;
    std::vector<const char*> pushes;
    std::vector<const char*> frames;
};
void PrintTo(const SStreamRow& row, std::ostream* os) {
    *os << row.name;
}

const SStreamRow kStreams[] = {
    {"one", {"F2 23 09 E1"}, {"F2 23 09 E1"}},
    {"split", {"FF 11 00", "05 04 01 00", "09 DC"}, {"FF 11 00 05 04 01 00 09 DC"}},
    {"two_in_one", {"F2 23 09 E1 FF 10 00 01 EF"}, {"F2 23 09 E1", "FF 10 00 01 EF"}},
    {"noise_before", {"00 50 13 F0 F1 F2 22 16 D5"}, {"F2 22 16 D5"}},
    {"absurd_length", {"FF 17 7F FF F2 23 03 E7"}, {"F2 23 03 E7"}},
    {"zero_length", {"FF 10 00 00 FF 10 00 01 EF"}, {"FF 10 00 01 EF"}},
};

class SimRadioStream : public testing::TestWithParam<SStreamRow> {};

TEST_P(SimRadioStream, FindsTheFrames) {
    sim::CFrameAssembler assembler;
    std::vector<std::string> frames;
    for (const char* push : GetParam().pushes) {
        for (const QByteArray& frame : assembler.Push(Bytes(push))) {
            frames.push_back(HexOf(frame));
        }
    }
    std::vector<std::string> expected;
    for (const char* frame : GetParam().frames) {
        expected.push_back(HexOf(Bytes(frame)));
    }
    EXPECT_EQ(frames, expected);
    EXPECT_FALSE(assembler.HasPartial());
}

INSTANTIATE_TEST_SUITE_P(SimRadio, SimRadioStream, testing::ValuesIn(kStreams),
                         [](const testing::TestParamInfo<SStreamRow>& row) {
                             return std::string(row.param.name);
                         });

TEST(SimRadio, ADroppedPartialFrameDoesNotPoisonTheNext) {
    sim::CFrameAssembler assembler;
    EXPECT_TRUE(assembler.Push(Bytes("FF 11 00 05 04")).empty());
    EXPECT_TRUE(assembler.HasPartial());
    assembler.DropPartial();
    const std::vector<QByteArray> frames = assembler.Push(frame::StatusQuery());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(HexOf(frames[0]), HexOf(frame::StatusQuery()));
}

// ---- What the command line lays over the memory ----

TEST(SimRadio, OverridesLandInTheirBytes) {
    QByteArray bytes = PatternMemory();
    sim::SRadioOverrides overrides;
    overrides.model = QByteArray("CVR50873");
    overrides.codeplugPhase = 'B';
    overrides.codeplugVersion = 4;
    overrides.password = QByteArray("12");
    overrides.codeCapacity = 200;
    overrides.serialClone = 9;
    sim::ApplyOverrides(bytes, overrides);
    sim::CSimMemory memory;
    memory.Assign(bytes);
    EXPECT_EQ(HexOf(memory.Read(0x10E22, 10)), "43 56 52 05 00 08 07 03 42 04");
    EXPECT_EQ(HexOf(memory.Read(0x10009, 4)), "31 32 00 00");
    EXPECT_EQ(memory.At(0x10A9E), 200);
    EXPECT_EQ(memory.At(0x10A91), quint8((sim::FillPattern(0x10A91) & 0x80) | (200 & 0x7F)));
    EXPECT_EQ(memory.At(0x10C01), 9);

    sim::SRadioOverrides cleared;
    cleared.password.emplace();
    sim::ApplyOverrides(bytes, cleared);
    memory.Assign(bytes);
    EXPECT_EQ(HexOf(memory.Read(0x10009, 4)), "00 00 00 00");
}

TEST(SimRadio, AcceptedWritesReachTheMemoryFileAtOnce) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("radio.bin"));
    QString error;
    {
        sim::CSimMemory memory;
        ASSERT_TRUE(memory.Create(path, PatternMemory(), error)) << error.toStdString();
        sim::CSimRadio radio(memory, RadioSetup());
        radio.Handle(frame::WriteMemoryRequest(0x10009, QByteArray("4321")));
        radio.Handle(frame::WriteMemoryRequest(0x10A80, QByteArray("x")));
        radio.Handle(frame::FrequencyRecordRequest(3, Bytes("01 02 03 04 05 06")));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray expected = PatternMemory();
    expected.replace(0x0009, 4, "4321");
    expected.replace(0x0812, 6, Bytes("01 02 03 04 05 06"));
    EXPECT_TRUE(file.readAll() == expected);

    sim::CSimMemory reopened;
    EXPECT_TRUE(reopened.Open(path, error)) << error.toStdString();
    EXPECT_TRUE(reopened.Bytes() == expected);
    QFile::resize(path, sim::kMemorySize - 1);
    EXPECT_FALSE(reopened.Open(path, error));
    EXPECT_TRUE(error.contains(QStringLiteral("131071")));
}

// ---- The memory every template gives ----

std::string FieldName(const vcp::SField& field) {
    return std::string(field.name);
}

class SimRadioTemplate : public testing::TestWithParam<QString> {};

TEST_P(SimRadioTemplate, MemoryUnpacksToTheImage) {
    const QString path = QStringLiteral(VESK_SOURCE_DIR "/install/profiletemplate/") + GetParam();
    const std::optional<QString> text = profile_file::Read(path);
    ASSERT_TRUE(text.has_value()) << path.toStdString();
    CVirtualCP image;
    CRadioInfo radio;
    radio.SetNumber(vcp::RadioInfoField("codeplug_version"), 3);
    ASSERT_EQ(CDataAdaptor::XML2VirtualCP(*text, image, radio), 1);
    sim::CSimMemory memory;
    memory.Assign(sim::MemoryFromImage(image));
    ASSERT_EQ(memory.Bytes().size(), sim::kMemorySize);

    const auto block = [&](std::string_view name, int count = 1) {
        for (const mm::SBlock& b : mm::kBlocks) {
            if (b.name == name) {
                return memory.Read(b.address, b.length * count);
            }
        }
        return QByteArray();
    };
    const int records = CDataAdaptor::FrequenciesInUse(image);
    CVirtualCP back;
    back.ClearForRead();
    for (const char* name : {"firmware_phase", "firmware_version", "firmware_revision"}) {
        const vcp::SField* field = vcp::FindImageField(QString::fromLatin1(name));
        back.SetRaw(*field, image.Raw(*field));
    }
    mm::UnpackIdentity(block("identity"), back);
    mm::UnpackSynthBase(block("synth_base"), back);
    mm::UnpackBandEdges(block("band_edges"), back);
    mm::UnpackLimits(block("limits"), back);
    mm::UnpackSerialClone(block("serial_clone"), back);
    mm::UnpackMainBlock(block("main"), back);
    mm::UnpackFrequencies(block("frequency_records", records), back);

    const quint32 maxCodes = image.Number(vcp::ImageField("maxCodes"));
    const bool repeaterForced =
        (image.Byte(0x009) == 4 || image.Byte(0x009) == 5) && image.Byte(0x008) != 'D';
    for (const vcp::SField& field : vcp::kImageFields) {
        if (!field.IsAttribute()) {
            continue;
        }
        QByteArray expected = image.Raw(field);
        if (field.name == "disable_repeater_feature" && repeaterForced) {
            expected = QByteArray(1, '\0');
        }
        if (field.name.starts_with("KTcode")) {
            const bool second = field.name >= "KTcode214";
            if (maxCodes <= (second ? mm::kSecondToneCodes : mm::kFirstToneCodes)) {
                expected = QByteArray(2, '\xFF');
            }
        }
        EXPECT_EQ(HexOf(back.Raw(field)), HexOf(expected)) << FieldName(field);
    }
    for (const vcp::SButtonSlot& slot : vcp::kButtonSlots) {
        EXPECT_EQ(back.ButtonSlot(slot.slot), image.ButtonSlot(slot.slot)) << slot.name;
    }
    const int channels = int(image.Number(vcp::ImageField("maxChannels")));
    for (int n = 0; n < channels; ++n) {
        for (const vcp::SField& field : vcp::kChannelFields) {
            if (field.IsAttribute()) {
                EXPECT_EQ(HexOf(back.ChannelRaw(n, field)), HexOf(image.ChannelRaw(n, field)))
                    << "channel " << n << " " << FieldName(field);
            }
        }
    }
    for (int n = 0; n < records; ++n) {
        EXPECT_EQ(back.FrequencyHz(n), image.FrequencyHz(n)) << "frequency " << n;
    }

    // Whichever layout the radio's firmware reads, the code capacity is the image's.
    EXPECT_EQ(memory.At(0x10A9E), quint8(maxCodes));
    EXPECT_EQ(memory.At(0x10A91) & 0x7F, quint8(maxCodes) & 0x7F);
    EXPECT_EQ(memory.At(0x10C8E), 0x2F);
    const auto parameters = mm::ParameterImageFor(image);
    for (int k = 0; k < mm::kParameterImageSize; ++k) {
        const quint32 at = 0x10C9C + quint32(k);
        EXPECT_EQ(memory.At(at), parameters ? (*parameters)[size_t(k)] : sim::FillPattern(at))
            << std::hex << at;
    }
}

TEST_P(SimRadioTemplate, RadioOwnedBitsCarryThePattern) {
    const QString path = QStringLiteral(VESK_SOURCE_DIR "/install/profiletemplate/") + GetParam();
    const std::optional<QString> text = profile_file::Read(path);
    ASSERT_TRUE(text.has_value());
    CVirtualCP image;
    CRadioInfo radio;
    radio.SetNumber(vcp::RadioInfoField("codeplug_version"), 3);
    ASSERT_EQ(CDataAdaptor::XML2VirtualCP(*text, image, radio), 1);
    sim::CSimMemory memory;
    memory.Assign(sim::MemoryFromImage(image));

    struct STable {
        std::span<const mm::SBits> rows;
        quint32 address;
    };
    const STable tables[] = {
        {mm::kIdentityBlock, 0x10E18}, {mm::kLimitBlock, 0x10A8C}, {mm::kMainBlock, 0x10000},
        {mm::kSynthBase, 0x10D80},     {mm::kBandEdges, 0x10A80},  {mm::kSerialClone, 0x10C01},
    };
    for (const STable& table : tables) {
        for (const mm::SBits& row : table.rows) {
            if (row.carry != mm::Carry::RadioOwned) {
                continue;
            }
            for (int k = 0; k < row.count; ++k) {
                const quint32 at = table.address + quint32(row.byte + k);
                EXPECT_EQ(memory.At(at) & row.ByteMask(), sim::FillPattern(at) & row.ByteMask())
                    << row.name << " at " << std::hex << at;
            }
        }
    }
    // Bytes of no block at all.
    const int records = CDataAdaptor::FrequenciesInUse(image);
    const auto inBlock = [&](quint32 at) {
        for (const mm::SBlock& b : mm::kBlocks) {
            const int length = b.name == "frequency_records" ? b.length * records : b.length;
            if (b.name != "radio_parameters" && at >= b.address &&
                at < b.address + quint32(length)) {
                return true;
            }
        }
        return false;
    };
    int checked = 0;
    for (quint32 at = sim::kMemoryBase; at < sim::kMemoryBase + sim::kMemorySize; ++at) {
        if (!inBlock(at) && !(at >= 0x10C9C && at < 0x10D60)) {
            ASSERT_EQ(memory.At(at), sim::FillPattern(at)) << std::hex << at;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0x1F000);
}

INSTANTIATE_TEST_SUITE_P(SimRadio, SimRadioTemplate, testing::ValuesIn(InstalledTemplateFiles()),
                         [](const testing::TestParamInfo<QString>& p) {
                             return p.param.section(QLatin1Char('.'), 0, 0).toStdString();
                         });

}  // namespace
