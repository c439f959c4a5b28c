#include "model/edit_history.h"

#include <functional>
#include <optional>
#include <ostream>

#include <QByteArray>
#include <QString>
#include <QVariant>

#include "edit_result_print.h"
#include "model/data_item.h"
#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "platform/vesk_cps_exception.h"
#include "profile_installation.h"
#include "qt_print.h"
#include "recording_prompt.h"
#include "source_files.h"
#include "temp_hives.h"

#include <gtest/gtest.h>

void PrintTo(const SEditPlace& place, std::ostream* out) {
    *out << place.section.toStdString() << '[' << place.index << ']';
}

namespace {

const QString kSourceDir = QStringLiteral(VESK_SOURCE_DIR);
const QString kHandheld = kSourceDir + QStringLiteral("/tests/data/profiles/good/handheld_uhf.xml");
const QString kSpare = kSourceDir + QStringLiteral("/tests/script/rules/spare_channels.xml");

// The item at a path from the root, each step a child name or a child index in brackets.
CDataItem At(const CDataItem& root, const QString& path) {
    CDataItem item = root;
    for (const QString& step : path.split(QLatin1Char('/'))) {
        item = step.startsWith(QLatin1Char('['))
                   ? item.GetChildByIndex(step.mid(1).chopped(1).toInt())
                   : item.GetChildByName(step);
    }
    return item;
}

// An installation with the rule script, the schema and the settings documents; the prompt says
// Yes to every question, as a user who confirms.
class EditHistory : public ::testing::Test {
protected:
    EditHistory() { InstallForProfiles(hives, config, prompt, settings); }

    QString Install(const QString& relative) const {
        return hives.Path(QStringLiteral("install/") + relative);
    }
    QString Saved() const { return hives.Path(QStringLiteral("saved.vk4")); }
    CDataItem Item(const char* path) {
        return At(document.Model().RootItem(), QString::fromUtf8(path));
    }
    QByteArray State() const { return document.Model().SaveWorkingState(); }
    // A change as a page makes it, through the data items and the user's confirmation.
    CEditResult Set(const char* path, const char* attribute, const QVariant& value) {
        CDataItem item = Item(path);
        return SettleEdit(prompt, [&](EConfirmation confirmation) {
            return item.SetAttributeValue(QString::fromUtf8(attribute), value, confirmation);
        });
    }

    CTempHives hives;
    CConfiguration config = hives.Config();
    CRecordingPrompt prompt{PromptAnswer::Yes};
    CSettingsDocuments settings;
    CProfileDocument document{config, prompt, &settings};
};

// --- Every kind of change goes back to exactly the text it started from, and comes again ---

struct SKindRow {
    const char* name;
    const QString* profile;
    std::function<CEditResult(CDataItem& root, IUserPrompt& prompt)> change;
    const char* label;
    SEditPlace place;
};

std::ostream& operator<<(std::ostream& out, const SKindRow& row) {
    return out << row.name;
}

class EditHistoryKind : public EditHistory, public ::testing::WithParamInterface<SKindRow> {};

TEST_P(EditHistoryKind, UndoAndRedoRestoreTheIdenticalText) {
    const SKindRow& row = GetParam();
    ASSERT_TRUE(document.Open(*row.profile));
    ASSERT_FALSE(document.History().CanUndo());
    const QByteArray before = State();
    const quint64 changes = document.Model().Journal().ChangeCount();

    ASSERT_EQ(row.change(document.Model().RootItem(), prompt), CEditResult::Accepted());
    const QByteArray after = State();
    ASSERT_NE(after, before);
    // One step, however many attributes the rules changed for it and whether the user was asked.
    EXPECT_EQ(document.Model().Journal().ChangeCount(), changes + 1);
    EXPECT_EQ(document.History().StepCount(), 1);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.History().UndoLabel(), QString::fromUtf8(row.label));

    EXPECT_EQ(document.Undo(), std::optional<SEditPlace>(row.place));
    EXPECT_EQ(State(), before);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.History().RedoLabel(), QString::fromUtf8(row.label));

    EXPECT_EQ(document.Redo(), std::optional<SEditPlace>(row.place));
    EXPECT_EQ(State(), after);
    EXPECT_TRUE(document.IsModified());

    // The restored profile is a working one: the rules still run on it, and it saves.
    EXPECT_EQ(document.Undo(), std::optional<SEditPlace>(row.place));
    EXPECT_EQ(row.change(document.Model().RootItem(), prompt), CEditResult::Accepted());
    EXPECT_EQ(State(), after);
    EXPECT_TRUE(document.Save(Saved()));
}

CEditResult Settled(IUserPrompt& prompt, const std::function<CEditResult(EConfirmation)>& change) {
    return SettleEdit(prompt, change);
}

