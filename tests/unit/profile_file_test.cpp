// The profile file format and the reader through which every installation file is read. A file
// written once must read back the same for as long as dealers keep it, so the format is pinned by
// a golden file made apart from this program.

#include "model/profile_file.h"

#include <optional>
#include <thread>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/codepage/ansi_codepage.h"
#include "qt_print.h"
#include "source_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QString kDataDir = QStringLiteral(VESK_SOURCE_DIR "/tests/data/profile_file/");

QByteArray Utf16(const QString& text, bool withMark = true) {
    QByteArray bytes = withMark ? QByteArray("\xFF\xFE", 2) : QByteArray();
    for (const QChar ch : text) {
        bytes.append(static_cast<char>(ch.unicode() & 0xFF))
            .append(static_cast<char>(ch.unicode() >> 8));
    }
    return bytes;
}

QByteArray XorBytes(QByteArray bytes) {
    for (char& byte : bytes) {
        byte = static_cast<char>(byte ^ 0xA5);
    }
    return bytes;
}

QString Repeat(char16_t ch, qsizetype count) {
    return QString(count, QChar(ch));
}

struct SRoundTripRow {
    const char* name;
    QString text;
};

class ProfileFileRoundTrip : public ::testing::TestWithParam<SRoundTripRow> {};

TEST_P(ProfileFileRoundTrip, WritesFfFeAndNoZeroUnitAndReadsBack) {
    const QString& text = GetParam().text;
    const QByteArray bytes = profile_file::Encode(text);
    ASSERT_GE(bytes.size(), 2);
    EXPECT_EQ(bytes.left(2), QByteArray("\xFF\xFE", 2));
    ASSERT_EQ(bytes.size() % 2, 0);
    for (qsizetype i = 2; i < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                (static_cast<unsigned char>(bytes[i + 1]) << 8));
        ASSERT_NE(unit, 0) << "unit " << (i - 2) / 2;
        const char16_t original = text[(i - 2) / 2].unicode();
        // Only the low byte is scrambled; the mask character itself is stored as it is.
        EXPECT_EQ(unit >> 8, original >> 8);
        EXPECT_EQ(unit == original, original == profile_file::kMask) << "unit " << (i - 2) / 2;
    }
    EXPECT_EQ(profile_file::Decode(bytes), text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProfileFileRoundTrip,
    ::testing::Values(
        SRoundTripRow{"Empty", QString()},
        SRoundTripRow{"Xml", QStringLiteral("<?xml version=\"1.0\"?><a b=\"c\"/>\n")},
        SRoundTripRow{"MaskCharacter", QStringLiteral("<a>\u00A5\u00A5 yen</a>")},
        SRoundTripRow{"LowByteOfMask", QStringLiteral("<a>\u01A5\u00A4\u00A6</a>")},
        SRoundTripRow{"OutsideBasicPlane", QStringLiteral("<a>\U0001D11E</a>")},
        // Chunks are 1023 units: texts ending exactly at, just before and just after a boundary,
        // and one spanning several chunks with a surrogate pair across a boundary.
        SRoundTripRow{"OneChunk", QStringLiteral("<?xml") + Repeat(u'x', 1018)},
        SRoundTripRow{"OneChunkLess", QStringLiteral("<?xml") + Repeat(u'x', 1017)},
        SRoundTripRow{"OneChunkMore", QStringLiteral("<?xml") + Repeat(u'x', 1019)},
        SRoundTripRow{"PairAcrossChunks",
                      QStringLiteral("<?xml") + Repeat(u'x', 1017) + QStringLiteral("\U0001D11E") +
                          Repeat(u'y', 2100)}),
    [](const ::testing::TestParamInfo<SRoundTripRow>& rowInfo) {
        return std::string(rowInfo.param.name);
    });

TEST(ProfileFile, GoldenFileReadsAndWritesByteForByte) {
    const QString text = QString::fromUtf8(ReadAll(kDataDir + QStringLiteral("golden.xml")));
    const QByteArray file = ReadAll(kDataDir + QStringLiteral("golden.vk4"));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_EQ(profile_file::Encode(text), file);
    EXPECT_EQ(profile_file::Decode(file), text);
    EXPECT_EQ(profile_file::Read(kDataDir + QStringLiteral("golden.vk4")), text);
}

struct SReadRow {
    const char* name;
    QByteArray bytes;
    QString text;
};

class ProfileFileReader : public ::testing::TestWithParam<SReadRow> {};

TEST_P(ProfileFileReader, DecodesAsTheFileSays) {
    EXPECT_EQ(profile_file::Decode(GetParam().bytes), GetParam().text);
}

const QString kXml = QStringLiteral("<?xml version=\"1.0\"?><p n=\"caf\u00E9 \u20AC\"/>");
const QString kScript = QStringLiteral("Option Explicit\r\nDim a\r\n");

