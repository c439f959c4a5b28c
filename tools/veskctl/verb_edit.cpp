// veskctl set, add-channel, delete-channel, add-frequency, edit-frequency, delete-frequency: a
// profile changed through the same data items and rule script as the pages, so that a dealer's
// bulk change obeys every rule an edit by hand does. Nothing is written unless every change was
// accepted and the profile saves.

#include <cstdio>
#include <functional>
#include <optional>

#include <QRegularExpression>
#include <QVariant>
#include <libxml/tree.h>

#include "app/configuration.h"
#include "app/settings_documents.h"
#include "cli_prompt.h"
#include "model/data_item.h"
#include "model/profile_checks.h"
#include "model/profile_document.h"
#include "model/vesk_cps_exception.h"
#include "resources/string_table.h"
#include "verbs.h"

namespace {

constexpr int kMsgLastChannel = 338;

// Outcomes the rule script answers a change with.
constexpr qint32 kAccepted = 0;
constexpr qint32 kNeedsConfirmation = 2;

// What a verb does to the opened profile; returns an exit code. A failure of the model raised
// from here is told by the caller.
using Edit = std::function<int(CDataItem& root, CCliPrompt& prompt)>;

int Usage(const char* text) {
    std::fprintf(stderr, "usage: %s\n", text);
    return kExitUsage;
}

QString Text(int id) {
    return CStringTable::Instance().Text(id);
}

// One change through the rule script, called with the confirmation argument 0 and, when the
// script asks and the user says yes, once more with 1.
using Change = std::function<qint32(qint32 confirmed, qint32& out1, qint32& out2)>;

int Settle(CCliPrompt& prompt, const Change& change) {
    qint32 out1 = 0;
    qint32 out2 = 0;
    qint32 outcome = change(0, out1, out2);
    if (outcome == kNeedsConfirmation) {
        const PromptStyle style = PromptStyleFromScript(out2);
        const PromptAnswer answer = prompt.Ask(out1, Text(out1), style);
        const bool yes = answer == PromptAnswer::Yes ||
                         (style == PromptStyle::OkCancel && answer == PromptAnswer::Ok);
        if (!yes) {
            return kExitRefused;
        }
        outcome = change(1, out1, out2);
    }
    if (outcome == kAccepted) {
        return kExitOk;
    }
    if (out1 != 0) {
        // Told, never asked: a script that asks again after the confirmation has refused.
        PromptStyle style = PromptStyleFromScript(out2);
        if (style == PromptStyle::YesNo || style == PromptStyle::YesNoCancel ||
            style == PromptStyle::OkCancel) {
            style = PromptStyle::Error;
        }
        prompt.Ask(out1, Text(out1), style);
    } else {
        TellError(QStringLiteral("the profile's rules do not allow this change"));
    }
    return kExitRefused;
}

// Opens FILE as the Open command does, applies the verb's changes and saves, to -o or back to
// FILE. Every refusal ends the run before the save, so the file on disk stays as it was.
int RunEdit(const SProfileArgs& parsed, const Edit& edit) {
    const QString& path = parsed.operands.first();
    const CConfiguration config = CConfiguration::FromEnvironment();
    CCliPrompt prompt(parsed.yes);
    CSettingsDocuments settings;
    if (!LoadProfileSettings(config, prompt, settings)) {
        return kExitRefused;
    }
    const int admitted = AdmitProfile(path, config, prompt, settings);
    if (admitted != kExitOk) {
        return admitted;
    }
    try {
        CProfileDocument document(config, prompt, &settings);
        if (!document.Open(path)) {
            return kExitRefused;
        }
        const int edited = edit(document.Model().RootItem(), prompt);
        if (edited != kExitOk) {
            return edited;
        }
        return document.Save(parsed.output.isEmpty() ? path : parsed.output) ? kExitOk
                                                                             : kExitRefused;
    } catch (const CVeskCPSException& error) {
        ShowModelException(prompt, error);
        return kExitRefused;
    }
}

bool IsProfileElement(const CDataItem& item, const QString& name) {
    const xmlNode* node = item.Node();
    return node != nullptr && node->type == XML_ELEMENT_NODE &&
           QString::fromUtf8(reinterpret_cast<const char*>(node->name)) == name;
}

// The `number`-th (from 1) child element called `name`; empty when there is none.
CDataItem NamedChild(const CDataItem& parent, const QString& name, int number) {
    int seen = 0;
    const int count = parent.GetChildCount();
    for (int i = 0; i < count; ++i) {
        CDataItem child;
        parent.GetChildByIndex(i, child);
        if (IsProfileElement(child, name) && ++seen == number) {
            return child;
        }
    }
    return CDataItem();
}

// "channels/channel[3]/name": element names from the root, a 1-based position in brackets, the
// attribute last.
struct SAttributePath {
    CDataItem element;
    QString attribute;
};

// Nothing when the profile has no such element or the element no such attribute.
std::optional<SAttributePath> ResolvePath(const CDataItem& root, const QString& path) {
    static const QRegularExpression kStep(
        QStringLiteral("^([A-Za-z_][A-Za-z0-9_]*)(?:\\[([1-9][0-9]{0,4})\\])?$"));
    static const QRegularExpression kAttribute(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    const QStringList steps = path.split(u'/');
    if (steps.size() < 2 || !kAttribute.match(steps.last()).hasMatch()) {
        return std::nullopt;
    }
    CDataItem element = root;
    for (qsizetype i = 0; i + 1 < steps.size(); ++i) {
        const QRegularExpressionMatch step = kStep.match(steps[i]);
        if (!step.hasMatch()) {
            return std::nullopt;
        }
        const int number = step.captured(2).isEmpty() ? 1 : step.captured(2).toInt();
        element = NamedChild(element, step.captured(1), number);
        if (element.IsEmpty()) {
            return std::nullopt;
        }
    }
    const QByteArray attribute = steps.last().toUtf8();
    if (xmlHasProp(element.Node(), reinterpret_cast<const xmlChar*>(attribute.constData())) ==
        nullptr) {
        return std::nullopt;
    }
    return SAttributePath{element, steps.last()};
}

// The value typed as the attribute's current value is, so that the rule script compares what the
// pages would hand it. Nothing when the text does not fit that type.
std::optional<QVariant> TypedLike(const QVariant& current, const QString& text) {
    static const QRegularExpression kSigned(QStringLiteral("^[+-]?[0-9]+$"));
    static const QRegularExpression kUnsigned(QStringLiteral("^\\+?[0-9]+$"));
    bool ok = false;
    switch (current.typeId()) {
        case QMetaType::Int: {
            const qint32 number = text.toInt(&ok, 10);
            if (ok && kSigned.match(text).hasMatch()) {
                return QVariant::fromValue<qint32>(number);
            }
            return std::nullopt;
        }
        case QMetaType::UInt: {
            const quint32 number = text.toUInt(&ok, 10);
            if (ok && kUnsigned.match(text).hasMatch()) {
                return QVariant::fromValue<quint32>(number);
            }
            return std::nullopt;
        }
        case QMetaType::Bool:
            if (text == QLatin1String("0") || text == QLatin1String("1")) {
                return QVariant(text == QLatin1String("1"));
            }
            return std::nullopt;
        default:
            return QVariant(text);
    }
}

const char* TypeDescription(const QVariant& current) {
    switch (current.typeId()) {
        case QMetaType::Int:
            return "a whole number";
        case QMetaType::UInt:
            return "a whole number from 0 to 4294967295";
        case QMetaType::Bool:
            return "0 or 1";
        default:
            return "text";
    }
}

// A 1-based position given on the command line.
std::optional<int> Position(const QString& text) {
    static const QRegularExpression kPosition(QStringLiteral("^[1-9][0-9]{0,4}$"));
    if (!kPosition.match(text).hasMatch()) {
        return std::nullopt;
    }
    return text.toInt();
}

// "464.5125" in hertz, digit by digit: a binary fraction would turn some channel rasters into a
// hertz off.
std::optional<quint32> MegahertzToHertz(const QString& text) {
    static const QRegularExpression kMegahertz(
        QStringLiteral("^([0-9]{1,4})(?:\\.([0-9]{1,6}))?$"));
    const QRegularExpressionMatch match = kMegahertz.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const quint64 whole = match.captured(1).toULongLong();
    const quint64 fraction = match.captured(2).leftJustified(6, u'0').toULongLong();
    const quint64 hertz = whole * 1000000u + fraction;
    if (hertz > 0xFFFFFFFFu) {
        return std::nullopt;
    }
    return static_cast<quint32>(hertz);
}

std::optional<quint32> WholeNumber(const QString& text) {
    static const QRegularExpression kWhole(QStringLiteral("^[0-9]{1,10}$"));
    bool ok = false;
    const quint32 number = text.toUInt(&ok, 10);
    if (!ok || !kWhole.match(text).hasMatch()) {
        return std::nullopt;
    }
    return number;
}

// The compander as the frequency page stores it: 2 on, 3 off; a number is taken as stored.
std::optional<quint32> Compander(const QString& text) {
    if (text.compare(QLatin1String("on"), Qt::CaseInsensitive) == 0) {
        return 2u;
    }
    if (text.compare(QLatin1String("off"), Qt::CaseInsensitive) == 0) {
        return 3u;
    }
    return WholeNumber(text);
}

// MHZ BANDWIDTH POWER COMPANDER of the frequency verbs.
struct SFrequencyEntry {
    quint32 hertz = 0;
    quint32 bandwidth = 0;
    quint32 power = 0;
    quint32 compander = 0;
};

std::optional<SFrequencyEntry> ParseEntry(const QStringList& operands) {
    const std::optional<quint32> hertz = MegahertzToHertz(operands[0]);
    if (!hertz) {
        TellError(QStringLiteral("'%1' is no frequency in MHz (up to 4294.967295, at most six "
                                 "decimals)")
                      .arg(operands[0]));
        return std::nullopt;
    }
    const std::optional<quint32> bandwidth = WholeNumber(operands[1]);
    const std::optional<quint32> power = WholeNumber(operands[2]);
    const std::optional<quint32> compander = Compander(operands[3]);
    if (!bandwidth || !power || !compander) {
        TellError(
            QStringLiteral("BANDWIDTH and POWER are code numbers, COMPANDER a code number, "
                           "'on' or 'off'"));
        return std::nullopt;
    }
    return SFrequencyEntry{*hertz, *bandwidth, *power, *compander};
}

CDataItem Child(const CDataItem& parent, const char* name) {
    CDataItem child;
    parent.GetChildByName(QString::fromLatin1(name), child);
    return child;
}

int FrequencyCount(const CDataItem& root) {
    return Child(root, "frequencies").GetChildCount();
}

// Only the first numberChannels records are channels of the radio; the rest are spare records.
int ChannelCount(const CDataItem& root) {
    const int records = Child(root, "channels").GetChildCount();
    const int inUse =
        Child(root, "setting").GetAttributeValue(QStringLiteral("numberChannels")).toInt();
    return inUse < records ? inUse : records;
}

// Parses the operands common to the editing verbs: FILE first, then `count` more.
bool ParseEdit(const QStringList& args, qsizetype count, SProfileArgs& parsed) {
    return ParseProfileArgs(args, kOptOutput | kOptYes, parsed) &&
           parsed.operands.size() == count + 1;
}

}  // namespace

int RunSet(const QStringList& args) {
    SProfileArgs parsed;
    if (!ParseProfileArgs(args, kOptOutput | kOptYes, parsed) || parsed.operands.size() < 2) {
        return Usage(
            "veskctl set FILE.vk4 PATH=VALUE... [-o OUT.vk4] [--yes]\n"
            "  PATH: element names from the root, a 1-based position in brackets, the "
            "attribute last,\n"
            "        e.g. setting/powerupString, channels/channel[3]/name");
    }
    QList<std::pair<QString, QString>> assignments;
    for (const QString& operand : parsed.operands.mid(1)) {
        const qsizetype equals = operand.indexOf(u'=');
        if (equals <= 0) {
            TellError(QStringLiteral("'%1' is not PATH=VALUE").arg(operand));
            return kExitUsage;
        }
        assignments.append({operand.left(equals), operand.mid(equals + 1)});
    }
    return RunEdit(parsed, [&assignments](CDataItem& root, CCliPrompt& prompt) {
        for (const auto& [path, text] : assignments) {
            const std::optional<SAttributePath> target = ResolvePath(root, path);
            if (!target) {
                TellError(QStringLiteral("the profile has no attribute '%1'").arg(path));
                return kExitUsage;
            }
            const QVariant current = target->element.GetAttributeValue(target->attribute);
            const std::optional<QVariant> value = TypedLike(current, text);
            if (!value) {
                TellError(QStringLiteral("%1 takes %2, not '%3'")
                              .arg(path, QString::fromLatin1(TypeDescription(current)), text));
                return kExitUsage;
            }
            CDataItem element = target->element;
            const int settled = Settle(prompt, [&](qint32 confirmed, qint32& out1, qint32& out2) {
                return element.SetAttributeValue(target->attribute, *value, out1, confirmed, out2);
            });
            if (settled != kExitOk) {
                return settled;
            }
        }
        return kExitOk;
    });
}

int RunAddChannel(const QStringList& args) {
    SProfileArgs parsed;
    if (!ParseEdit(args, 0, parsed)) {
        return Usage("veskctl add-channel FILE.vk4 [-o OUT.vk4] [--yes]");
    }
    return RunEdit(parsed, [](CDataItem& root, CCliPrompt&) {
        CDataItem channels = Child(root, "channels");
        CDataItem added;
        if (!channels.CanAddChild() || !channels.AddNewChild(added)) {
            TellError(QStringLiteral("the profile has no room for another channel (%1 of %2)")
                          .arg(ChannelCount(root))
                          .arg(Child(root, "limit")
                                   .GetAttributeValue(QStringLiteral("maxChannels"))
                                   .toInt()));
            return kExitRefused;
        }
        std::printf(
            "channel %d: %s\n", ChannelCount(root),
            added.GetAttributeValue(QStringLiteral("name")).toString().toUtf8().constData());
        return kExitOk;
    });
}

int RunDeleteChannel(const QStringList& args) {
    SProfileArgs parsed;
    std::optional<int> number;
    if (!ParseEdit(args, 1, parsed) || !(number = Position(parsed.operands[1]))) {
        return Usage("veskctl delete-channel FILE.vk4 N [-o OUT.vk4] [--yes]   (N from 1)");
    }
    return RunEdit(parsed, [number](CDataItem& root, CCliPrompt& prompt) {
        const int count = ChannelCount(root);
        if (*number > count) {
            TellError(QStringLiteral("there is no channel %1; the profile has %2")
                          .arg(*number)
                          .arg(count));
            return kExitUsage;
        }
        const int index = *number - 1;
        CDataItem channels = Child(root, "channels");
        CDataItem channel;
        channels.GetChildByIndex(index, channel);
        // As the channel tree decides: the last enabled channel stays, and the rule script is
        // asked before anything is confirmed.
        const bool disabled = channel.GetAttributeValue(QStringLiteral("disable_channel")).toBool();
        if ((profile_checks::GetEnabledChannelCount(root) <= 1 && !disabled) ||
            !channel.CanDeleteChild()) {
            prompt.Show(kMsgLastChannel, PromptStyle::Error);
            return kExitRefused;
        }
        return Settle(prompt, [&](qint32 confirmed, qint32& out1, qint32& out2) {
            return channels.RemoveChildByIndex(index, out1, confirmed, out2);
        });
    });
}

int RunAddFrequency(const QStringList& args) {
    SProfileArgs parsed;
    if (!ParseEdit(args, 4, parsed)) {
        return Usage(
            "veskctl add-frequency FILE.vk4 MHZ BANDWIDTH POWER COMPANDER "
            "[-o OUT.vk4] [--yes]");
    }
    const std::optional<SFrequencyEntry> entry = ParseEntry(parsed.operands.mid(1));
    if (!entry) {
        return kExitUsage;
    }
    return RunEdit(parsed, [&entry](CDataItem& root, CCliPrompt& prompt) {
        CDataItem frequencies = Child(root, "frequencies");
        const int settled = Settle(prompt, [&](qint32, qint32& out1, qint32& out2) {
            return frequencies.AddFrequency(entry->hertz, entry->bandwidth, entry->power,
                                            entry->compander, out1, out2)
                       ? kAccepted
                       : qint32{1};
        });
        if (settled == kExitOk) {
            std::printf("frequency %d\n", FrequencyCount(root));
        }
        return settled;
    });
}

int RunEditFrequency(const QStringList& args) {
    SProfileArgs parsed;
    std::optional<int> number;
    if (!ParseEdit(args, 5, parsed) || !(number = Position(parsed.operands[1]))) {
        return Usage(
            "veskctl edit-frequency FILE.vk4 N MHZ BANDWIDTH POWER COMPANDER "
            "[-o OUT.vk4] [--yes]   (N from 1)");
    }
    const std::optional<SFrequencyEntry> entry = ParseEntry(parsed.operands.mid(2));
    if (!entry) {
        return kExitUsage;
    }
    return RunEdit(parsed, [number, &entry](CDataItem& root, CCliPrompt& prompt) {
        const int count = FrequencyCount(root);
        if (*number > count) {
            TellError(QStringLiteral("there is no frequency %1; the table has %2")
                          .arg(*number)
                          .arg(count));
            return kExitUsage;
        }
        CDataItem frequencies = Child(root, "frequencies");
        const quint32 index = static_cast<quint32>(*number - 1);
        return Settle(prompt, [&](qint32 confirmed, qint32& out1, qint32& out2) {
            return frequencies.SetFreqAttributeValue(
                QVariant::fromValue(index), QVariant::fromValue(entry->hertz),
                QVariant::fromValue(entry->bandwidth), QVariant::fromValue(entry->power),
                QVariant::fromValue(entry->compander), out1, out2, confirmed);
        });
    });
}

int RunDeleteFrequency(const QStringList& args) {
    SProfileArgs parsed;
    std::optional<int> number;
    if (!ParseEdit(args, 1, parsed) || !(number = Position(parsed.operands[1]))) {
        return Usage("veskctl delete-frequency FILE.vk4 N [-o OUT.vk4] [--yes]   (N from 1)");
    }
    return RunEdit(parsed, [number](CDataItem& root, CCliPrompt& prompt) {
        const int count = FrequencyCount(root);
        if (*number > count) {
            TellError(QStringLiteral("there is no frequency %1; the table has %2")
                          .arg(*number)
                          .arg(count));
            return kExitUsage;
        }
        CDataItem frequencies = Child(root, "frequencies");
        // The rule script itself refuses an entry a channel uses, with the message the page
        // shows for it.
        return Settle(prompt, [&](qint32 confirmed, qint32& out1, qint32& out2) {
            return frequencies.RemoveChildByIndex(*number - 1, out1, confirmed, out2);
        });
    });
}
