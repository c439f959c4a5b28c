#include "model/profile_admission.h"

#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include "model/profile_file.h"
#include "model/settings_documents.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/xml_document.h"
#include "qt_print.h"
#include "recording_prompt.h"
#include "source_files.h"
#include "temp_hives.h"

#include <gtest/gtest.h>

namespace {

const QString kSourceDir = QStringLiteral(VESK_SOURCE_DIR);
const QString kTemplates = kSourceDir + QStringLiteral("/install/profiletemplate/");

using Edits = std::vector<std::pair<QByteArray, QByteArray>>;

QByteArray Apply(QByteArray text, const Edits& edits) {
    for (const auto& [from, to] : edits) {
        EXPECT_TRUE(text.contains(from)) << from.toStdString();
        text.replace(from, to);
    }
    return text;
}

// An installation as the program has it after start-up: rule script, schema, and the Region and
// UpDownGradeSetting documents loaded.
class ProfileAdmission : public ::testing::Test {
protected:
    ProfileAdmission() {
        hives.WriteMachine("[General]\nInstallPath=" + Install(QString()).toUtf8() + "\n");
        for (const char* name :
             {"profiletemplate/DataProfile.vbs", "profiletemplate/DataProfile.xsd",
              "lib/Region.stv", "lib/UpDownGradeSetting.stv"}) {
            const QString relative = QString::fromUtf8(name);
            if (QFile::exists(kSourceDir + QStringLiteral("/install/") + relative)) {
                CTempHives::Write(Install(relative),
                                  ReadSource(QStringLiteral("install/") + relative));
            }
        }
        LoadRegion(ReadSource(QStringLiteral("install/lib/Region.stv")));
        if (std::optional<CXmlDocument> rules = CSettingsDocuments::LoadSettingDoc(
                config, prompt, QStringLiteral("UpDownGradeSetting.stv"))) {
            settings.Set(CSettingsDocuments::Doc::UpDownGradeSetting, std::move(*rules));
        }
        EXPECT_TRUE(prompt.ids.isEmpty()) << "the installation's settings documents do not load";
        prompt.ids.clear();
        prompt.texts.clear();
    }

    QString Install(const QString& relative) const {
        return hives.Path(QStringLiteral("install/") + relative);
    }
    void LoadRegion(const QByteArray& text) {
        CTempHives::Write(Install(QStringLiteral("lib/Region.stv")), text);
        if (std::optional<CXmlDocument> region =
                CSettingsDocuments::LoadSettingDoc(config, prompt, QStringLiteral("Region.stv"))) {
            settings.Set(CSettingsDocuments::Doc::Region, std::move(*region));
        }
    }
    QString Write(const char* name, const QByteArray& bytes) const {
        const QString path = hives.Path(QStringLiteral("profiles/") + QString::fromUtf8(name));
        CTempHives::Write(path, bytes);
        return path;
    }
    bool Check(const QString& path) {
        return CheckProfileAdmission(path, config, prompt, settings);
    }