INSTANTIATE_TEST_SUITE_P(
    Rows, ProfileFileReader,
    ::testing::Values(
        SReadRow{"Empty", QByteArray(), QString()},
        SReadRow{"MarkOnly", QByteArray("\xFF\xFE", 2), QString()},
        // Plain UTF-16 is recognised by its first characters, in any case.
        SReadRow{"PlainWideXml", Utf16(kXml), kXml},
        SReadRow{"PlainWideUpperCase", Utf16(QStringLiteral("<?XML ?><a/>")),
                 QStringLiteral("<?XML ?><a/>")},
        SReadRow{"PlainWideScript", Utf16(kScript), kScript},
        SReadRow{"ScrambledWideScript", profile_file::Encode(kScript), kScript},
        // Plain 8-bit text: UTF-8 (with or without mark) or, failing that, the ANSI code page.
        SReadRow{"PlainUtf8", kXml.toUtf8(), kXml},
        SReadRow{"PlainUtf8WithMark", QByteArray("\xEF\xBB\xBF") + kXml.toUtf8(), kXml},
        SReadRow{"PlainAnsi", ansi::Encode(kXml), kXml},
        SReadRow{"ScrambledAnsi", XorBytes(ansi::Encode(kXml)), kXml},
        SReadRow{"ScrambledUtf8", XorBytes(kXml.toUtf8()), kXml},
        // A UTF-8 character split by the 1023-byte chunking stays whole.
        SReadRow{"Utf8AcrossChunks",
                 (QStringLiteral("<?xml") + Repeat(u'x', 1017) + QStringLiteral("\u00E9z"))
                     .toUtf8(),
                 QStringLiteral("<?xml") + Repeat(u'x', 1017) + QStringLiteral("\u00E9z")},
        // An odd trailing byte is the low byte of a last unit.
        SReadRow{"OddLengthWide", Utf16(QStringLiteral("<?xml")) + QByteArray("A"),
                 QStringLiteral("<?xmlA")},
        // Each chunk is read into a zeroed buffer: its text ends at its first zero unit, and the
        // next chunk carries on.
        SReadRow{"ZeroUnitEndsItsChunk",
                 Utf16(QStringLiteral("<?xml") + Repeat(u'a', 10) + QChar(0) + Repeat(u'b', 1007) +
                       QStringLiteral("ccccc")),
                 QStringLiteral("<?xml") + Repeat(u'a', 10) + QStringLiteral("ccccc")}),
    [](const ::testing::TestParamInfo<SReadRow>& rowInfo) {
        return std::string(rowInfo.param.name);
    });

TEST(ProfileFile, ReadFailsOnlyWhenTheFileCannotBeRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(profile_file::Read(dir.filePath(QStringLiteral("missing.vk4"))), std::nullopt);
    EXPECT_EQ(profile_file::Read(dir.path()), std::nullopt);

    QFile empty(dir.filePath(QStringLiteral("empty.vk4")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_EQ(profile_file::Read(empty.fileName()), QString());
}

// The reader takes a file in steps, sized by neither the file (a FIFO reports none) nor the limit.
TEST(ProfileFile, ReadTakesLongFilesAndFifosWholeAndRefusesOversizedOnes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString text = QStringLiteral("<?xml version=\"1.0\"?><p t=\"") +
                         Repeat(u'\u00E9', 150000) + QStringLiteral("\"/>");
    const QByteArray bytes = profile_file::Encode(text);

    QFile longFile(dir.filePath(QStringLiteral("long.vk4")));
    ASSERT_TRUE(longFile.open(QIODevice::WriteOnly));
    ASSERT_EQ(longFile.write(bytes), bytes.size());
    longFile.close();
    EXPECT_EQ(profile_file::Read(longFile.fileName()), text);

    const QString fifo = dir.filePath(QStringLiteral("fifo.vk4"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    std::thread writer([&] {
        QFile out(fifo);
        if (out.open(QIODevice::WriteOnly)) {
            out.write(bytes);
        }
    });
    const std::optional<QString> fromFifo = profile_file::Read(fifo);
    writer.join();
    EXPECT_EQ(fromFifo, text);

    // Sparse: the limit's worth of zeros costs no disk.
    QFile oversized(dir.filePath(QStringLiteral("oversized.vk4")));
    ASSERT_TRUE(oversized.open(QIODevice::WriteOnly));
    ASSERT_TRUE(oversized.resize(profile_file::kMaxFileBytes + 1));
    oversized.close();
    EXPECT_EQ(profile_file::Read(oversized.fileName()), std::nullopt);
}

TEST(AnsiCodePage, EveryByteSurvivesAndUnknownCharactersAreMarked) {
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte) {
        all.append(static_cast<char>(byte));
    }
    const QString text = ansi::Decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x9F], QChar(0x0178));
    EXPECT_EQ(text[0x81], QChar(0x81));
    EXPECT_EQ(text[0xE9], QChar(0xE9));
    bool lossless = false;
    EXPECT_EQ(ansi::Encode(text, &lossless), all);
    EXPECT_TRUE(lossless);

    EXPECT_EQ(ansi::Encode(QStringLiteral("a\u0410\u20ACb"), &lossless), QByteArray("a?\x80"
                                                                                    "b"));
    EXPECT_FALSE(lossless);
}

}  // namespace