// The first entry of the frequency table that no channel uses.
int UnusedFrequency(CDataItem& frequencies) {
    for (int i = 0; i < frequencies.GetChildCount(); ++i) {
        if (frequencies.CanDeleteFrequency(static_cast<quint32>(i))) {
            return i;
        }
    }
    ADD_FAILURE() << "every frequency is in use";
    return 0;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EditHistoryKind,
    ::testing::Values(
        SKindRow{"RuleAttribute", &kHandheld,
                 [](CDataItem& root, IUserPrompt&) {
                     return At(root, QStringLiteral("setting/[0]"))
                         .SetAttributeValue(QStringLiteral("channel"),
                                            QVariant::fromValue<qint32>(3));
                 },
                 "Change preset 1: channel", SEditPlace{QStringLiteral("setting"), 0}},
        SKindRow{"PlainAttribute", &kHandheld,
                 [](CDataItem& root, IUserPrompt&) {
                     return At(root, QStringLiteral("limit"))
                         .SetAttributeValue(QStringLiteral("call_feature_disable"), QVariant(true));
                 },
                 "Change limit: call_feature_disable", SEditPlace{QStringLiteral("limit"), -1}},
        SKindRow{"ChannelAdd", &kSpare,
                 [](CDataItem& root, IUserPrompt&) {
                     return At(root, QStringLiteral("channels")).AddNewChild().IsEmpty()
                                ? CEditResult::Refused()
                                : CEditResult::Accepted();
                 },
                 "Add channel 15", SEditPlace{QStringLiteral("channels"), 14}},
        SKindRow{"ChannelDeleteConfirmed", &kHandheld,
                 [](CDataItem& root, IUserPrompt& prompt) {
                     CDataItem channels = At(root, QStringLiteral("channels"));
                     return Settled(prompt, [&](EConfirmation confirmation) {
                         return channels.RemoveChildByIndex(5, confirmation);
                     });
                 },
                 "Delete channel 6", SEditPlace{QStringLiteral("channels"), 5}},
        SKindRow{"ChannelRename", &kHandheld,
                 [](CDataItem& root, IUserPrompt&) {
                     return At(root, QStringLiteral("channels/[2]"))
                         .SetAttributeValue(QStringLiteral("name"),
                                            QVariant(QStringLiteral("BASE")));
                 },
                 "Rename channel 3", SEditPlace{QStringLiteral("channels"), 2}},
        SKindRow{
            "FrequencyAdd", &kHandheld,
            [](CDataItem& root, IUserPrompt&) {
                return At(root, QStringLiteral("frequencies")).AddFrequency({460000000U, 0, 3, 2});
            },
            "Add frequency 17", SEditPlace{QStringLiteral("frequencies"), 16}},
        SKindRow{"FrequencyEditConfirmed", &kHandheld,
                 [](CDataItem& root, IUserPrompt& prompt) {
                     CDataItem frequencies = At(root, QStringLiteral("frequencies"));
                     return Settled(prompt, [&](EConfirmation confirmation) {
                         return frequencies.SetFreqAttributeValue(0, {460000000U, 0, 3, 2},
                                                                  confirmation);
                     });
                 },
                 "Edit frequency 1", SEditPlace{QStringLiteral("frequencies"), 0}},
        SKindRow{"FrequencyDelete", &kSpare,
                 [](CDataItem& root, IUserPrompt&) {
                     CDataItem frequencies = At(root, QStringLiteral("frequencies"));
                     return frequencies.RemoveChildByIndex(UnusedFrequency(frequencies),
                                                           EConfirmation::Confirmed);
                 },
                 "Delete frequency 15", SEditPlace{QStringLiteral("frequencies"), 14}}),
    [](const auto& row) { return std::string(row.param.name); });

// --- What records nothing ---

TEST_F(EditHistory, RefusedDeclinedAndUnchangingEditsRecordNothing) {
    ASSERT_TRUE(document.Open(kHandheld));
    const QByteArray before = State();
    EXPECT_FALSE(Set("setting/[0]", "channel", QVariant::fromValue<qint32>(40)).IsAccepted());
    EXPECT_FALSE(Set("setting", "password", QVariant(QStringLiteral("12a"))).IsAccepted());
    EXPECT_FALSE(Item("frequencies").AddFrequency({151820000U, 0, 3, 2}).IsAccepted());
    // Accepted, but the value is the one held.
    EXPECT_TRUE(Set("channels/[0]", "name", QVariant(QStringLiteral("CH 01"))).IsAccepted());
    CRecordingPrompt no(PromptAnswer::No);
    CDataItem channels = Item("channels");
    EXPECT_TRUE(SettleEdit(no, [&](EConfirmation confirmation) {
                    return channels.RemoveChildByIndex(5, confirmation);
                }).NeedsConfirmation());
    EXPECT_EQ(no.ids.size(), 1);

    EXPECT_EQ(State(), before);
    EXPECT_FALSE(document.History().CanUndo());
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.Undo(), std::nullopt);
}

