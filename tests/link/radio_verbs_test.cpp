// veskctl identify, read, write and reset against simulated radios over the real serial path:
// every check message provoked by what the radio is or what the profile holds, a read written
// into another radio, and faults mid-transfer that leave the profile file alone and the radio
// repairable by the next write.

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "qt_print.h"
#include "sim_process.h"

#include <gtest/gtest.h>

namespace {

constexpr quint32 kMemoryBase = 0x10000;

QString SourceFile(const char* relative) {
    return QStringLiteral(VESK_SOURCE_DIR "/") + QLatin1String(relative);
}
const QString kTemplate = SourceFile("install/profiletemplate/CUD41604.vk4");
// Nineteen channels, 99 frequencies, codes above 122, serial clone compatibility 3, password 4711.
const QString kFullProfile = SourceFile("tests/data/images/full_19x99/profile.xml");
const QString kFullPassword = QStringLiteral("4711");

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Digest(const QString& path) {
    return QCryptographicHash::hash(FileBytes(path), QCryptographicHash::Sha256);
}

// The bytes two memories differ in, as "+offset: a b" lines, for a readable failure.
std::string Differences(const QByteArray& a, const QByteArray& b) {
    std::string text;
    const auto at = [](const QByteArray& bytes, qsizetype k) {
        return k < bytes.size() ? int(quint8(bytes[k])) : -1;
    };
    for (qsizetype k = 0; k < std::max(a.size(), b.size()); ++k) {
        if (at(a, k) != at(b, k)) {
            text += QStringLiteral("+%1: %2 %3\n")
                        .arg(k)
                        .arg(at(a, k), 0, 16)
                        .arg(at(b, k), 0, 16)
                        .toStdString();
        }
    }
    return text;
}

class RadioVerbs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_scratch.isValid());
        ASSERT_TRUE(QDir().mkpath(Path("cables")));
        ASSERT_TRUE(QDir().mkpath(Path("run")));
        QFile::setPermissions(
            Path("run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("VESKCPS_CABLE_DIR"), Path("cables"));
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Path("run"));
        // Where a write keeps the radio's contents before changing them.
        m_env.insert(QStringLiteral("XDG_DATA_HOME"), Path("data"));
        m_env.insert(
            QStringLiteral("VESKCPS_STATUS_BLOCK"),
            QStringLiteral("/vesk-radio-verbs.%1").arg(QCoreApplication::applicationPid()));
        // No real converter of this machine may join the count.
        ASSERT_TRUE(QDir().mkpath(Path("sys")));
        m_env.insert(QStringLiteral("VESKCPS_SYSFS_ROOT"), Path("sys"));
    }

    QString Path(const char* name) const { return m_scratch.filePath(QLatin1String(name)); }

    SRun Veskctl(const QStringList& args) const { return RunVeskctl(m_env, args); }

    // A radio whose memory is kept in `memory` (a file of the scratch folder).
    std::unique_ptr<CSimProcess> Radio(const char* memory, const QStringList& args) const {
        auto sim = std::make_unique<CSimProcess>(
            Path("cables"),
            QStringList{QStringLiteral("--fast"), QStringLiteral("--memory"), Path(memory)} + args);
        EXPECT_TRUE(sim->Ready()) << qPrintable(sim->Error());
        return sim;
    }

    QByteArray Memory(const char* memory, quint32 address, int count) const {
        return FileBytes(Path(memory)).mid(qsizetype(address - kMemoryBase), count);
    }

    QProcessEnvironment m_env;
    QTemporaryDir m_scratch;
};

// --- what the radio is, and which checks stop which command ---------------------------------

struct SCheckRow {
    const char* name;
    QStringList radio;    // simulator options besides --from
    const char* from;     // the profile the radio's memory is built from
    QStringList command;  // veskctl arguments; {profile} is the profile written
    int exitCode;
    const char* says;  // expected on stderr
    const char* neverSays = nullptr;
};

void PrintTo(const SCheckRow& row, std::ostream* os) {
    *os << row.name;
}

class RadioChecks : public RadioVerbs, public ::testing::WithParamInterface<SCheckRow> {};

QStringList Args(std::initializer_list<const char*> words) {
    QStringList list;
    for (const char* word : words) {
        list << QString::fromUtf8(word);
    }
    return list;
}

