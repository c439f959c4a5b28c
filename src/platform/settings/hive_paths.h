#pragma once

#include <QString>

// Where the two configuration hives live. Both are INI files named after the organisation and the
// application, found the way the freedesktop base-directory rules say, so that a build tree or a
// test can bring its own machine hive (XDG_CONFIG_DIRS) and a throw-away user hive
// (XDG_CONFIG_HOME) without touching /etc or the real home.
namespace hive_paths {

inline constexpr char16_t kOrganisation[] = u"Corvane";
inline constexpr char16_t kApplication[] = u"Vesk Kel CPS";

// Path of the hive file below one configuration folder: "<dir>/Corvane/Vesk Kel CPS.conf".
QString HiveFileIn(const QString& configDir);

// The first machine hive that exists along XDG_CONFIG_DIRS (default /etc/xdg), else the one the
// install step wrote below the program's own prefix ("<bin>/../etc/xdg"); when none exists, where
// the first one along XDG_CONFIG_DIRS would be, so that the caller can still name it in a message.
QString MachineHiveFile();

// The user hive below XDG_CONFIG_HOME (default ~/.config).
QString UserHiveFile();

}  // namespace hive_paths
