#include "platform/settings/decimal_separator.h"

#include <QLocale>

namespace {

struct SLanguageLocale {
    const char* language;
    QLocale::Language qtLanguage;
    QLocale::Territory territory;
};

// The locales the language names stand for (CaFrench is French as written in Canada, LaSpanish
// the modern sort of Spain's Spanish, LaPortuguese Brazil's).
constexpr SLanguageLocale kLocales[] = {
    {"CaFrench", QLocale::French, QLocale::Canada},
    {"Dutch", QLocale::Dutch, QLocale::Netherlands},
    {"English", QLocale::English, QLocale::UnitedStates},
    {"French", QLocale::French, QLocale::France},
    {"German", QLocale::German, QLocale::Germany},
    {"Italian", QLocale::Italian, QLocale::Italy},
    {"LaPortuguese", QLocale::Portuguese, QLocale::Brazil},
    {"LaSpanish", QLocale::Spanish, QLocale::Spain},
    {"Polish", QLocale::Polish, QLocale::Poland},
    {"Portuguese", QLocale::Portuguese, QLocale::Portugal},
    {"Russian", QLocale::Russian, QLocale::Russia},
    {"Spanish", QLocale::Spanish, QLocale::Spain},
};

}  // namespace

QString DecimalSeparatorFor(const QString& language) {
    for (const SLanguageLocale& entry : kLocales) {
        if (language == QLatin1String(entry.language)) {
            const QString separator = QLocale(entry.qtLanguage, entry.territory).decimalPoint();
            return separator.isEmpty() ? QStringLiteral(".") : separator;
        }
    }
    return QStringLiteral(".");
}