TEST_P(RadioChecks, StopOrGoWithTheirMessage) {
    const SCheckRow& row = GetParam();
    const QString from = QString::fromUtf8(row.from)
                             .replace(QLatin1String("{template}"), kTemplate)
                             .replace(QLatin1String("{full}"), kFullProfile);
    auto radio = Radio("radio.bin", QStringList{QStringLiteral("--from"), from} + row.radio);
    const QByteArray before = FileBytes(Path("radio.bin"));

    QStringList command = row.command;
    command.replaceInStrings(QStringLiteral("{template}"), kTemplate);
    command.replaceInStrings(QStringLiteral("{full}"), kFullProfile);
    command.replaceInStrings(QStringLiteral("{out}"), Path("read.vk4"));
    const QString written =
        command.size() > 1 && command[0] == QLatin1String("write") ? command[1] : QString();
    const QByteArray profileBefore = written.isEmpty() ? QByteArray() : Digest(written);

    const SRun run = Veskctl(command);
    EXPECT_EQ(run.exitCode, row.exitCode) << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(row.says))) << qPrintable(run.err);
    if (row.neverSays != nullptr) {
        EXPECT_FALSE(run.err.contains(QString::fromUtf8(row.neverSays))) << qPrintable(run.err);
    }
    radio->Stop();
    if (!written.isEmpty()) {
        EXPECT_EQ(Digest(written), profileBefore) << "the written profile file changed";
    }
    if (row.exitCode != 0 && command[0] == QLatin1String("write")) {
        EXPECT_EQ(FileBytes(Path("radio.bin")), before) << "a refused write changed the radio";
    }
    if (row.exitCode != 0 && command[0] == QLatin1String("read")) {
        EXPECT_FALSE(QFile::exists(Path("read.vk4")));
    }
}

const SCheckRow kCheckRows[] = {
    {"read_region_unknown", Args({"--model", "CUD41699"}), "{template}",
     Args({"read", "-o", "{out}"}), 1, "veskctl: The CPS does not support this radio's region.\n",
     "Please use"},
    {"read_region_other_edition", Args({"--model", "CUD41671"}), "{template}",
     Args({"read", "-o", "{out}"}), 1,
     "The CPS does not support this radio's region. Please use the \"ZN420 CPS Europe\"."},
    {"write_region", Args({"--model", "CUD41699"}), "{template}", Args({"write", "{template}"}), 1,
     "The CPS does not support this radio model."},
    {"read_codeplug_newer", Args({"--codeplug-version", "9"}), "{template}",
     Args({"read", "-o", "{out}"}), 1,
     "Codeplug version of CPS and radio are incompatible! Please update your CPS."},
    {"write_codeplug_newer", Args({"--codeplug-version", "9"}), "{template}",
     Args({"write", "{template}"}), 1,
     "Codeplug version of CPS and radio are incompatible! Please update your CPS."},
    {"read_development_codeplug", Args({"--codeplug-phase", "D", "--codeplug-version", "9"}),
     "{template}", Args({"read", "-o", "{out}"}), 0, "Read Successfully!"},
    {"write_model_mismatch", Args({"--model", "CUD41600"}), "{template}",
     Args({"write", "{template}"}), 1,
     "The radio being programmed does not match the model in the current profile."},
    {"write_clone_incompatible", Args({"--serial-clone", "9"}), "{template}",
     Args({"write", "{template}"}), 1, "The current profile is not compatible with the radio."},
    {"write_other_band", Args({"--model", "CVD41604"}), "{template}", Args({"write", "{template}"}),
     1, "Invalid frequency: This frequency is not supported by this radio."},
    {"write_codes_above_capacity", Args({"--code-capacity", "122", "--serial-clone", "3"}),
     "{template}", Args({"write", "{full}"}), 1,
     "Some profile information is not supported by the host radio and therefore will not be "
     "transferred(KT/VRC Code)."},
    {"write_tier_no", Args({"--model", "CUD40804"}), "{template}", Args({"write", "{template}"}), 1,
     "When converting from high-tier radio to low-tier radio, some data may be lost. Do you "
     "want to continue?"},
    {"write_tier_yes", Args({"--model", "CUD40804"}), "{template}",
     Args({"write", "{template}", "--yes"}), 0, "Write Successfully!"},
    {"write_no_password", Args({"--password", "1234"}), "{template}", Args({"write", "{template}"}),
     1, "The password is not correct. Please check it!"},
    {"write_wrong_password", Args({"--password", "1234"}), "{template}",
     Args({"write", "{template}", "--password", "9999"}), 1,
     "The password is not correct. Please check it!"},
    {"write_right_password", Args({"--password", "1234"}), "{template}",
     Args({"write", "{template}", "--password", "1234"}), 0, "Write Successfully!",
     "password is not correct"},
    {"read_right_password", Args({"--password", "0042"}), "{template}",
     Args({"read", "-o", "{out}", "--password", "0042"}), 0, "Read Successfully!"},
    {"write_lower_radio_codeplug", Args({"--codeplug-version", "2"}), "{template}",
     Args({"write", "{template}"}), 0,
     "The radio you are programing has a lower version codeplug, some new features can not be "
     "used after writing."},
    {"read_status_8", Args({"--status-code", "8"}), "{template}", Args({"read", "-o", "{out}"}), 1,
     "Warning: Radio's memory is corrupted. Please perform factory reset to correct the error."},
    {"write_status_3", Args({"--status-code", "3"}), "{template}", Args({"write", "{template}"}), 1,
     "Warning: Radio's memory is corrupted. Please return to manufacture for correction."},
    // The status byte carries the code in its low five bits: 40 is code 8.
    {"read_status_40_is_8", Args({"--status-code", "40"}), "{template}",
     Args({"read", "-o", "{out}"}), 1,
     "Warning: Radio's memory is corrupted. Please perform factory reset to correct the error."},
};

