#include "model/profile_csv.h"

#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "model/data_item.h"
#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "profile_installation.h"
#include "qt_print.h"
#include "recording_prompt.h"
#include "source_files.h"
#include "temp_hives.h"

#include <gtest/gtest.h>

namespace profile_csv {

bool operator==(const SImportProblem& a, const SImportProblem& b) {
    return a.line == b.line && a.message == b.message;
}

void PrintTo(const SImportProblem& problem, std::ostream* out) {
    *out << problem.line << ": " << problem.message.toStdString();
}

}  // namespace profile_csv

namespace {

using profile_csv::ETable;
using profile_csv::SImportProblem;

const QString kSourceDir = QStringLiteral(VESK_SOURCE_DIR);
const QString kHandheld = kSourceDir + QStringLiteral("/tests/data/profiles/good/handheld_uhf.xml");
// A 16-channel UHF display model of region 00 (narrowband), band 450-470 MHz, 14 frequencies.
const QString kTemplate = kSourceDir + QStringLiteral("/install/profiletemplate/CUD41600.vk4");

// The attributes of every entry of a table, for comparing two profiles' tables.
QStringList Table(const CDataItem& root, const char* name) {
    QStringList rows;
    const CDataItem table = root.GetChildByName(QString::fromLatin1(name));
    for (int i = 0; i < table.GetChildCount(); ++i) {
        const CDataItem entry = table.GetChildByIndex(i);
        QStringList values;
        for (const QString& attribute : entry.AttributeNames()) {
            values << attribute + u'=' + entry.AttributeText(attribute).value_or(QString());
        }
        rows << values.join(u' ');
    }
    return rows;
}

// The data rows of an export in reverse order, numbered again from 1.
QByteArray Reversed(const QByteArray& csv) {
    QList<QByteArray> lines = csv.split('\n');
    lines.removeLast();
    QByteArray out = lines.takeFirst() + '\n';
    for (qsizetype i = lines.size() - 1, n = 1; i >= 0; --i, ++n) {
        out += QByteArray::number(n) + lines[i].mid(lines[i].indexOf(',')) + '\n';
    }
    return out;
}

// An installation with the rule script, the schema and the settings documents.
class ProfileCsv : public ::testing::Test {
protected:
    ProfileCsv() {
        InstallForProfiles(hives, config, prompt, settings);
        EXPECT_TRUE(document.Open(kTemplate));
    }

    QString Install(const QString& relative) const {
        return hives.Path(QStringLiteral("install/") + relative);
    }
    QByteArray State() const { return document.Model().SaveWorkingState(); }
    QByteArray Export(ETable table) const {
        return profile_csv::Export(document.Model().RootItem(), table);
    }

