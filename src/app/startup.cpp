#include "app/startup.h"

#include "platform/settings/configuration.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"

QString LoadLanguage(const CConfiguration& config, IUserPrompt& prompt, CStringTable& strings) {
    const QString english = QStringLiteral("English");
    const QString language = config.GetCurrentLanguage();
    if (language != english &&
        !strings.LoadLanguageModule(config.GetResourceModulePath(language))) {
        strings.UnloadLanguageModule();
        config.SetCurrentLanguage(english);
        prompt.Show(startup_msg::kLanguageModuleMissing, PromptStyle::Warning);
    }
    return config.GetCurrentLanguage();
}