TEST_F(EditHistory, ChangesOfAGroupAreOneStep) {
    ASSERT_TRUE(document.Open(kHandheld));
    const QByteArray before = State();
    {
        const CEditJournal::CGroup group(document.Model().Journal(), QStringLiteral("Swap"));
        EXPECT_TRUE(Set("channels/[0]", "name", QVariant(QStringLiteral("A1"))).IsAccepted());
        EXPECT_TRUE(Set("channels/[1]", "name", QVariant(QStringLiteral("B2"))).IsAccepted());
        EXPECT_FALSE(document.History().CanUndo());
    }
    EXPECT_EQ(document.History().StepCount(), 1);
    EXPECT_EQ(document.History().UndoLabel(), QStringLiteral("Swap"));
    EXPECT_EQ(document.Undo(),
              std::optional<SEditPlace>(SEditPlace{QStringLiteral("channels"), 0}));
    EXPECT_EQ(State(), before);
}

// --- The saved state and the branches ---

TEST_F(EditHistory, ModifiedFlagFollowsTheSavedState) {
    ASSERT_TRUE(document.Open(kHandheld));
    ASSERT_TRUE(Set("channels/[0]", "name", QVariant(QStringLiteral("A1"))).IsAccepted());
    ASSERT_TRUE(document.Save(Saved()));
    EXPECT_FALSE(document.IsModified());
    ASSERT_TRUE(Set("channels/[1]", "name", QVariant(QStringLiteral("B2"))).IsAccepted());
    EXPECT_TRUE(document.IsModified());

    const bool expected[] = {false, true, false, true};
    document.Undo();
    EXPECT_EQ(document.IsModified(), expected[0]);
    document.Undo();
    EXPECT_EQ(document.IsModified(), expected[1]);
    document.Redo();
    EXPECT_EQ(document.IsModified(), expected[2]);
    document.Redo();
    EXPECT_EQ(document.IsModified(), expected[3]);
}

TEST_F(EditHistory, NewEditAfterUndoDropsTheRedoBranchAndTheSavedStateOnIt) {
    ASSERT_TRUE(document.Open(kHandheld));
    ASSERT_TRUE(Set("channels/[0]", "name", QVariant(QStringLiteral("A1"))).IsAccepted());
    const QByteArray first = State();
    ASSERT_TRUE(Set("channels/[1]", "name", QVariant(QStringLiteral("B2"))).IsAccepted());
    ASSERT_TRUE(document.Save(Saved()));
    ASSERT_TRUE(document.Undo());
    EXPECT_TRUE(document.History().CanRedo());

    ASSERT_TRUE(Set("channels/[2]", "name", QVariant(QStringLiteral("C3"))).IsAccepted());
    EXPECT_FALSE(document.History().CanRedo());
    EXPECT_EQ(document.History().StepCount(), 2);
    EXPECT_EQ(document.History().UndoLabel(), QStringLiteral("Rename channel 3"));
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(State(), first);
    // The saved state went with the branch: no state reached now is the file's.
    EXPECT_TRUE(document.IsModified());
    ASSERT_TRUE(document.Undo());
    EXPECT_TRUE(document.IsModified());
}

TEST(EditHistoryAlone, DepthBoundDropsTheOldestSteps) {
    CEditHistory history(3);
    history.Reset("s0", true);
    for (const char* state : {"s1", "s2", "s3", "s4", "s5"}) {
        EXPECT_TRUE(history.Record(QString::fromUtf8(state), SEditPlace(), state));
    }
    EXPECT_EQ(history.StepCount(), 3);
    EXPECT_FALSE(history.IsAtSavedState());
    EXPECT_EQ(history.StateBytes(), 8);
    QByteArrayList undone;
    while (history.CanUndo()) {
        undone << history.Undo();
    }
    EXPECT_EQ(undone, (QByteArrayList{"s4", "s3", "s2"}));
    // The saved state is gone with the steps that led from it.
    EXPECT_FALSE(history.IsAtSavedState());
    EXPECT_EQ(history.RedoLabel(), QStringLiteral("s3"));
}

