// The session every editing verb runs in: the profile opened and admitted as the desktop program
// opens it, each change settled with the rule script, and a save only when all were accepted.

#include "edit_session.h"

#include <QRegularExpression>
#include <QVariant>

#include "cli_prompt.h"
#include "model/profile_document.h"
#include "model/settings_documents.h"

namespace {

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

}  // namespace

int Settle(CCliPrompt& prompt, const Change& change) {
    const CEditResult result = SettleEdit(prompt, change);
    if (result.IsAccepted()) {
        return kExitOk;
    }
    if (result.IsRefused() && result.MessageId() == 0) {
        TellError(QStringLiteral("the profile's rules do not allow this change"));
    }
    return kExitRefused;
}

bool ParseEdit(const QStringList& args, qsizetype count, SProfileArgs& parsed) {
    return ParseProfileArgs(args, kOptOutput | kOptYes, parsed) &&
           parsed.operands.size() == count + 1;
}

// Every refusal ends the run before the save, so the file on disk stays as it was.
int RunEdit(const SProfileArgs& parsed, const Edit& edit) {
    const QString& path = parsed.operands.first();
    return WithOpenProfile(
        path, parsed.yes,
        [&](CProfileDocument& document, CCliPrompt& prompt, const CSettingsDocuments&) {
            const int edited = edit(document.Model().RootItem(), prompt);
            if (edited != kExitOk) {
                return edited;
            }
            return document.Save(parsed.output.isEmpty() ? path : parsed.output) ? kExitOk
                                                                                 : kExitRefused;
        });
}

std::optional<int> Position(const QString& text) {
    static const QRegularExpression kPosition(QStringLiteral("^[1-9][0-9]{0,4}$"));
    if (!kPosition.match(text).hasMatch()) {
        return std::nullopt;
    }
    return text.toInt();
}

CDataItem Child(const CDataItem& parent, const char* name) {
    CDataItem child = parent.GetChildByName(QString::fromLatin1(name));
    return child;
}

// Only the first numberChannels records are channels of the radio; the rest are spare records.
int ChannelCount(const CDataItem& root) {
    const int records = Child(root, "channels").GetChildCount();
    const int inUse =
        Child(root, "setting").GetAttributeValue(QStringLiteral("numberChannels")).toInt();
    return inUse < records ? inUse : records;
}

int FrequencyCount(const CDataItem& root) {
    return Child(root, "frequencies").GetChildCount();
}

bool HasFrequency(const CDataItem& root, int number) {
    const int count = FrequencyCount(root);
    if (number > count) {
        TellError(
            QStringLiteral("there is no frequency %1; the table has %2").arg(number).arg(count));
        return false;
    }
    return true;
}

std::optional<SFrequencyEntry> ParseFrequencyEntry(const QStringList& operands) {
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
