# Builds the Debian package from the build and has lintian judge it as strictly as it can
# (-EvIL +pedantic): no error and no warning may remain. Also that Qt's translations are asked
# for, which nothing links and so no tool would notice missing.
# Run with -DBUILD=<build dir> -DWORK=<scratch dir>.
find_program(LINTIAN lintian)
if(NOT LINTIAN)
  message("lintian is not installed: the package check is skipped (bash scripts/setup.sh installs it)")
  return()
endif()

file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${BUILD}/CPackConfig.cmake -B ${WORK}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB deb ${WORK}/*.deb)
list(LENGTH deb debs)
if(NOT rc EQUAL 0 OR NOT debs EQUAL 1)
  message(FATAL_ERROR "cpack made no package (${rc}):\n${out}\n${err}")
endif()

execute_process(COMMAND dpkg-deb --field ${deb} Recommends OUTPUT_VARIABLE recommends)
if(NOT recommends MATCHES "qt6-translations-l10n")
  message(FATAL_ERROR "the package does not ask for Qt's translations: Recommends: ${recommends}")
endif()

execute_process(COMMAND ${LINTIAN} -EvIL +pedantic ${deb} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
string(REGEX MATCHALL "(^|\n)[EW]: [^\n]*" faults "${out}")
if(faults OR NOT rc EQUAL 0)
  message(FATAL_ERROR "lintian finds errors or warnings (exit ${rc}):${faults}")
endif()
file(REMOVE_RECURSE ${WORK})
