# The profile schema accepts every good sample profile and refuses every bad one, as xmllint's
# validator sees it (our own validator is checked against the same files).
#   cmake -DSCHEMA=... -DSAMPLES=... -P schema_samples.cmake
cmake_minimum_required(VERSION 3.25)
find_program(XMLLINT xmllint REQUIRED)
file(GLOB good "${SAMPLES}/good/*.xml")
file(GLOB bad "${SAMPLES}/bad/*.xml")
if(NOT good OR NOT bad)
  message(FATAL_ERROR "no samples under ${SAMPLES}")
endif()
foreach(file IN LISTS good bad)
  execute_process(COMMAND "${XMLLINT}" --noout --nonet --schema "${SCHEMA}" "${file}"
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(file IN_LIST good AND NOT rc EQUAL 0)
    message(FATAL_ERROR "good sample refused: ${file}\n${err}")
  endif()
  if(file IN_LIST bad AND rc EQUAL 0)
    message(FATAL_ERROR "bad sample accepted: ${file}")
  endif()
endforeach()
message(STATUS "schema samples ok")