INSTANTIATE_TEST_SUITE_P(Messages, RadioChecks, ::testing::ValuesIn(kCheckRows),
                         [](const ::testing::TestParamInfo<SCheckRow>& rowInfo) {
                             return std::string(rowInfo.param.name);
                         });

// --- cables and identification ---------------------------------------------------------------

TEST_F(RadioVerbs, NoCableOrTwoCables) {
    const SRun none = Veskctl({QStringLiteral("identify")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.contains(QLatin1String("USB Cable Not Connected")))
        << qPrintable(none.err);

    auto first = Radio("a.bin", {});
    auto second = std::make_unique<CSimProcess>(
        Path("cables"),
        QStringList{QStringLiteral("--fast"), QStringLiteral("--cable"), QStringLiteral("second")});
    ASSERT_TRUE(second->Ready()) << qPrintable(second->Error());
    const SRun two = Veskctl({QStringLiteral("write"), kTemplate});
    EXPECT_EQ(two.exitCode, 1);
    EXPECT_TRUE(two.err.contains(QLatin1String("There are 2 USB connections.")))
        << qPrintable(two.err);
}

TEST_F(RadioVerbs, IdentifyTellsWhatTheRadioIs) {
    auto radio = Radio("radio.bin", Args({"--from", kTemplate.toUtf8().constData(), "--model",
                                          "CUR40873", "--firmware", "R16", "--code-capacity", "122",
                                          "--password", "77", "--serial-clone", "5"}));
    const SRun run = Veskctl({QStringLiteral("identify")});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(run.out, QStringLiteral("model:                CUR40873\n"
                                      "region code:          73\n"
                                      "firmware:             R16\n"
                                      "codeplug:             phase R, version 3\n"
                                      "password:             set\n"
                                      "code capacity:        122\n"
                                      "serial clone:         5\n"));
    EXPECT_TRUE(run.err.contains(QLatin1String("identifying: 100%"))) << qPrintable(run.err);
}

TEST_F(RadioVerbs, ResetAndARefusedReadTarget) {
    auto radio = Radio("radio.bin", {});
    const SRun reset = Veskctl({QStringLiteral("reset")});
    EXPECT_EQ(reset.exitCode, 0) << qPrintable(reset.err);
    radio->Stop();

    // A read never replaces a file that is already there, and asks the radio nothing.
    QFile existing(Path("read.vk4"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("a dealer's profile");
    existing.close();
    auto again = Radio("radio.bin", {});
    const SRun read = Veskctl({QStringLiteral("read"), QStringLiteral("-o"), Path("read.vk4")});
    EXPECT_EQ(read.exitCode, 1);
    EXPECT_TRUE(read.err.contains(QLatin1String("exists"))) << qPrintable(read.err);
    EXPECT_EQ(FileBytes(Path("read.vk4")), QByteArray("a dealer's profile"));
}

// --- a radio read, written into another radio of the same model -------------------------------

TEST_F(RadioVerbs, AReadWrittenIntoAnotherRadioGivesTheSameRadio) {
    // Two radios of the same model and limits that a dealer has programmed differently.
    const SRun edited =
        Veskctl({QStringLiteral("set"), kFullProfile, QStringLiteral("setting/powerupString=OTHER"),
                 QStringLiteral("channels/channel[3]/name=DOCK 7"),
                 QStringLiteral("setting/password=1111"), QStringLiteral("-o"), Path("other.vk4")});
    ASSERT_EQ(edited.exitCode, 0) << qPrintable(edited.err);
    const QStringList same = Args({"--firmware", "R17"});
    {
        auto source =
            Radio("source.bin", QStringList{QStringLiteral("--from"), kFullProfile} + same);
        const SRun read = Veskctl({QStringLiteral("read"), QStringLiteral("-o"), Path("first.vk4"),
                                   QStringLiteral("--password"), kFullPassword});
        ASSERT_EQ(read.exitCode, 0) << qPrintable(read.err);
    }
    {
        auto target =
            Radio("target.bin", QStringList{QStringLiteral("--from"), Path("other.vk4")} + same);
        ASSERT_NE(Memory("target.bin", 0x10000, 410), Memory("source.bin", 0x10000, 410));
        const SRun write = Veskctl({QStringLiteral("write"), Path("first.vk4"),
                                    QStringLiteral("--password"), QStringLiteral("1111")});
        ASSERT_EQ(write.exitCode, 0) << qPrintable(write.err);
        // The radio now has the profile's password.
        const SRun read = Veskctl({QStringLiteral("read"), QStringLiteral("-o"), Path("second.vk4"),
                                   QStringLiteral("--password"), kFullPassword});
        ASSERT_EQ(read.exitCode, 0) << qPrintable(read.err);
    }
    const SRun first = Veskctl({QStringLiteral("decode"), Path("first.vk4")});
    const SRun second = Veskctl({QStringLiteral("decode"), Path("second.vk4")});
    ASSERT_EQ(first.exitCode, 0);
    ASSERT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.out, first.out);

    // The radios themselves: settings, channels, tones and the radio's own bytes of the main
    // block, the frequency table, and the limit block's frequency count and programming flag.
    EXPECT_EQ(Differences(Memory("target.bin", 0x10000, 410), Memory("source.bin", 0x10000, 410)),
              "");
    EXPECT_EQ(
        Differences(Memory("target.bin", 0x10800, 6 * 99), Memory("source.bin", 0x10800, 6 * 99)),
        "");
    EXPECT_EQ(Differences(Memory("target.bin", 0x10A92, 2), Memory("source.bin", 0x10A92, 2)), "");
}

// --- an edited frequency table through a radio and back --------------------------------------

struct SRoundTripRow {
    const char* name;
    const char* writeFault;  // --fault while the profile is written; nothing for a clean line
    const char* readFault;   // --fault while it is read back
};

void PrintTo(const SRoundTripRow& row, std::ostream* os) {
    *os << row.name;
}

class FrequencyRoundTrip : public RadioVerbs,
                           public ::testing::WithParamInterface<SRoundTripRow> {};

// Frequencies added and one deleted before the write: the radio must get every record the profile
// holds, and a read must give back a profile veskctl diff finds no difference in. A single fault
// on the line is mended by the retry and changes nothing of that.
TEST_P(FrequencyRoundTrip, WriteThenReadShowsNoDifference) {
    const SRoundTripRow& row = GetParam();
    const QString edited = Path("edited.vk4");
    for (const QStringList& edit :
         {QStringList{QStringLiteral("add-frequency"), kTemplate, QStringLiteral("451.0125"),
                      QStringLiteral("0"), QStringLiteral("3"), QStringLiteral("2"),
                      QStringLiteral("-o"), edited},
          QStringList{QStringLiteral("add-frequency"), edited, QStringLiteral("452.3000"),
                      QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("3")},
          QStringList{QStringLiteral("add-frequency"), edited, QStringLiteral("462.5500"),
                      QStringLiteral("0"), QStringLiteral("3"), QStringLiteral("2")},
          QStringList{QStringLiteral("delete-frequency"), edited, QStringLiteral("14")}}) {
        const SRun run = Veskctl(edit);
        ASSERT_EQ(run.exitCode, 0) << qPrintable(edit.join(u' ') + u'\n' + run.err);
    }
    const QStringList same = Args({"--firmware", "R17"});
    const auto fault = [](const char* option) {
        return option != nullptr
                   ? QStringList{QStringLiteral("--fault"), QString::fromLatin1(option)}
                   : QStringList();
    };
    {
        auto radio = Radio("radio.bin", QStringList{QStringLiteral("--from"), kTemplate} + same +
                                            fault(row.writeFault));
        // Without the backup's reading of the radio, so that the frames counted are the write's.
        const SRun write =
            Veskctl({QStringLiteral("write"), edited, QStringLiteral("--no-backup")});
        ASSERT_EQ(write.exitCode, 0) << qPrintable(write.err);
    }
    {
        auto radio = Radio("radio.bin", same + fault(row.readFault));
        const SRun read = Veskctl({QStringLiteral("read"), QStringLiteral("-o"), Path("read.vk4")});
        ASSERT_EQ(read.exitCode, 0) << qPrintable(read.err);
    }
    const SRun diff = Veskctl({QStringLiteral("diff"), edited, Path("read.vk4")});
    EXPECT_EQ(diff.exitCode, 0) << qPrintable(diff.err);
    EXPECT_EQ(diff.out, QString()) << qPrintable(diff.out);
    const SRun decoded = Veskctl({QStringLiteral("decode"), Path("read.vk4")});
    EXPECT_EQ(decoded.out.count(QLatin1String("<frequency ")), 14);
}

// Request frames counted from the identification on: 40 lies among a write's frequency records,
// 20 in a read's main block.
const SRoundTripRow kRoundTripRows[] = {
    {"clean", nullptr, nullptr},
    {"write_garbage_once", "garbage@40", nullptr},
    {"write_drop_once", "drop@41", nullptr},
    {"write_checksum_once", "checksum@42", nullptr},
    {"read_silence_once", nullptr, "silence@20"},
    {"read_truncate_once", nullptr, "truncate@21"},
};

INSTANTIATE_TEST_SUITE_P(EditedTable, FrequencyRoundTrip, ::testing::ValuesIn(kRoundTripRows),
                         [](const ::testing::TestParamInfo<SRoundTripRow>& rowInfo) {
                             return std::string(rowInfo.param.name);
                         });

// --- what a write keeps and checks -------------------------------------------------------------

// Before anything is written the radio's contents are kept as a profile in the user's backup
// folder, named by model, serial and time, as a read of the radio would have given them; the
// newest 20 backups stay and nothing else in the folder is touched. --no-backup keeps none, and a
// backup that cannot be kept stops the write before the radio is changed.
TEST_F(RadioVerbs, AWriteFirstKeepsTheRadioAsItWas) {
    const QString folder = Path("data") + QStringLiteral("/Corvane/Vesk Kel CPS/backups");
    ASSERT_TRUE(QDir().mkpath(folder));
    QStringList older;
    for (int k = 0; k < 21; ++k) {
        older
            << QStringLiteral("CUR40201_123ABC4567_20200102-0304%1.vk4").arg(k, 2, 10, QChar(u'0'));
    }
    for (const QString& name :
         older + QStringList{QStringLiteral("notes.txt"), QStringLiteral("mine.vk4")}) {
        QFile file(folder + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("kept by someone");
    }
    const SRun edited =
        Veskctl({QStringLiteral("set"), kFullProfile, QStringLiteral("setting/powerupString=OTHER"),
                 QStringLiteral("-o"), Path("other.vk4")});
    ASSERT_EQ(edited.exitCode, 0) << qPrintable(edited.err);
    auto radio = Radio("radio.bin", {QStringLiteral("--from"), kFullProfile,
                                     QStringLiteral("--firmware"), QStringLiteral("R17")});
    const SRun before = Veskctl({QStringLiteral("read"), QStringLiteral("-o"), Path("before.vk4"),
                                 QStringLiteral("--password"), kFullPassword});
    ASSERT_EQ(before.exitCode, 0) << qPrintable(before.err);

    const SRun write = Veskctl(
        {QStringLiteral("write"), Path("other.vk4"), QStringLiteral("--password"), kFullPassword});
    ASSERT_EQ(write.exitCode, 0) << qPrintable(write.err);
    const QStringList backups =
        QDir(folder).entryList({QStringLiteral("CUD41604_471KFT2P9X_*.vk4")}, QDir::Files);
    ASSERT_EQ(backups.size(), 1) << qPrintable(QDir(folder).entryList().join(u' '));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^CUD41604_471KFT2P9X_\\d{8}-\\d{6}\\.vk4$"))
                    .match(backups[0])
                    .hasMatch())
        << qPrintable(backups[0]);
    const QString backup = folder + QLatin1Char('/') + backups[0];
    EXPECT_TRUE(write.err.contains(QStringLiteral("the radio as it was: ") + backup))
        << qPrintable(write.err);
    const SRun kept = Veskctl({QStringLiteral("decode"), backup});
    const SRun read = Veskctl({QStringLiteral("decode"), Path("before.vk4")});
    ASSERT_EQ(kept.exitCode, 0) << qPrintable(kept.err);
    EXPECT_EQ(kept.out, read.out);
    // The two oldest of the 21 made way; the user's own files stayed.
    QStringList expected = older.mid(2) + backups +
                           QStringList{QStringLiteral("mine.vk4"), QStringLiteral("notes.txt")};
    expected.sort();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), expected);

    const SRun without =
        Veskctl({QStringLiteral("write"), Path("other.vk4"), QStringLiteral("--password"),
                 kFullPassword, QStringLiteral("--no-backup")});
    EXPECT_EQ(without.exitCode, 0) << qPrintable(without.err);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), expected);

    // A folder that cannot be made: the write stops with the reason, the radio as it was.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QByteArray memory = FileBytes(Path("radio.bin"));
    const SRun refused = Veskctl(
        {QStringLiteral("write"), kFullProfile, QStringLiteral("--password"), kFullPassword});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(
        QStringLiteral("The radio's current contents could not be saved before writing: cannot "
                       "make the folder ") +
        folder + QStringLiteral("\nNothing has been written to the radio.")))
        << qPrintable(refused.err);
    EXPECT_FALSE(refused.err.contains(QLatin1String("Successfully"))) << qPrintable(refused.err);
    radio->Stop();
    EXPECT_EQ(Differences(FileBytes(Path("radio.bin")), memory), "");
}

