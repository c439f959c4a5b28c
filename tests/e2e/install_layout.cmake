# Installs the build into a scratch folder (DESTDIR) under two prefixes and checks the layout:
# the installation folder with its subfolders and language module, the programs, and a machine
# hive in the right place that names the installation folder.
#   cmake -DBUILD_DIR=... -DSCRATCH=... -P install_layout.cmake

function(expect_file path)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "missing after install: ${path}")
  endif()
endfunction()

function(check_prefix prefix config_root)
  set(dest "${SCRATCH}/${config_root}-root")
  file(REMOVE_RECURSE "${dest}")
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env "DESTDIR=${dest}"
            "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
    RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install --prefix ${prefix} failed: ${rc}")
  endif()
  foreach(dir profiletemplate lib Report help)
    if(NOT IS_DIRECTORY "${dest}${prefix}/share/veskcps/${dir}")
      message(FATAL_ERROR "missing folder: ${dest}${prefix}/share/veskcps/${dir}")
    endif()
  endforeach()
  expect_file("${dest}${prefix}/share/veskcps/veskcps_de.qm")
  expect_file("${dest}${prefix}/share/veskcps/lib/Region.stv")
  foreach(program veskcps veskctl vesksim)
    expect_file("${dest}${prefix}/bin/${program}")
  endforeach()

  set(hive "${dest}${config_root}/xdg/Corvane/Vesk Kel CPS.conf")
  expect_file("${hive}")
  file(READ "${hive}" text)
  foreach(line "InstallPath=\"${prefix}/share/veskcps\"" "DefaultLanguage=English"
               "ShowContextHelp=1" "German\\GUIResource=\"veskcps_de.qm\""
               "English\\HelpFileName=" "German\\DealerInfoMiddle=")
    string(FIND "${text}" "${line}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${hive} lacks '${line}':\n${text}")
    endif()
  endforeach()
endfunction()

check_prefix("/usr" "/etc")
check_prefix("/opt/vesk" "/opt/vesk/etc")
message(STATUS "install layout ok")
