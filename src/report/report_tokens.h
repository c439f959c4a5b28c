#pragma once

// The words of the reports. A style sheet writes every word as a token, "$#" and its English
// label; after the transform each token becomes the user's language. Tables run in their order, a
// longer token before any token it begins with ("$#Disable All LEDs" before "$#Disable").

#include <optional>
#include <span>
#include <string_view>

#include <QString>
#include <QStringView>

namespace report::detail {

enum class EReplacement {
    Label,        // the string whose English text is the label
    Other,        // the string whose English text is `english`
    Bandwidth,    // `english` is a pattern; "%s" is the string `argument` ("12.5"), with the
                  // language's decimal separator
    Number,       // `english` is a pattern; "%d" is `argument` as it stands
    WithDefault,  // the string `english` followed by a blank and "(default)"
};

struct SReportToken {
    std::u16string_view label;
    EReplacement how = EReplacement::Label;
    std::u16string_view english = {};
    std::u16string_view argument = {};
};

std::span<const SReportToken> DetailedReportTokens();
std::span<const SReportToken> HandoutTokens();

// The string-table number of the string whose English text is `english`.
std::optional<int> StringIdOfEnglish(QStringView english);
// What a token becomes in the language loaded now.
QString Replacement(const SReportToken& token, const QString& decimalSeparator);

QString Localize(QString html, std::span<const SReportToken> tokens,
                 const QString& decimalSeparator);

}  // namespace report::detail
