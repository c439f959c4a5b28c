#pragma once

#include <QString>

class CConfiguration;
class CStringTable;
class IUserPrompt;

namespace startup_msg {
inline constexpr int kLanguageModuleMissing = 325;
}

// Puts the user's language into effect: any language but English needs its language module;
// when that cannot be loaded the store is set back to English and the user is told (325), and
// the program goes on in English. Returns the language now in effect, as stored.
QString LoadLanguage(const CConfiguration& config, IUserPrompt& prompt, CStringTable& strings);
