# Writes the machine hive of an installation. Runs inside `cmake --install`, where
# CMAKE_INSTALL_PREFIX is the prefix being installed into.

# "/usr/" is the prefix "/usr" as well.
string(REGEX REPLACE "(.)/+$" "\\1" prefix "${CMAKE_INSTALL_PREFIX}")
set(install_path "${prefix}/${VESK_INSTALL_DATADIR}")
# A system installation keeps its configuration in /etc, where the base-directory default
# (/etc/xdg) finds it; any other prefix keeps it below itself, in <prefix>/etc/xdg, where the
# programs in <prefix>/bin look when XDG_CONFIG_DIRS names no hive.
if(prefix STREQUAL "/usr")
  set(config_root "/etc")
else()
  set(config_root "${prefix}/etc")
endif()
set(hive "$ENV{DESTDIR}${config_root}/${VESK_HIVE_SUBPATH}")

# Values are quoted so that commas, semicolons and leading blanks in a path survive the INI reader.
function(ini_value out value)
  string(REPLACE "\\" "\\\\" value "${value}")
  string(REPLACE "\"" "\\\"" value "${value}")
  set(${out} "\"${value}\"" PARENT_SCOPE)
endfunction()

ini_value(q_install_path "${install_path}")
set(text "[General]\nDefaultLanguage=English\nInstallPath=${q_install_path}\nShowContextHelp=1\n\n[Language]\n")

# Per language: its help file, its language module (English is built into the program) and the
# dealer's initial texts, empty until the dealer fills them in.
set(help_English "help/veskcps_en.qhc")
set(help_German "help/veskcps_en.qhc")
set(module_German "veskcps_de.qm")
foreach(lang English German)
  string(APPEND text "${lang}\\HelpFileName=\"${help_${lang}}\"\n")
  if(DEFINED module_${lang})
    string(APPEND text "${lang}\\GUIResource=\"${module_${lang}}\"\n")
  endif()
  foreach(value DealerInfoLeft DealerInfoMiddle DealerInfoRight)
    string(APPEND text "${lang}\\${value}=\"\"\n")
  endforeach()
endforeach()

message(STATUS "Writing machine hive: ${hive}")
file(WRITE "${hive}" "${text}")