    CTempHives hives;
    CConfiguration config = hives.Config();
    CRecordingPrompt prompt;
    CSettingsDocuments settings;
    CProfileDocument document{config, prompt, &settings};
};

TEST_F(ProfileCsv, ExportOfATemplateIsTheGoldenFile) {
    EXPECT_EQ(Export(ETable::Frequencies),
              ReadSource(QStringLiteral("tests/data/csv/CUD41600_frequencies.csv")));
    EXPECT_EQ(Export(ETable::Channels),
              ReadSource(QStringLiteral("tests/data/csv/CUD41600_channels.csv")));
}

// Another profile of the same model takes both tables and gives the same files back; the channels
// find their frequencies at the positions the import gave them.
TEST_F(ProfileCsv, TablesMoveToAnotherProfileOfTheSameModel) {
    CProfileDocument source{config, prompt, &settings};
    ASSERT_TRUE(source.Open(kHandheld));
    const CDataItem from = source.Model().RootItem();
    const QByteArray frequencies = profile_csv::Export(from, ETable::Frequencies);
    const QByteArray channels = profile_csv::Export(from, ETable::Channels);
    ASSERT_NE(frequencies, Export(ETable::Frequencies));
    ASSERT_NE(channels, Export(ETable::Channels));

    for (auto [table, csv] :
         {std::pair{ETable::Frequencies, frequencies}, {ETable::Channels, channels}}) {
        const profile_csv::SImportResult result = profile_csv::Import(document, table, csv);
        EXPECT_TRUE(result.applied);
        EXPECT_EQ(result.problems, std::vector<SImportProblem>());
        EXPECT_EQ(result.rows, 16);
    }
    EXPECT_EQ(Export(ETable::Frequencies), frequencies);
    EXPECT_EQ(Export(ETable::Channels), channels);
    const CDataItem to = document.Model().RootItem();
    EXPECT_EQ(Table(to, "frequencies"), Table(from, "frequencies"));
    EXPECT_EQ(Table(to, "channels"), Table(from, "channels"));
    EXPECT_TRUE(document.IsModified());
    EXPECT_TRUE(prompt.ids.isEmpty());
}

// A spreadsheet sorted the other way round: every frequency and every channel name is still held
// by another entry when its new place is written, which the rules refuse unless the entries make
// way first.
TEST_F(ProfileCsv, ReorderedTablesImport) {
    for (ETable table : {ETable::Frequencies, ETable::Channels}) {
        const QByteArray reversed = Reversed(Export(table));
        const profile_csv::SImportResult result = profile_csv::Import(document, table, reversed);
        EXPECT_TRUE(result.applied);
        EXPECT_EQ(result.problems, std::vector<SImportProblem>());
        EXPECT_EQ(Export(table), reversed);
    }
}

TEST_F(ProfileCsv, UndoOfAnImportGivesBackTheIdenticalProfile) {
    const QByteArray before = State();
    ASSERT_TRUE(
        profile_csv::Import(document, ETable::Frequencies, Reversed(Export(ETable::Frequencies)))
            .applied);
    const QByteArray after = State();
    ASSERT_NE(after, before);
    EXPECT_EQ(document.History().UndoLabel(), QStringLiteral("Import from a spreadsheet"));
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(State(), before);
    EXPECT_FALSE(document.History().CanUndo());
    EXPECT_FALSE(document.IsModified());
    ASSERT_TRUE(document.Redo());
    EXPECT_EQ(State(), after);
}

// --- A bad file changes nothing and names every bad line ---

const QByteArray kFrequencyHeader = "Index,Frequency (MHz),Bandwidth,Power Level,Compander\n";
const QByteArray kChannelHeader =
    "Index,Name,Disabled,Rx Frequency (MHz),Rx Bandwidth (kHz),Talkaround Power,Rx Code,"
    "Tx Frequency (MHz),Tx Bandwidth (kHz),Repeater Power,Tx Code,Scramble,Repeater,"
    "Talkaround Scan,Auto Scan,Scan List\n";

QByteArray Channel(const char* name, const char* mhz, const char* code = "1 - 67.0 Hz",
                   const char* power = "High") {
    return QByteArray("1,") + name + ",OFF," + mhz + ",12.5," + power + "," + code + "," + mhz +
           ",12.5,High," + code + ",OFF,OFF,OFF,OFF,ON\n";
}

QByteArray Rows(const QByteArray& row, int count) {
    QByteArray rows;
    for (int i = 0; i < count; ++i) {
        rows += QByteArray(row).replace("NAME", QByteArray::number(i));
    }
    return rows;
}

// `count` distinct frequencies on the 12.5 kHz raster from 450 MHz.
QByteArray FrequencyRows(int count) {
    QByteArray rows;
    for (int i = 0; i < count; ++i) {
        const int hertz = 450000000 + i * 12500;
        rows += QStringLiteral("%1,%2.%3,0,0,2\n")
                    .arg(i + 1)
                    .arg(hertz / 1000000)
                    .arg(hertz % 1000000, 6, 10, QChar(u'0'))
                    .toUtf8();
    }
    return rows;
}

struct SBadRow {
    const char* name;
    ETable table;
    QByteArray csv;
    std::vector<SImportProblem> problems;
};

std::ostream& operator<<(std::ostream& out, const SBadRow& row) {
    return out << row.name;
}

class ProfileCsvBad : public ProfileCsv, public ::testing::WithParamInterface<SBadRow> {};

TEST_P(ProfileCsvBad, ChangesNothingAndNamesEveryBadLine) {
    const SBadRow& row = GetParam();
    const QByteArray before = State();
    const profile_csv::SImportResult result = profile_csv::Import(document, row.table, row.csv);
    EXPECT_FALSE(result.applied);
    EXPECT_EQ(result.problems, row.problems);
    EXPECT_EQ(State(), before);
    EXPECT_FALSE(document.History().CanUndo());
    EXPECT_FALSE(document.IsModified());
}

const QString kMurs = QStringLiteral("Invalid Frequency.");
const QString kOutOfBand =
    QStringLiteral("Invalid frequency: This frequency is not supported by this radio.");
const QString kBandwidth = QStringLiteral("Invalid Bandwidth selection.");
const QString kPower = QStringLiteral("Invalid Power level selection.");

INSTANTIATE_TEST_SUITE_P(
    Files, ProfileCsvBad,
    ::testing::Values(
        SBadRow{"every_kind_of_bad_frequency_line",
                ETable::Frequencies,
                kFrequencyHeader + "1,461.0375,12.5 KHz only,Low power only,ON\n"
                                   "2,151.820000,12.5 KHz only,Low power only,ON\n"
                                   "3,440.000000,12.5 KHz only,Low power only,ON\n"
                                   "4,\"461.037500\",0,0,3\n"
                                   "5,462.5625,13 KHz only,low power only,off\n"
                                   "6,462.575\n"
                                   "7,462.6,12.5 KHz only,Loud,ON\n"
                                   "8,462.6125,12.5 KHz only,Low power only,maybe\n",
                {{3, kMurs},
                 {4, kOutOfBand},
                 {5, QStringLiteral("461.037500 is already on line 2.")},
                 {6, kBandwidth},
                 {7, QStringLiteral("Expected 5 columns, found 2.")},
                 {8, kPower},
                 {9, QStringLiteral("Compander: 'maybe' is not a valid value.")}}},
        SBadRow{"not_utf8",
                ETable::Frequencies,
                kFrequencyHeader + "1,461.0375,0,0,2\n2,462.5\xff,0,0,2\n",
                {{3, QStringLiteral("The file is not UTF-8 text.")}}},
        SBadRow{"empty",
                ETable::Channels,
                "",
                {{1, QStringLiteral("The first line must be the header row: ") +
                         QString::fromUtf8(kChannelHeader).trimmed()}}},
        SBadRow{"frequency_header_on_channels",
                ETable::Channels,
                kFrequencyHeader + "1,461.0375,0,0,2\n",
                {{1, QStringLiteral("The first line must be the header row: ") +
                         QString::fromUtf8(kChannelHeader).trimmed()}}},
        SBadRow{"more_frequencies_than_the_image_holds",
                ETable::Frequencies,
                kFrequencyHeader + FrequencyRows(100),
                {{101, QStringLiteral("Between 0 and 99 rows are allowed, found 100.")}}},
        SBadRow{"every_kind_of_bad_channel_line",
                ETable::Channels,
                kChannelHeader + Channel("\"A,B\"", "461.037500") + Channel("a,b", "461.062500") +
                    Channel("C", "462.500000") + Channel("D", "461.037500", "999 - VRC 999") +
                    Channel("E", "461.037500", "1 - 67.0 Hz", "Loud") + Channel("F", "154.600000"),
                {{3, QStringLiteral("Expected 16 columns, found 17.")},
                 {4, QStringLiteral("No frequency 462.500000 MHz in the RF frequency table.")},
                 {5, QStringLiteral("Rx Code: '999 - VRC 999' is not a valid value.")},
                 {5, QStringLiteral("Tx Code: '999 - VRC 999' is not a valid value.")},
                 {6, kPower},
                 {7, kMurs}}},
        SBadRow{"duplicate_channel_names",
                ETable::Channels,
                kChannelHeader + Channel("CH 01", "461.037500") + Channel("ch 01", "461.0625"),
                {{3, QStringLiteral("ch 01 is already on line 2.")}}},
        SBadRow{"more_channels_than_the_model_offers",
                ETable::Channels,
                kChannelHeader + Rows(Channel("X NAME", "461.037500"), 17),
                {{18, QStringLiteral("Between 1 and 16 rows are allowed, found 17.")}}},
        // Refusals of the rules themselves come while the import is under way: what was already
        // changed goes back.
        SBadRow{"rules_refuse_wideband_in_a_narrowband_region",
                ETable::Frequencies,
                kFrequencyHeader + "1,461.0375,12.5 KHz only,Low power only,ON\n"
                                   "2,461.1,25 KHz only,Low power only,OFF\n",
                {{3, QStringLiteral("Frequency (Frequencies) used by channel can not be deleted.")},
                 {3, kBandwidth}}},
        SBadRow{"rules_refuse_a_name_the_radio_cannot_show",
                ETable::Channels,
                kChannelHeader + Channel("NEW 1", "461.037500") + Channel("x~y", "461.0625"),
                {{3, QStringLiteral("Channel name can only contain: A-Z, 0-9, b, c, d, g, h, l, "
                                    "i, o, r, u, *, {, }, ?, &, %, ., +, /, \\, -, '")}}}),
    [](const ::testing::TestParamInfo<SBadRow>& row) { return std::string(row.param.name); });

}  // namespace