TEST_F(EditHistory, APasswordNeverAppearsInAStepsLabel) {
    ASSERT_TRUE(document.Open(kHandheld));
    ASSERT_TRUE(Set("setting", "password", QVariant(QStringLiteral("4711"))).IsAccepted());
    ASSERT_TRUE(Set("setting", "password", QVariant(QStringLiteral("0815"))).IsAccepted());
    EXPECT_EQ(document.History().UndoLabel(), QStringLiteral("Change setting: password"));
    ASSERT_TRUE(document.Undo());
    for (const QString& label : {document.History().UndoLabel(), document.History().RedoLabel()}) {
        EXPECT_FALSE(label.contains(QStringLiteral("4711"))) << label.toStdString();
        EXPECT_FALSE(label.contains(QStringLiteral("0815"))) << label.toStdString();
    }
}

// --- Items, saving and loading around the history ---

TEST_F(EditHistory, ItemsTakenBeforeARestoreOrALoadAreRetired) {
    ASSERT_TRUE(document.Open(kHandheld));
    CDataItem channel = Item("channels/[0]");
    ASSERT_TRUE(channel.SetAttributeValue(QStringLiteral("name"), QVariant(QStringLiteral("A1")))
                    .IsAccepted());
    ASSERT_TRUE(document.Undo());
    const auto raised = [](const std::function<void()>& use) -> std::optional<int> {
        try {
            use();
        } catch (const CVeskCPSException& error) {
            return error.MessageId();
        }
        return std::nullopt;
    };
    EXPECT_FALSE(channel.IsCurrent());
    EXPECT_EQ(raised([&] { channel.GetAttributeValue(QStringLiteral("name")); }),
              model_msg::kUnknownError);
    EXPECT_EQ(raised([&] {
                  channel.SetAttributeValue(QStringLiteral("name"), QVariant(QStringLiteral("B")));
              }),
              model_msg::kUnknownError);
    EXPECT_EQ(document.History().StepCount(), 1);
    EXPECT_EQ(Item("channels/[0]").GetAttributeValue(QStringLiteral("name")),
              QVariant(QStringLiteral("CH 01")));

    CDataItem frequencies = Item("frequencies");
    ASSERT_TRUE(document.Open(kSpare));
    EXPECT_EQ(raised([&] { frequencies.GetChildCount(); }), model_msg::kUnknownError);
    EXPECT_EQ(raised([&] { frequencies.AttributeNames(); }), model_msg::kUnknownError);
    // A new profile starts a new history.
    EXPECT_FALSE(document.History().CanUndo());
    EXPECT_FALSE(document.History().CanRedo());
}

// Saving puts right what the file must not keep (the sub-region); the state it leaves is the saved
// one, so a redo back to it is no change.
TEST_F(EditHistory, RedoBackToASavedStateGivesWhatWasSaved) {
    ASSERT_TRUE(document.Open(kSpare));
    ASSERT_TRUE(Set("factory_setting", "sub_region", QVariant::fromValue<qint32>(3)).IsAccepted());
    ASSERT_TRUE(Set("channels/[0]", "name", QVariant(QStringLiteral("A1"))).IsAccepted());
    ASSERT_TRUE(document.Save(Saved()));
    const QByteArray saved = State();
    EXPECT_EQ(document.History().StepCount(), 2);
    ASSERT_TRUE(document.Undo());
    EXPECT_TRUE(document.IsModified());
    ASSERT_TRUE(document.Redo());
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(State(), saved);
    EXPECT_EQ(Item("factory_setting").GetAttributeValue(QStringLiteral("sub_region")),
              QVariant::fromValue<qint32>(0));
}

// A read from a radio replaces the profile through the model, not through the document.
TEST_F(EditHistory, AProfileReplacedInTheModelStartsANewHistory) {
    ASSERT_TRUE(document.Open(kHandheld));
    ASSERT_TRUE(Set("channels/[0]", "name", QVariant(QStringLiteral("A1"))).IsAccepted());
    ASSERT_TRUE(document.Model().LoadProfileText(QString::fromUtf8(ReadAll(kSpare)),
                                                 QStringLiteral("(radio)")));
    const QByteArray replaced = State();
    EXPECT_FALSE(document.History().CanUndo());
    EXPECT_EQ(document.Undo(), std::nullopt);
    EXPECT_EQ(State(), replaced);
    ASSERT_TRUE(Set("channels/[0]", "name", QVariant(QStringLiteral("A1"))).IsAccepted());
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(State(), replaced);
    EXPECT_TRUE(document.IsModified());
}

TEST_F(EditHistory, AProfileFromARadioIsNeverAtItsSavedState) {
    ASSERT_TRUE(document.NewFromImageText(ReadAll(kHandheld)));
    ASSERT_TRUE(Set("channels/[0]", "name", QVariant(QStringLiteral("A1"))).IsAccepted());
    ASSERT_TRUE(document.Undo());
    EXPECT_TRUE(document.IsModified());
}

}  // namespace
