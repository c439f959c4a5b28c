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

# The installed program, run where it was installed to, finds its machine hive below its own
# prefix when XDG_CONFIG_DIRS names no hive (unset, or pointing elsewhere), and with it the
# installation folder.
function(check_installed_program)
  set(prefix "${SCRATCH}/prefix")
  file(REMOVE_RECURSE "${prefix}" "${SCRATCH}/elsewhere" "${SCRATCH}/home")
  file(MAKE_DIRECTORY "${SCRATCH}/elsewhere" "${SCRATCH}/home")
  execute_process(
    COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
    RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install --prefix ${prefix} failed: ${rc}")
  endif()
  set(environments "XDG_CONFIG_DIRS=${SCRATCH}/elsewhere")
  # Without XDG_CONFIG_DIRS the base-directory default /etc/xdg is asked first; only a machine
  # without a hive there shows that the program falls back to its own.
  if(NOT EXISTS "/etc/xdg/Corvane/Vesk Kel CPS.conf")
    list(APPEND environments "--unset=XDG_CONFIG_DIRS")
  endif()
  foreach(environment IN LISTS environments)
    set(run "${CMAKE_COMMAND}" -E env "${environment}" "XDG_CONFIG_HOME=${SCRATCH}/home"
            "HOME=${SCRATCH}/home")
    execute_process(COMMAND ${run} "${prefix}/bin/veskctl" config
      RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    foreach(line "machine hive:      ${prefix}/etc/xdg/Corvane/Vesk Kel CPS.conf\n"
                 "InstallPath:       ${prefix}/share/veskcps\n")
      string(FIND "${out}" "${line}" at)
      if(NOT rc EQUAL 0 OR at EQUAL -1)
        message(FATAL_ERROR "${environment}: veskctl config (exit ${rc}) lacks '${line}':\n${out}${err}")
      endif()
    endforeach()
    execute_process(
      COMMAND ${run} "${prefix}/bin/veskctl" validate
              "${prefix}/share/veskcps/profiletemplate/CUD41600.vk4"
      RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0 OR NOT out MATCHES "admitted\n$")
      message(FATAL_ERROR "${environment}: veskctl validate of an installed template (exit ${rc}):\n${out}${err}")
    endif()
  endforeach()
endfunction()

check_prefix("/usr" "/etc")
check_prefix("/opt/vesk" "/opt/vesk/etc")
check_installed_program()
message(STATUS "install layout ok")