// A radio that keeps other bytes than it is sent: the write reads back what it wrote and fails,
// naming the first address that differs. --no-verify leaves the reading back out, and the write
// is then told as a success.
TEST_F(RadioVerbs, AWriteReadsBackWhatItWrote) {
    // Frames from the identification on: identification 1..7, start 8, status 9, the main
    // block's reading back 10..22, its writing 23..35.
    auto radio = Radio("radio.bin", {QStringLiteral("--from"), kTemplate, QStringLiteral("--fault"),
                                     QStringLiteral("corrupt@23")});
    const SRun checked =
        Veskctl({QStringLiteral("write"), kTemplate, QStringLiteral("--no-backup")});
    EXPECT_EQ(checked.exitCode, 1);
    EXPECT_TRUE(checked.err.contains(
        QLatin1String("Verification failed: the radio's memory at 0x1001F differs from what was "
                      "written. Please write again.")))
        << qPrintable(checked.err);
    EXPECT_FALSE(checked.err.contains(QLatin1String("Successfully"))) << qPrintable(checked.err);
    radio->Stop();

    radio = Radio("radio.bin", {QStringLiteral("--fault"), QStringLiteral("corrupt@23")});
    const SRun unchecked = Veskctl({QStringLiteral("write"), kTemplate,
                                    QStringLiteral("--no-backup"), QStringLiteral("--no-verify")});
    EXPECT_EQ(unchecked.exitCode, 0) << qPrintable(unchecked.err);
    EXPECT_TRUE(unchecked.err.contains(QLatin1String("Write Successfully!")))
        << qPrintable(unchecked.err);
}