    CTempHives hives;
    CConfiguration config = hives.Config();
    CRecordingPrompt prompt;
    CSettingsDocuments settings;
};

const QByteArray kRegionNotSupported = "The CPS does not support this profile's region.";

struct SAdmissionRow {
    const char* name;
    Edits profileEdits;  // on tests/data/profiles/good/handheld_uhf.xml
    Edits regionEdits;   // on the installation's Region.stv
    bool admitted;
    QList<int> ids;
    // For 310: the edition that 503 names after it, or null for 310 alone.
    const char* edition = nullptr;
    // For 135: what the text must say; without it, the line of the schema's refusal.
    const char* says = nullptr;
};

const Edits kUnknownAttribute = {{"<limit ", "<limit bogus=\"1\" "}};

Edits Plus(Edits first, const Edits& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

Edits Version(const char* phase, const char* version) {
    return {{"codeplug_phase=\"R\" codeplug_version=\"3\"",
             QByteArray("codeplug_phase=\"") + phase + "\" codeplug_version=\"" + version + "\""}};
}

Edits Model(const char* model) {
    return {{"model=\"CUD41600\"", QByteArray("model=\"") + model + "\""}};
}

Edits Frequency(const char* hz) {
    return {{"freq=\"461037500\"", QByteArray("freq=\"") + hz + "\""}};
}

const std::vector<SAdmissionRow> kRows = {
    {"asShipped", {}, {}, true, {}},
    {"version2", Version("R", "2"), {}, true, {}},
    {"version3", Version("R", "3"), {}, true, {}},
    {"version1", Version("R", "1"), {}, true, {}},
    {"releaseVersion4", Version("R", "4"), {}, false, {342}},
    {"pilotVersion4", Version("P", "4"), {}, false, {342}},
    {"developmentVersion9", Version("D", "9"), {}, true, {}},
    {"developmentVersion255", Version("D", "255"), {}, true, {}},
    {"lowerCaseDevelopmentVersion9", Version("d", "9"), {}, false, {342}},
    // The installation's own version decides, not the shipped number 3.
    {"cpsVersion4ProfileVersion4",
     Version("R", "4"),
     {{"<CPVersion>3</CPVersion>", "<CPVersion>4</CPVersion>"}},
     true,
     {}},
    {"cpsVersion2ProfileVersion3",
     {},
     {{"<CPVersion>3</CPVersion>", "<CPVersion>2</CPVersion>"}},
     false,
     {342}},
    {"region01", Model("CUD41601"), {}, true, {}},
    {"region73", Model("CUD41673"), {}, true, {}},
    {"region02", Model("CUD41602"), {}, false, {310}, "ZN420 CPS Europe"},
    {"region71", Model("CUD41671"), {}, false, {310}, "ZN420 CPS Europe"},
    {"region03", Model("CUD41603"), {}, false, {310}, "ZN420 CPS Asia Pacific"},
    {"region08", Model("CUD41608"), {}, false, {310}, "ZN420 CPS China"},
    {"regionWithoutEdition", Model("CUD41609"), {}, false, {310}},
    {"regionWithoutEdition99", Model("CUD41699"), {}, false, {310}},
    // A supported code must match both characters: "7" does not admit "07".
    {"shortSupportedCode",
     Model("CUD41607"),
     {{"<code num=\"73\"/>", "<code num=\"73\"/><code num=\"7\"/>"}},
     false,
     {310}},
    {"twoCharacterSupportedCode",
     Model("CUD41607"),
     {{"<code num=\"73\"/>", "<code num=\"73\"/><code num=\"07\"/>"}},
     true,
     {}},
    {"mursFrequency1", Frequency("151820000"), {}, false, {284}},
    {"mursFrequency2", Frequency("151880000"), {}, false, {284}},
    {"mursFrequency3", Frequency("151940000"), {}, false, {284}},
    {"mursFrequency4", Frequency("154570000"), {}, false, {284}},
    {"mursFrequency5", Frequency("154600000"), {}, false, {284}},
    {"besideMursFrequency", Frequency("151820001"), {}, true, {}},
    // MURS comes first, before the schema, the region and the version.
    {"mursAndSchemaBroken", Plus(Frequency("154600000"), kUnknownAttribute), {}, false, {284}},
    {"mursAndRegion02", Plus(Frequency("154600000"), Model("CUD41602")), {}, false, {284}},
    {"mursAndVersion4", Plus(Frequency("154600000"), Version("R", "4")), {}, false, {284}},
    {"schemaBroken", kUnknownAttribute, {}, false, {model_msg::kInvalidProfile}},
    {"schemaBrokenAndRegion02",
     Plus(kUnknownAttribute, Model("CUD41602")),
     {},
     false,
     {model_msg::kInvalidProfile}},
    {"regionBeforeVersion",
     Plus(Model("CUD41602"), Version("R", "4")),
     {},
     false,
     {310},
     "ZN420 CPS Europe"},
    // A text that does not parse holds no frequency at all: it is refused for what it is, with
    // the parser's reason.
    {"notXml",
     {{"</VeskProfile>", ""}},
     {},
     false,
     {model_msg::kInvalidProfile},
     nullptr,
     "Desc: Premature end of data in tag VeskProfile"},
};

class ProfileAdmissionRow : public ProfileAdmission,
                            public ::testing::WithParamInterface<std::tuple<SAdmissionRow, bool>> {
};

TEST_P(ProfileAdmissionRow, DecidesAndShowsItsMessages) {
    const auto& [row, scrambled] = GetParam();
    if (!row.regionEdits.empty()) {
        LoadRegion(Apply(ReadSource(QStringLiteral("install/lib/Region.stv")), row.regionEdits));
        ASSERT_TRUE(prompt.ids.isEmpty());
    }
    const QByteArray text = Apply(
        ReadSource(QStringLiteral("tests/data/profiles/good/handheld_uhf.xml")), row.profileEdits);
    const QString path =
        Write("profile.vk4", scrambled ? profile_file::Encode(QString::fromUtf8(text)) : text);

    EXPECT_EQ(Check(path), row.admitted) << prompt.texts.join(u'\n').toStdString();
    EXPECT_EQ(prompt.ids, row.ids) << prompt.texts.join(u'\n').toStdString();
    if (row.ids == QList<int>{310}) {
        QString expected = QString::fromUtf8(kRegionNotSupported);
        if (row.edition) {
            expected +=
                QStringLiteral(" Please use the \"%1\".").arg(QString::fromUtf8(row.edition));
        }
        EXPECT_EQ(prompt.texts.value(0), expected);
    }
    if (row.ids == QList<int>{model_msg::kInvalidProfile}) {
        EXPECT_TRUE(prompt.texts.value(0).contains(row.says ? QString::fromUtf8(row.says)
                                                            : QStringLiteral("Line:")))
            << prompt.texts.value(0).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ProfileAdmissionRow,
                         ::testing::Combine(::testing::ValuesIn(kRows), ::testing::Bool()),
                         [](const auto& row) {
                             return std::string(std::get<0>(row.param).name) +
                                    (std::get<1>(row.param) ? "_scrambled" : "_plain");
                         });

TEST_F(ProfileAdmission, EveryInstalledTemplateIsAdmitted) {
    const QStringList templates =
        QDir(kTemplates).entryList({QStringLiteral("*.vk4")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(templates.isEmpty()) << "no template in " << kTemplates.toStdString();
    for (const QString& name : templates) {
        EXPECT_TRUE(Check(kTemplates + name)) << name.toStdString();
    }
    EXPECT_TRUE(prompt.ids.isEmpty()) << prompt.texts.join(u'\n').toStdString();
}

class ProfileAdmissionUnreadable : public ProfileAdmission,
                                   public ::testing::WithParamInterface<const char*> {};

// The caller reports the file error; the check itself says nothing.
TEST_P(ProfileAdmissionUnreadable, FailsWithoutAMessage) {
    EXPECT_FALSE(Check(hives.Path(QString::fromUtf8(GetParam()))));
    EXPECT_TRUE(prompt.ids.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, ProfileAdmissionUnreadable,
                         ::testing::Values("nosuch.vk4", "install/nosuch/profile.vk4",
                                           "install/lib"));

TEST_F(ProfileAdmission, EmptyFileIsRefusedWithAMessage) {
    EXPECT_FALSE(Check(Write("empty.vk4", QByteArray())));
    EXPECT_EQ(prompt.ids.size(), 1);
}

}  // namespace
