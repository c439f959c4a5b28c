# Every installed template passes xmllint's schema validation: in its own text when it is of the
# codeplug version the schema describes, and for every template in the text the editor holds,
# with the fields its version lacks put on. A template of an older version must NOT pass in its
# own text, or it would not be of an older version at all.
#   cmake -DVESKCTL=... -DSCHEMA=... -DTEMPLATES=... -DREGION=Region.stv -DSCRATCH=...
#         -P template_schema.cmake
cmake_minimum_required(VERSION 3.25)
find_program(XMLLINT xmllint REQUIRED)
# The codeplug version this installation writes is the one the schema describes.
file(READ "${REGION}" region)
if(NOT region MATCHES "<CPVersion>[ \t\r\n]*([0-9]+)[ \t\r\n]*</CPVersion>")
  message(FATAL_ERROR "no CPVersion in ${REGION}")
endif()
set(CURRENT_VERSION "${CMAKE_MATCH_1}")
file(GLOB templates "${TEMPLATES}/*.vk4")
if(NOT templates)
  message(FATAL_ERROR "no templates under ${TEMPLATES}")
endif()
file(MAKE_DIRECTORY "${SCRATCH}")
set(older 0)
foreach(template IN LISTS templates)
  get_filename_component(name "${template}" NAME_WE)
  foreach(form own loaded)
    set(text "${SCRATCH}/${name}.${form}.xml")
    set(flags)
    if(form STREQUAL "loaded")
      set(flags --as-loaded)
    endif()
    execute_process(COMMAND "${VESKCTL}" decode "${template}" ${flags}
                    OUTPUT_FILE "${text}" RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "veskctl decode ${flags} ${template} failed:\n${err}")
    endif()
    execute_process(COMMAND "${XMLLINT}" --noout --nonet --schema "${SCHEMA}" "${text}"
                    RESULT_VARIABLE valid OUTPUT_QUIET ERROR_VARIABLE why)
    file(READ "${text}" content)
    string(REGEX MATCH "codeplug_version=\"([0-9]+)\"" _ "${content}")
    set(version "${CMAKE_MATCH_1}")
    if(form STREQUAL "own" AND version LESS CURRENT_VERSION)
      if(valid EQUAL 0)
        message(FATAL_ERROR "${name} says codeplug version ${version} but has every field of "
                            "version ${CURRENT_VERSION}")
      endif()
      math(EXPR older "${older} + 1")
    elseif(NOT valid EQUAL 0)
      message(FATAL_ERROR "${name} (${form} text) fails the schema:\n${why}")
    endif()
  endforeach()
endforeach()
if(older EQUAL 0)
  message(FATAL_ERROR "no template of an older codeplug version")
endif()
message(STATUS "templates ok: every one valid as loaded; ${older} of an older version")
