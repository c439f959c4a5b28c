#include "model/data_item.h"

#include <memory>
#include <optional>
#include <utility>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QVariant>

#include "edit_result_print.h"
#include "model/profile_node_access.h"
#include "model/rule_script_host.h"
#include "model/schema_index.h"
#include "platform/script/dom.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"
#include "qt_print.h"
#include "recording_prompt.h"
#include "source_files.h"

#include <gtest/gtest.h>

namespace {

xmlNodePtr Xml(const CDataItem& item) {
    return CProfileNodeAccess::Xml(item.Node());
}

const QString kSourceDir = QStringLiteral(VESK_SOURCE_DIR);
const QString kHandheld = QStringLiteral("/tests/data/profiles/good/handheld_uhf.xml");
const QString kSpare = QStringLiteral("/tests/script/rules/spare_channels.xml");

const CSchemaIndex& Schema() {
    static const CXmlDocument xsd = CXmlDocument::ParseFile(
        kSourceDir + QStringLiteral("/install/profiletemplate/DataProfile.xsd"));
    static const CSchemaIndex index = CSchemaIndex::Build(xsd);
    return index;
}

// Runs `call` and gives the message number of the model exception it raised; nullopt when it
// raised nothing. The context text must name the operation that failed.
template <typename Call>
std::optional<int> RaisedBy(Call call, const char* operation) {
    try {
        call();
    } catch (const CVeskCPSException& error) {
        EXPECT_TRUE(error.Text().contains(QString::fromUtf8(operation))) << error.what();
        return error.MessageId();
    }
    return std::nullopt;
}

class DataItem : public ::testing::Test {
protected:
    // `scriptEdit`: a text of the rule script replaced by another before it starts.
    void Load(const QString& profile, const std::pair<QString, QString>& scriptEdit = {}) {
        document = CXmlDocument::Parse(ReadSource(profile), profile);
        view = vbs::CDomDocument::Wrap(document.Get());
        view->SetSelectionNamespaces(
            {{QStringLiteral("dfns"), QStringLiteral("urn:corvane:vesk-kel:profile:1")}});
        QString script = QString::fromUtf8(
            ReadSource(QStringLiteral("install/profiletemplate/DataProfile.vbs")));
        if (!scriptEdit.first.isEmpty()) {
            EXPECT_TRUE(script.contains(scriptEdit.first));
            script.replace(scriptEdit.first, scriptEdit.second);
        }
        host.Start(script, QStringLiteral("DataProfile.vbs"));
        host.SetDocument(view);
        auto shared = std::make_shared<SDataContext>();
        shared->script = &host;
        shared->schema = &Schema();
        context = shared;
        root = CDataItem(CProfileNodeAccess::Wrap(document.Root()), context);
    }
    void SetUp() override { Load(kHandheld); }
    void TearDown() override {
        host.SetDocument(nullptr);
        if (view) {
            view->Release();
        }
    }

    // The item at a path from the root, each step a child name or "name[i]" for the i-th child.
    CDataItem At(const QString& path) const {
        CDataItem item = root;
        for (const QString& step : path.split(QLatin1Char('/'))) {
            const qsizetype bracket = step.indexOf(QLatin1Char('['));
            CDataItem next;
            if (bracket < 0) {
                next = item.GetChildByName(step);
            } else {
                // Every list element holds children of one name, so the index alone picks one.
                next = item.GetChildByIndex(step.mid(bracket + 1).chopped(1).toInt());
                EXPECT_EQ(next.Name(), step.left(bracket));
            }
            item = next;
        }
        return item;
    }
    QString Raw(const CDataItem& item, const char* name) const {
        return xml::Attribute(Xml(item), name).value_or(QStringLiteral("<missing>"));
    }

