#pragma once

#include <QStringList>

// Exit codes of every verb.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;  // refused input or radio error
inline constexpr int kExitUsage = 2;

struct SVerb {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& args);
};

int RunVersion(const QStringList& args);
int RunConfig(const QStringList& args);
int RunScript(const QStringList& args);
