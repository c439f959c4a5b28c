// veskctl config: where the configuration comes from and what it resolves to. Reads only; the
// user hive is prepared by the programs that need it.

#include <cstdio>

#include <QFileInfo>

#include "platform/settings/configuration.h"
#include "verbs.h"

namespace {

QString Described(const QString& path) {
    if (path.isEmpty()) {
        return QStringLiteral("(none)");
    }
    return QFileInfo::exists(path) ? path : path + QStringLiteral("  (missing)");
}

void Line(const char* label, const QString& value) {
    std::printf("%-18s %s\n", label,
                qPrintable(value.isEmpty() ? QStringLiteral("(none)") : value));
}

}  // namespace

int RunConfig(const QStringList& args) {
    if (!args.isEmpty()) {
        std::fprintf(stderr, "veskctl: config takes no arguments\n");
        return kExitUsage;
    }
    const CConfiguration config = CConfiguration::FromEnvironment();

    Line("machine hive:", Described(config.MachineHive().FilePath()));
    Line("user hive:", Described(config.UserHive().FilePath()));
    Line("InstallPath:", config.GetInstallPath());
    Line("DefaultLanguage:", config.GetDefaultLanguage());

    QString current = config.GetCurrentLanguage();
    if (current.isEmpty()) {
        // What the first start will store.
        current = config.GetDefaultLanguage();
        Line("CurrentLanguage:",
             current.isEmpty() ? QString() : current + QStringLiteral("  (from DefaultLanguage)"));
    } else {
        Line("CurrentLanguage:", current);
    }
    const int help = config.GetShowContextHelp();
    Line("ShowContextHelp:", help < 0 ? QString() : QString::number(help));
    Line("help file:", Described(config.GetHelpFilePath(current)));
    Line("language module:", current == QStringLiteral("English")
                                 ? QStringLiteral("(built in)")
                                 : Described(config.GetResourceModulePath(current)));

    std::printf("languages:\n");
    for (const QString& language : CConfiguration::LanguageNames()) {
        const QString helpFile = config.GetHelpFilePath(language);
        const QString module = config.GetResourceModulePath(language);
        if (helpFile.isEmpty() && module.isEmpty() && language != QStringLiteral("English")) {
            continue;
        }
        std::printf("  %-13s help: %s\n  %-13s module: %s\n", qPrintable(language),
                    qPrintable(Described(helpFile)), "",
                    qPrintable(module.isEmpty() && language == QStringLiteral("English")
                                   ? QStringLiteral("(built in)")
                                   : Described(module)));
    }
    return kExitOk;
}
