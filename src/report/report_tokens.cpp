#include "report/report_tokens.h"

#include <optional>
#include <vector>

#include <QHash>

#include "platform/string_table.h"

namespace report::detail {

namespace {

using K = EReplacement;

// The rows run in this order; it is part of the style sheets' contract and is never sorted.
constexpr SReportToken kDetailed[] = {
    {u"Accessory Microphone Gain"},
    {u"After conversation"},
    {u"Alkaline"},
    {u"Alternate Battery Selection"},
    {u"Audio Settings"},
    {u"Auto Scan"},
    {u"Available Channels"},
    {u"Back Light (Sec.)"},
    {u"Backlight"},
    {u"Bandwidth"},
    {u"Buttons"},
    {u"Call Tone"},
    {u"Channel #"},
    {u"Channels"},
    {u"Codeplug Version"},
    {u"Customized KT"},
    {u"Compander"},
    {u"Customized VRC"},
    {u"Detailed Report"},
    {u"Disable All LEDs"},
    {u"Disable Battery Save"},
    {u"Disable Restore Factory Default"},
    {u"Disable Channel"},
    {u"Disable"},
    {u"Enable Courtesy Over Beep"},
    {u"Enable Programming Mode"},
    {u"Enable"},
    {u"English"},
    {u"Firmware Version"},
    {u"Frequency Range (MHz)"},
    {u"Frequency(Index)"},
    {u"Frequency"},
    {u"General Settings"},
    {u"High Power only", K::Other, u"High power only"},
    {u"High"},
    {u"iVOX Level"},
    {u"Index"},
    {u"Keypad Beep"},
    {u"Keypad Lock"},
    {u"Low power only"},
    {u"Low"},
    {u"Maximum Channel"},
    {u"Medium"},
    {u"MHz"},
    {u"Microphone Gain"},
    {u"Monitor"},
    {u"Name"},
    {u"Nickel/LiIon"},
    {u"No Operation"},
    {u"No KT/VRC code"},
    {u"None"},
    {u"On Battery Alert Tone"},
    {u"ON/OFF"},
    {u"OFF"},
    {u"Out of range"},
    {u"ON"},
    {u"KT Code 124 (Hz)", K::Number, u"KT Code %d (Hz)", u"124"},
    {u"KT Code 125 (Hz)", K::Number, u"KT Code %d (Hz)", u"125"},
    {u"KT Code 126 (Hz)", K::Number, u"KT Code %d (Hz)", u"126"},
    {u"KT Code 127 (Hz)", K::Number, u"KT Code %d (Hz)", u"127"},
    {u"KT Code 128 (Hz)", K::Number, u"KT Code %d (Hz)", u"128"},
    {u"KT Code 129 (Hz)", K::Number, u"KT Code %d (Hz)", u"129"},
    {u"KT Reverse Burst"},
    {u"KT/VRC Code"},
    {u"Power Level"},
    {u"Power Up Text"},
    {u"Preset 1 Channel"},
    {u"Preset 1"},
    {u"Preset 2 Channel"},
    {u"Preset 2"},
    {u"Prog 1 (URB)", K::Other, u"Button A"},
    {u"Prog 2 (LLB)", K::Other, u"Button B"},
    {u"Prog 3 (LRB)", K::Other, u"Button C"},
    {u"KT Code 214", K::Number, u"KT Code %d (OCT)", u"214"},
    {u"KT Code 215", K::Number, u"KT Code %d (OCT)", u"215"},
    {u"KT Code 216", K::Number, u"KT Code %d (OCT)", u"216"},
    {u"KT Code 217", K::Number, u"KT Code %d (OCT)", u"217"},
    {u"KT Code 218", K::Number, u"KT Code %d (OCT)", u"218"},
    {u"KT Code 219", K::Number, u"KT Code %d (OCT)", u"219"},
    {u"Radio Information"},
    {u"Receive/Transmit"},
    {u"Receive"},
    {u"Regional Code"},
    {u"Repeater ID Mode"},
    {u"Repeater Power"},
    {u"Repeater Station ID"},
    {u"Repeater/Talkaround"},
    {u"Repeater"},
    {u"Roger Beep Tone"},
    {u"Rx Frequency Range (MHz)"},
    {u"Scan List Member", K::Other, u"Scan List Members"},
    {u"Scan List"},
    {u"Scan/Nuisance Channel Delete"},
    {u"Scramble Button"},
    {u"Scramble code 1", K::Other, u"Scramble Code 1"},
    {u"Scramble code 2", K::Other, u"Scramble Code 2"},
    {u"Scramble code 3", K::Other, u"Scramble Code 3"},
    {u"Scramble"},
    {u"Selectable"},
    {u"Serial Number"},
    {u"Side Button 1", K::Other, u"Side Button 1 (SB1)"},
    {u"Side Button 2", K::Other, u"Side Button 2 (SB2)"},
    {u"Talkaround Scan", K::Other, u"Dynamic Talkaround Scan"},
    {u"Talkaround Power"},
    {u"Transmit Power"},
    {u"Transmit Timeout Timer (Sec.)"},
    {u"Transmit"},
    {u"Tx Frequency Range (MHz)"},
    {u"Tx Hangtime (Sec.)"},
    {u"Tx Low Battery (Min.)"},
    {u"Tx Power Selection"},
    {u"User selectable with 12.5 KHz as default", K::Bandwidth,
     u"User selectable with %s KHz as default", u"12.5"},
    {u"User selectable with 25 KHz as default", K::Bandwidth,
     u"User selectable with %s KHz as default", u"25"},
    {u"User Selectable with high power as default", K::Other,
     u"User selectable with high power as default"},
    {u"User selectable with low power as default"},
    {u"VOX Level"},
    {u"Voice Language", K::Other, u"Channel Announcement Language"},
    {u"12.5 KHz only", K::Bandwidth, u"%s KHz only", u"12.5"},
    {u"12.5KHz", K::Bandwidth, u"%s KHz", u"12.5"},
    {u"15 min"},
    {u"15", K::Other, u"15 min"},
    {u"25 KHz only", K::Bandwidth, u"%s KHz only", u"25"},
    {u"25KHz", K::Bandwidth, u"%s KHz", u"25"},
    {u"30 min"},
    {u"30", K::Other, u"30 min"},
    {u"45 min"},
    {u"60 min"},
    // Beyond the rows every style sheet may rely on, at the end so that they change nothing for
    // a sheet that does not use them: the channel announcement languages besides English.
    {u"French"},
    {u"Spanish"},
};

constexpr SReportToken kHandout[] = {
    {u"Call Tone (default)", K::WithDefault, u"Call Tone"},
    {u"Call Tone"},
    {u"Monitor (default)", K::WithDefault, u"Monitor"},
    {u"Monitor"},
    {u"Preset 1 (default)", K::WithDefault, u"Preset 1"},
    {u"Preset 1"},
    {u"Preset 2 (default)", K::WithDefault, u"Preset 2"},
    {u"Preset 2"},
    {u"Scan/Nuisance Channel Delete (default)", K::WithDefault, u"Scan/Nuisance Channel Delete"},
    {u"Scan/Nuisance Channel Delete"},
    {u"No Operation (default)", K::WithDefault, u"No Operation"},
    {u"No Operation"},
    {u"Tx Power Selection (default)", K::WithDefault, u"Tx Power Selection"},
    {u"Tx Power Selection"},
    {u"Backlight"},
    {u"Repeater/Talkaround"},
    {u"Scramble"},
    {u"Accessory Jack"},
    {u"Channel Selector"},
    {u"ZN420"},
    {u"Customer Handout"},
    {u"Down Button:"},
    {u"Li-Ion Battery Pack"},
    {u"Menu Button:"},
    {u"Menu Mode"},
    {u"Microphone"},
    {u"Model Number"},
    {u"Model"},
    {u"Power/Volume Knob"},
    {u"Prog 1 (URB)", K::Other, u"Button A"},
    {u"Prog 2 (LLB)", K::Other, u"Button B"},
    {u"Prog 3 (LRB)", K::Other, u"Button C"},
    {u"Push-to-Talk (PTT)"},
    {u"QMV"},
    {u"Scroll down the menu items/change channel"},
    {u"Scroll up the menu items/change channel"},
    {u"Serial Number"},
    {u"GQ730"},
    {u"Side Button 1 (SB1)"},
    {u"Side Button 2 (SB2)"},
    {u"Spring Action Belt Clip"},
    {u"Tri-Color LED"},
    {u"Up Button:"},
    {u"Wolk", K::Other, u"Wolk Series"},
    {u"JVB"},
    // Beyond the rows every style sheet may rely on: the headings of the leaflet's blocks.
    {u"Buttons"},
    {u"Channels"},
};

static_assert(std::size(kDetailed) == 129);
static_assert(std::size(kHandout) == 47);

QString Text(std::u16string_view english) {
    const QStringView view(english.data(), static_cast<qsizetype>(english.size()));
    const std::optional<int> id = StringIdOfEnglish(view);
    // Only a string table without the word can get here (the tests rule that out): the English
    // word is still better than a token on paper.
    return id ? CStringTable::Instance().Text(*id) : view.toString();
}

QString Fill(std::u16string_view pattern, const QString& value) {
    return CStringTable::FormatText(Text(pattern), {value});
}

}  // namespace

std::span<const SReportToken> DetailedReportTokens() {
    return kDetailed;
}

std::span<const SReportToken> HandoutTokens() {
    return kHandout;
}

std::optional<int> StringIdOfEnglish(QStringView english) {
    static const QHash<QString, int> ids = [] {
        QHash<QString, int> byText;
        for (const SStringEntry& entry : EnglishStrings()) {
            // Some texts stand at two numbers; the first keeps the word.
            const QString text = QString::fromUtf16(entry.text);
            if (!byText.contains(text)) {
                byText.insert(text, entry.id);
            }
        }
        return byText;
    }();
    const auto found = ids.constFind(english.toString());
    return found == ids.cend() ? std::nullopt : std::optional<int>(found.value());
}

QString Replacement(const SReportToken& token, const QString& decimalSeparator) {
    switch (token.how) {
        case K::Label:
            return Text(token.label);
        case K::Other:
            return Text(token.english);
        case K::Bandwidth:
            return Fill(token.english,
                        Text(token.argument).replace(QLatin1Char('.'), decimalSeparator));
        case K::Number:
            return Fill(token.english,
                        QString::fromUtf16(token.argument.data(),
                                           static_cast<qsizetype>(token.argument.size())));
        case K::WithDefault:
            return Text(token.english) + QLatin1Char(' ') + Text(u"(default)");
    }
    return QString();
}

// One pass over the text: at each "$#" the first row of the table that matches there wins, which
// is what replacing row after row through the whole text gives (no label holds "$#", so matches
// never overlap), at a fraction of the cost for a report of a hundred kilobytes.
QString Localize(QString html, std::span<const SReportToken> tokens,
                 const QString& decimalSeparator) {
    const QStringView text(html);
    QString out;
    out.reserve(text.size());
    std::vector<std::optional<QString>> replacements(tokens.size());
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(u"$#"); at >= 0; at = text.indexOf(u"$#", from)) {
        out.append(text.mid(from, at - from));
        const QStringView rest = text.mid(at + 2);
        from = at + 2;
        size_t row = 0;
        for (; row < tokens.size(); ++row) {
            const std::u16string_view label = tokens[row].label;
            if (rest.startsWith(QStringView(label.data(), static_cast<qsizetype>(label.size())))) {
                break;
            }
        }
        if (row == tokens.size()) {
            out.append(u"$#");
            continue;
        }
        if (!replacements[row]) {
            replacements[row] = Replacement(tokens[row], decimalSeparator);
        }
        out.append(*replacements[row]);
        from += static_cast<qsizetype>(tokens[row].label.size());
    }
    out.append(text.mid(from));
    return out;
}

}  // namespace report::detail