// --- faults mid-transfer ----------------------------------------------------------------------

struct SFaultRow {
    const char* name;
    const char* fault;  // --fault, counted in request frames from the identification on
    bool write;
    const char* says;
    // A write keeps the radio's contents first; rows without it count frames as if it did not.
    bool backup = false;
};

void PrintTo(const SFaultRow& row, std::ostream* os) {
    *os << row.name;
}

class RadioFaults : public RadioVerbs, public ::testing::WithParamInterface<SFaultRow> {};

// Frame 20 is in the middle of a read's main block; frame 30 in the middle of a write's without a
// backup, and in the middle of the backup's reading of the radio with one.
const SFaultRow kFaultRows[] = {
    {"read_silence", "silence@20+", false, "Error: Communication Error."},
    {"read_garbage", "garbage@20+", false, "Error: Communication Error."},
    {"read_drop", "drop@20+", false, "Error: Communication Error."},
    {"read_checksum", "checksum@20+", false, "Error: Communication Error."},
    {"read_truncate", "truncate@20+", false, "Error: Communication Error."},
    {"write_silence", "silence@30+", true, "Error: Communication Error."},
    {"write_garbage", "garbage@30+", true, "Error: Communication Error."},
    {"write_drop", "drop@30+", true, "Error: Communication Error."},
    {"write_checksum", "checksum@30+", true, "Error: Communication Error."},
    {"write_truncate", "truncate@30+", true, "Error: Communication Error."},
    {"write_refused", "refuse@30+", true, "Error: Communication Error."},
    {"write_backup_read_silence", "silence@30+", true, "Error: Communication Error.", true},
};