    CRecordingPrompt prompt;
    CRuleScriptHost host{prompt};
    CXmlDocument document;
    std::shared_ptr<vbs::CDomDocument> view;
    std::shared_ptr<const SDataContext> context;
    CDataItem root;
};

struct STypingRow {
    const char* path;
    const char* attribute;
    QMetaType::Type type;
    QVariant expected;
};

class DataItemTyping : public DataItem, public ::testing::WithParamInterface<STypingRow> {};

TEST_P(DataItemTyping, ValueIsTypedByTheSchema) {
    const STypingRow& row = GetParam();
    const QVariant value =
        At(QString::fromUtf8(row.path)).GetAttributeValue(QString::fromUtf8(row.attribute));
    EXPECT_EQ(value.typeId(), static_cast<int>(row.type)) << value.typeName();
    EXPECT_EQ(value, row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DataItemTyping,
    ::testing::Values(
        STypingRow{"channels/channel[0]", "rx_code", QMetaType::Int,
                   QVariant::fromValue<qint32>(0)},
        STypingRow{"channels/channel[1]", "rx_code", QMetaType::Int,
                   QVariant::fromValue<qint32>(7)},
        STypingRow{"factory_setting", "sub_region", QMetaType::Int, QVariant::fromValue<qint32>(0)},
        STypingRow{"channels/channel[0]", "in_scanlist", QMetaType::Bool, QVariant(true)},
        STypingRow{"channels/channel[1]", "in_scanlist", QMetaType::Bool, QVariant(false)},
        STypingRow{"frequencies/frequency[0]", "freq", QMetaType::UInt,
                   QVariant::fromValue<quint32>(464500000U)},
        STypingRow{"limit", "end_freq", QMetaType::UInt, QVariant::fromValue<quint32>(470000000U)},
        STypingRow{"channels/channel[2]", "name", QMetaType::QString,
                   QVariant(QStringLiteral("CH 03"))},
        STypingRow{"factory_setting", "model", QMetaType::QString,
                   QVariant(QStringLiteral("CUD41600"))}));

TEST_F(DataItem, ChildrenAreCountedAndIndexedOverElements) {
    const CDataItem channels = At(QStringLiteral("channels"));
    EXPECT_EQ(channels.GetChildCount(), 16);
    EXPECT_EQ(At(QStringLiteral("setting")).GetChildCount(), 2);
    EXPECT_EQ(root.GetChildCount(), 5);
    CDataItem last = channels.GetChildByIndex(15);
    ASSERT_FALSE(last.IsEmpty());
    EXPECT_EQ(last.GetAttributeValue(QStringLiteral("name")), QVariant(QStringLiteral("CH 16")));
    EXPECT_TRUE(channels.GetChildByIndex(16).IsEmpty());
    EXPECT_TRUE(channels.GetChildByIndex(-1).IsEmpty());
}

TEST_F(DataItem, BadNamesAndIndexesRaiseTheirNumbers) {
    EXPECT_EQ(RaisedBy([&] { root.GetChildByName(QStringLiteral("channel")); },
                       "CDataItem::GetChildByName"),
              132);  // a grandchild is no child
    EXPECT_EQ(RaisedBy([&] { root.GetChildByName(QStringLiteral("nosuch")); },
                       "CDataItem::GetChildByName"),
              132);
    const CDataItem channel = At(QStringLiteral("channels/channel[0]"));
    EXPECT_EQ(RaisedBy([&] { channel.GetAttributeValue(QStringLiteral("freq")); },
                       "CDataItem::GetAttributeValue"),
              133);
    CDataItem channelCopy = channel;
    EXPECT_EQ(
        RaisedBy([&] { channelCopy.SetAttributeValue(QStringLiteral("nosuch"), QVariant(1)); },
                 "CDataItem::SetAttributeValue"),
        133);
    CDataItem channels = At(QStringLiteral("channels"));
    for (int index : {16, -1, 1000}) {
        EXPECT_EQ(
            RaisedBy([&] { channels.RemoveChildByIndex(index); }, "CDataItem::RemoveChildByIndex"),
            133)
            << index;
    }
    EXPECT_EQ(channels.GetChildCount(), 16);
}

TEST_F(DataItem, ValueThatDoesNotFitItsTypeIsRefused) {
    CDataItem channel = At(QStringLiteral("channels/channel[0]"));
    xml::SetAttribute(Xml(channel), "rx_code", QStringLiteral("seven"));
    EXPECT_EQ(RaisedBy([&] { channel.GetAttributeValue(QStringLiteral("rx_code")); },
                       "CDataItem::GetAttributeValue"),
              131);
}

struct SDirectWriteRow {
    const char* attribute;
    QVariant value;
    const char* stored;
};

class DataItemDirectWrite : public DataItem,
                            public ::testing::WithParamInterface<SDirectWriteRow> {};

// rx_bw, tx_bw, talkaround_scan and rx_code have no SetVal rule: the item writes them itself.
TEST_P(DataItemDirectWrite, WritesWithoutHandlerInStoredForm) {
    const SDirectWriteRow& row = GetParam();
    CDataItem channel = At(QStringLiteral("channels/channel[3]"));
    xmlAttrPtr attribute =
        xmlHasProp(Xml(channel), reinterpret_cast<const xmlChar*>(row.attribute));
    ASSERT_NE(attribute, nullptr);
    EXPECT_FALSE(
        channel.GetScriptHandler(CProfileNodeAccess::Wrap(attribute), QStringLiteral("SetVal")));
    EXPECT_EQ(channel.SetAttributeValue(QString::fromUtf8(row.attribute), row.value),
              CEditResult::Accepted());
    EXPECT_EQ(Raw(channel, row.attribute), QString::fromUtf8(row.stored));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DataItemDirectWrite,
    ::testing::Values(SDirectWriteRow{"rx_bw", QVariant(true), "1"},
                      SDirectWriteRow{"talkaround_scan", QVariant(true), "1"},
                      SDirectWriteRow{"talkaround_power", QVariant(false), "0"},
                      SDirectWriteRow{"tx_bw", QVariant(QStringLiteral("true")), "1"},
                      SDirectWriteRow{"repeater_power", QVariant(QStringLiteral("false")), "0"},
                      SDirectWriteRow{"rx_code", QVariant::fromValue<qint32>(42), "42"},
                      SDirectWriteRow{"scramble_code", QVariant::fromValue<quint32>(3U), "3"}));

struct SNameRow {
    const char* name;
    qint32 result;
    qint32 out1;
    qint32 out2;
    const char* stored;
};

class DataItemChannelName : public DataItem, public ::testing::WithParamInterface<SNameRow> {};

TEST_P(DataItemChannelName, RuleDecides) {
    const SNameRow& row = GetParam();
    CDataItem channel = At(QStringLiteral("channels/channel[0]"));
    xmlAttrPtr attribute = xmlHasProp(Xml(channel), reinterpret_cast<const xmlChar*>("name"));
    EXPECT_EQ(
        channel.GetScriptHandler(CProfileNodeAccess::Wrap(attribute), QStringLiteral("SetVal")),
        QStringLiteral("SetChannelName"));
    EXPECT_EQ(
        channel.SetAttributeValue(QStringLiteral("name"), QVariant(QString::fromUtf8(row.name))),
        CEditResult::FromScript(row.result, row.out1, row.out2));
    EXPECT_EQ(Raw(channel, "name"), QString::fromUtf8(row.stored));
    EXPECT_TRUE(prompt.ids.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, DataItemChannelName,
                         ::testing::Values(SNameRow{"BASE", 0, 0, 0, "BASE"},
                                           SNameRow{"CH#1", 1, 222, 48, "CH 01"},
                                           SNameRow{"TOOLONGNAME", 1, 222, 48, "CH 01"},
                                           SNameRow{"CH 02", 1, 298, 48, "CH 01"},
                                           SNameRow{"ch 02", 1, 298, 48, "CH 01"}));

TEST_F(DataItem, NumbersReachTheScriptAsNumbers) {
    CDataItem preset = At(QStringLiteral("setting/preset[0]"));
    EXPECT_TRUE(preset.SetAttributeValue(QStringLiteral("channel"), QVariant::fromValue<qint32>(3))
                    .IsAccepted());
    EXPECT_EQ(preset.GetAttributeValue(QStringLiteral("channel")), QVariant::fromValue<qint32>(3));
    EXPECT_EQ(
        preset.SetAttributeValue(QStringLiteral("channel"), QVariant::fromValue<quint32>(40U)),
        CEditResult::FromScript(1, 282, 48));
    EXPECT_EQ(Raw(preset, "channel"), QStringLiteral("3"));
}

// A rule that fails names the value it was given in the failure's text, which goes into
// messages and the command line's output; a password must not.
TEST_F(DataItem, FailedRuleNamesNoPassword) {
    TearDown();
    Load(kHandheld, {QStringLiteral("    s = ToText(value)\n    If Len(s) = 0 Then\n"),
                     QStringLiteral("    s = 1 / 0\n    If Len(s) = 0 Then\n")});
    CDataItem setting = At(QStringLiteral("setting"));
    try {
        setting.SetAttributeValue(QStringLiteral("password"), QStringLiteral("2468"));
        ADD_FAILURE() << "the failing rule raised nothing";
    } catch (const CVeskCPSException& error) {
        EXPECT_EQ(error.MessageId(), model_msg::kUnknownError);
        EXPECT_TRUE(error.Text().contains(QStringLiteral("Attribute=password")));
        // No EXPECT_EQ on the text: a failure here must not print the password either.
        EXPECT_FALSE(error.Text().contains(QStringLiteral("2468")));
    }
}

TEST_F(DataItem, DeletingAPresetChannelNeedsConfirmation) {
    CDataItem channels = At(QStringLiteral("channels"));
    const CEditResult asked = channels.RemoveChildByIndex(5);
    EXPECT_EQ(asked, CEditResult::FromScript(2, 401, 36));
    EXPECT_EQ(asked.Style(), PromptStyle::YesNo);
    EXPECT_EQ(channels.GetChildCount(), 16);

    EXPECT_EQ(channels.RemoveChildByIndex(5, EConfirmation::Confirmed), CEditResult::Accepted());
    EXPECT_EQ(channels.GetChildCount(), 15);
    CDataItem moved = channels.GetChildByIndex(5);
    EXPECT_EQ(moved.GetAttributeValue(QStringLiteral("name")), QVariant(QStringLiteral("CH 07")));
    EXPECT_EQ(At(QStringLiteral("setting")).GetAttributeValue(QStringLiteral("numberChannels")),
              QVariant::fromValue<qint32>(15));
}

TEST_F(DataItem, RemovingWithoutHandlerUnlinksTheChild) {
    CDataItem setting = At(QStringLiteral("setting"));
    CDataItem first = setting.GetChildByIndex(0);
    ASSERT_FALSE(setting.GetScriptHandler(first.Node(), QStringLiteral("OnDelete")));
    EXPECT_EQ(setting.RemoveChildByIndex(0), CEditResult::Accepted());
    ASSERT_EQ(setting.GetChildCount(), 1);
    CDataItem remaining = setting.GetChildByIndex(0);
    EXPECT_EQ(remaining.GetAttributeValue(QStringLiteral("channel")),
              QVariant::fromValue<qint32>(5));
}

TEST(DataItemAlone, RemovingWithoutScriptFreesTheChild) {
    CXmlDocument doc = CXmlDocument::Parse(
        QByteArrayLiteral("<VeskProfile xmlns=\"urn:corvane:vesk-kel:profile:1\">"
                          "<a/> <b/> <c/></VeskProfile>"),
        QStringLiteral("inline"));
    CDataItem root(CProfileNodeAccess::Wrap(doc.Root()), std::make_shared<SDataContext>());
    EXPECT_EQ(root.RemoveChildByIndex(1), CEditResult::Accepted());
    ASSERT_EQ(root.GetChildCount(), 2);
    CDataItem second = root.GetChildByIndex(1);
    EXPECT_EQ(second.Name(), QStringLiteral("c"));
    // Without a schema nothing has a rule, and values are text.
    EXPECT_FALSE(root.CanAddChild());
    xml::SetAttribute(Xml(second), "n", QStringLiteral("7"));
    EXPECT_EQ(second.GetAttributeValue(QStringLiteral("n")), QVariant(QStringLiteral("7")));
}

TEST_F(DataItem, ElementsWithoutAnnotationHaveNoRules) {
    CDataItem setting = At(QStringLiteral("setting"));
    EXPECT_FALSE(setting.CanAddChild());
    EXPECT_FALSE(setting.CanDeleteChild());
    EXPECT_TRUE(setting.AddNewChild().IsEmpty());
    EXPECT_EQ(setting.AddFrequency({460000000U, 0, 3, 2}), CEditResult::Refused());
    EXPECT_FALSE(setting.CanDeleteFrequency(0));
    EXPECT_EQ(setting.SetFreqAttributeValue(0, {460000000U, 0, 3, 2}), CEditResult::Refused());
    EXPECT_EQ(setting.GetChildCount(), 2);
}

TEST_F(DataItem, FullChannelListCannotGrow) {
    CDataItem channels = At(QStringLiteral("channels"));
    EXPECT_FALSE(channels.CanAddChild());
    EXPECT_TRUE(channels.AddNewChild().IsEmpty());
    EXPECT_EQ(channels.GetChildCount(), 16);
}

TEST_F(DataItem, ChannelDeletionIsAskedOfTheChannel) {
    EXPECT_TRUE(At(QStringLiteral("channels/channel[2]")).CanDeleteChild());
    EXPECT_FALSE(At(QStringLiteral("channels")).CanDeleteChild());
}

TEST_F(DataItem, NewChannelTakesASpareRecord) {
    TearDown();
    Load(kSpare);
    CDataItem channels = At(QStringLiteral("channels"));
    ASSERT_TRUE(channels.CanAddChild());
    const CDataItem added = channels.AddNewChild();
    ASSERT_FALSE(added.IsEmpty());
    CDataItem fifteenth = channels.GetChildByIndex(14);
    EXPECT_EQ(added.Node(), fifteenth.Node());
    EXPECT_EQ(added.GetAttributeValue(QStringLiteral("name")), QVariant(QStringLiteral("CHAN 1")));
    EXPECT_EQ(added.GetAttributeValue(QStringLiteral("disable_channel")), QVariant(false));
    EXPECT_EQ(At(QStringLiteral("setting")).GetAttributeValue(QStringLiteral("numberChannels")),
              QVariant::fromValue<qint32>(15));
}

struct SFrequencyRow {
    quint32 freq;
    bool accepted;
    qint32 out1;
    qint32 out2;
};

class DataItemAddFrequency : public DataItem,
                             public ::testing::WithParamInterface<SFrequencyRow> {};

TEST_P(DataItemAddFrequency, RuleDecides) {
    const SFrequencyRow& row = GetParam();
    CDataItem frequencies = At(QStringLiteral("frequencies"));
    EXPECT_EQ(frequencies.AddFrequency({row.freq, 0, 3, 2}),
              CEditResult::FromScript(row.accepted ? 0 : 1, row.out1, row.out2));
    EXPECT_EQ(frequencies.GetChildCount(), row.accepted ? 17 : 16);
    EXPECT_EQ(At(QStringLiteral("limit")).GetAttributeValue(QStringLiteral("max_valid_freqs")),
              QVariant::fromValue<qint32>(frequencies.GetChildCount()));
    if (row.accepted) {
        // A fresh entry is used by no channel, so it may go again; entry 0 is in use.
        EXPECT_TRUE(frequencies.CanDeleteFrequency(16));
        EXPECT_FALSE(frequencies.CanDeleteFrequency(0));
        CDataItem entry = frequencies.GetChildByIndex(16);
        EXPECT_EQ(entry.GetAttributeValue(QStringLiteral("freq")),
                  QVariant::fromValue<quint32>(row.freq));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, DataItemAddFrequency,
                         ::testing::Values(SFrequencyRow{154570000U, false, 284, 48},
                                           SFrequencyRow{151820000U, false, 284, 48},
                                           SFrequencyRow{440000000U, false, 269, 48},
                                           SFrequencyRow{464500000U, false, 287, 48},
                                           SFrequencyRow{460000000U, true, 0, 0}));

// A write sends as many frequency records as the limits count, so the count follows the table
// even under a rule script that leaves it alone (as installations before this one did).
TEST_F(DataItem, FrequencyCountFollowsTheTableWhateverTheRuleScriptDoes) {
    CRuleScriptHost countless{prompt};
    countless.Start(
        QStringLiteral("Function AddFrequency(elem, f, b, p, c, ByRef out1, ByRef out2)\n"
                       "    Dim entry\n"
                       "    Set entry = elem.ownerDocument.createNode(1, \"frequency\", "
                       "elem.namespaceURI)\n"
                       "    entry.setAttribute \"freq\", CStr(f)\n"
                       "    entry.setAttribute \"bandwidth\", CStr(b)\n"
                       "    entry.setAttribute \"power_level\", CStr(p)\n"
                       "    entry.setAttribute \"compander_lle_mode\", CStr(c)\n"
                       "    elem.appendChild entry\n"
                       "    AddFrequency = 0\n"
                       "End Function\n"
                       "Function DeleteFrequency(elem, index, ByRef out1, confirmed, ByRef out2)\n"
                       "    elem.parentNode.removeChild elem\n"
                       "    DeleteFrequency = 0\n"
                       "End Function\n"),
        QStringLiteral("countless.vbs"));
    countless.SetDocument(view);
    auto shared = std::make_shared<SDataContext>();
    shared->script = &countless;
    shared->schema = &Schema();
    CDataItem frequencies(At(QStringLiteral("frequencies")).Node(), shared);
    const CDataItem limit = At(QStringLiteral("limit"));
    const auto count = [&limit] {
        return limit.GetAttributeValue(QStringLiteral("max_valid_freqs")).toInt();
    };
    ASSERT_TRUE(frequencies.AddFrequency({460000000U, 0, 1, 2}).IsAccepted());
    ASSERT_TRUE(frequencies.AddFrequency({461000000U, 0, 1, 2}).IsAccepted());
    EXPECT_EQ(frequencies.GetChildCount(), 18);
    EXPECT_EQ(count(), 18);
    EXPECT_TRUE(frequencies.RemoveChildByIndex(16).IsAccepted());
    EXPECT_EQ(frequencies.GetChildCount(), 17);
    EXPECT_EQ(count(), 17);
    EXPECT_TRUE(prompt.ids.isEmpty());
    countless.SetDocument(nullptr);
}

TEST_F(DataItem, FrequencyEditGoesThroughTheRule) {
    CDataItem frequencies = At(QStringLiteral("frequencies"));
    EXPECT_EQ(frequencies.SetFreqAttributeValue(0, {154600000U, 0, 3, 2}),
              CEditResult::FromScript(1, 284, 48));
    CDataItem first = frequencies.GetChildByIndex(0);
    EXPECT_EQ(Raw(first, "freq"), QStringLiteral("464500000"));
}

struct SNamingRow {
    const char* channels;
    const char* expected;  // names in order, joined by '|'
};

class DataItemChannelNaming : public ::testing::TestWithParam<SNamingRow> {};

TEST_P(DataItemChannelNaming, EmptyNamesAreFilled) {
    QByteArray text =
        QByteArrayLiteral("<VeskProfile xmlns=\"urn:corvane:vesk-kel:profile:1\"><channels>") +
        QByteArray(GetParam().channels) + QByteArrayLiteral("</channels></VeskProfile>");
    CDataItem::ProcessChannelName(text);
    CXmlDocument doc = CXmlDocument::Parse(text, QStringLiteral("result"));
    CXPathContext xpath(doc);
    QStringList names;
    for (xmlNodePtr channel : xpath.SelectNodes(QStringLiteral("//dfns:channels/*"))) {
        names.append(xml::Attribute(channel, "name").value_or(QStringLiteral("<missing>")));
    }
    EXPECT_EQ(names.join(QLatin1Char('|')), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DataItemChannelNaming,
    ::testing::Values(
        SNamingRow{"<channel name=\"CHAN 1\"/><channel name=\"\"/><channel name=\"\"/>",
                   "CHAN 1|CHAN 2|CHAN 3"},
        SNamingRow{"<channel name=\"\"/><channel name=\"CHAN 2\"/><channel name=\"\"/>",
                   "CHAN 1|CHAN 2|CHAN 3"},
        SNamingRow{"<channel name=\"\"/>\n<channel name=\"A\"/>", "CHAN 1|A"},
        SNamingRow{"<channel name=\"X\"/>", "X"}));

TEST(DataItemAlone, UnparsableProfileTextIsInvalid) {
    for (const QByteArray& text :
         {QByteArrayLiteral("<VeskProfile"), QByteArrayLiteral(""), QByteArrayLiteral("not xml")}) {
        QByteArray copy = text;
        EXPECT_EQ(
            RaisedBy([&] { CDataItem::ProcessChannelName(copy); }, "CDataItem::ProcessChannelName"),
            135)
            << text.constData();
        EXPECT_EQ(copy, text);
    }
}

TEST_F(DataItem, ReceiveSettingsAreCopiedToTransmit) {
    CDataItem channel = At(QStringLiteral("channels/channel[4]"));
    xml::SetAttribute(Xml(channel), "rx_code", QStringLiteral("99"));
    xml::SetAttribute(Xml(channel), "rx_freq_ndx", QStringLiteral("7"));
    xml::SetAttribute(Xml(channel), "rx_bw", QStringLiteral("true"));
    root.CopyReceiveToTransmit();
    EXPECT_EQ(Raw(channel, "tx_code"), QStringLiteral("99"));
    EXPECT_EQ(Raw(channel, "tx_freq_ndx"), QStringLiteral("7"));
    EXPECT_EQ(Raw(channel, "tx_bw"), QStringLiteral("1"));
    CDataItem other = At(QStringLiteral("channels/channel[1]"));
    EXPECT_EQ(Raw(other, "tx_code"), QStringLiteral("7"));
}

TEST_F(DataItem, SubRegionIsReset) {
    CDataItem factory = At(QStringLiteral("factory_setting"));
    xml::SetAttribute(Xml(factory), "sub_region", QStringLiteral("4"));
    root.ResetSubRegion();
    EXPECT_EQ(Raw(factory, "sub_region"), QStringLiteral("0"));
    EXPECT_EQ(factory.GetAttributeValue(QStringLiteral("sub_region")),
              QVariant::fromValue<qint32>(0));
}

TEST(DataItemAlone, EmptyItemRefusesWithAnError) {
    CDataItem empty;
    EXPECT_EQ(RaisedBy([&] { empty.GetChildByName(QStringLiteral("channels")); },
                       "CDataItem::GetChildByName"),
              131);
    EXPECT_EQ(RaisedBy([&] { empty.GetChildCount(); }, "CDataItem::GetChildCount"), 131);
}

}  // namespace