TEST_P(RadioFaults, FailCleanlyAndTheNextWriteRepairs) {
    const SFaultRow& row = GetParam();
    const QStringList same = Args({"--firmware", "R17", "--serial-clone", "3"});
    // The radio as a clean write leaves it.
    {
        auto reference =
            Radio("reference.bin", QStringList{QStringLiteral("--from"), kTemplate} + same);
        ASSERT_EQ(Veskctl({QStringLiteral("write"), kFullProfile}).exitCode, 0);
    }
    const QByteArray profileBefore = Digest(kFullProfile);
    {
        auto faulty = Radio("radio.bin", QStringList{QStringLiteral("--from"), kTemplate} + same +
                                             QStringList{QStringLiteral("--fault"),
                                                         QString::fromLatin1(row.fault)});
        QStringList write{QStringLiteral("write"), kFullProfile};
        if (!row.backup) {
            write << QStringLiteral("--no-backup");
        }
        const SRun run =
            row.write ? Veskctl(write)
                      : Veskctl({QStringLiteral("read"), QStringLiteral("-o"), Path("read.vk4")});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(row.says))) << qPrintable(run.err);
        EXPECT_FALSE(run.err.contains(QLatin1String("Successfully"))) << qPrintable(run.err);
    }
    EXPECT_FALSE(QFile::exists(Path("read.vk4")));
    EXPECT_EQ(Digest(kFullProfile), profileBefore);
    // The same radio without the fault takes the next write, and ends as the clean one. A write
    // that got as far as the first chunk of settings has given the radio the profile's password.
    {
        auto repaired = Radio("radio.bin", same);
        const SRun again = Veskctl(
            {QStringLiteral("write"), kFullProfile, QStringLiteral("--password"), kFullPassword});
        EXPECT_EQ(again.exitCode, 0) << qPrintable(again.err);
    }
    EXPECT_EQ(Differences(FileBytes(Path("radio.bin")), FileBytes(Path("reference.bin"))), "");
}

INSTANTIATE_TEST_SUITE_P(MidTransfer, RadioFaults, ::testing::ValuesIn(kFaultRows),
                         [](const ::testing::TestParamInfo<SFaultRow>& rowInfo) {
                             return std::string(rowInfo.param.name);
                         });

}  // namespace
