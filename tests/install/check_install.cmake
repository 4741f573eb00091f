# Installs the program into a temporary prefix and checks what a desktop and a user find there:
# the layout, the desktop entry and metainfo by their validators, the manual page against the
# options, the command line without a display, and the installed program (and the build's)
# starting its core on new data folders chosen by --data, $ZORVEL_DATA and the user's folder.
# Run with -DBUILD=<build dir> -DWORK=<empty scratch dir>.
file(REMOVE_RECURSE ${WORK})
set(PREFIX ${WORK}/prefix)
set(ZORVEL ${PREFIX}/bin/zorvel)

function(run_ok)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect_in text what)
  string(FIND "${text}" "${what}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected \"${what}\" in:\n${text}")
  endif()
endfunction()

run_ok(${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX})
set(APP org.zorvel.Zorvel)
foreach(f bin/zorvel share/zorvel/ZorvelHelp.html share/zorvel/sample/ﾌﾟﾗｲﾍﾞｰﾄ.txt share/zorvel/sample/体重.txt
          share/applications/${APP}.desktop share/icons/hicolor/scalable/apps/${APP}.svg
          share/metainfo/${APP}.metainfo.xml share/man/man1/zorvel.1.gz share/doc/zorvel/copyright)
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
find_program(APPSTREAMCLI appstreamcli REQUIRED)
run_ok(${DESKTOP_FILE_VALIDATE} ${PREFIX}/share/applications/${APP}.desktop)
if(NOT out STREQUAL "" OR NOT err STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate complains:\n${out}${err}")
endif()
# --strict fails on anything but pedantic hints; the one left is the id's capitals, by custom.
run_ok(${APPSTREAMCLI} validate --pedantic --strict --no-net ${PREFIX}/share/metainfo/${APP}.metainfo.xml)
file(READ ${PREFIX}/share/metainfo/${APP}.metainfo.xml metainfo)
foreach(what "<screenshot type=\"default\">" "<project_license>GPL-3.0-or-later</project_license>")
  expect_in("${metainfo}" "${what}")
endforeach()

# Without a display (a platform that cannot start): the options that open no window still work,
# in Japanese, and Qt's words with them.
set(NO_DISPLAY ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb)
run_ok(${NO_DISPLAY} ${ZORVEL} --version)
expect_in("${out}" "Zorvel 1.0.0")
run_ok(${NO_DISPLAY} ${ZORVEL} --help)
expect_in("${out}" "使い方: ${ZORVEL} [オプション]")
expect_in("${out}" "--data <DIR>")
set(help "${out}")
execute_process(COMMAND ${NO_DISPLAY} ${ZORVEL} --bogus RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT err STREQUAL "Zorvel: 'bogus' は未知のオプションです。\n")
  message(FATAL_ERROR "a wrong option without a display: exit ${rc}\n${err}")
endif()
# --help shows no test-only option, and the manual page names every option it shows.
execute_process(COMMAND gzip -dc ${PREFIX}/share/man/man1/zorvel.1.gz OUTPUT_VARIABLE manual)
string(REPLACE "\\-" "-" manual "${manual}")
string(REGEX MATCHALL "--[a-z-]+" options "${help}")
foreach(option ${options})
  if(option MATCHES "clock|quit-after-show")
    message(FATAL_ERROR "--help shows the test-only ${option}")
  endif()
  expect_in("${manual}" "${option}")
endforeach()

# A new folder by --data: made, seeded with the sample, the help file found beside the install;
# the sample's help tour greets no one.
run_ok(${NO_DISPLAY} ${ZORVEL} --check --data ${WORK}/diary)
expect_in("${out}" "データフォルダ: ${WORK}/diary\n")
expect_in("${out}" "ヘルプ: ${PREFIX}/share/zorvel/ZorvelHelp.html\n")
expect_in("${out}" "サンプルモード: はい")
if(NOT err STREQUAL "")
  message(FATAL_ERROR "--check printed boxes:\n${err}")
endif()
file(GLOB seed RELATIVE ${PREFIX}/share/zorvel/sample ${PREFIX}/share/zorvel/sample/*)
foreach(f ${seed})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/diary/${f} ${PREFIX}/share/zorvel/sample/${f}
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "not seeded: ${f}")
  endif()
endforeach()

# Without --data: $ZORVEL_DATA, else the user's data folder; --data wins over both.
run_ok(${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME HOME=${WORK}/home ZORVEL_DATA=${WORK}/from-env
       ${ZORVEL} --check)
expect_in("${out}" "データフォルダ: ${WORK}/from-env\n")
run_ok(${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME --unset=ZORVEL_DATA HOME=${WORK}/home ${ZORVEL} --check)
expect_in("${out}" "データフォルダ: ${WORK}/home/.local/share/Zorvel\n")
run_ok(${CMAKE_COMMAND} -E env ZORVEL_DATA=${WORK}/from-env ${ZORVEL} --check --data ${WORK}/diary)
expect_in("${out}" "データフォルダ: ${WORK}/diary\n")

# The program in the build seeds from the build's copy of the sample; a program moved away from
# any sample says so and makes nothing.
run_ok(${BUILD}/Zorvel/zorvel --check --data ${WORK}/from-build)
expect_in("${out}" "サンプルモード: はい")
file(COPY ${ZORVEL} DESTINATION ${WORK}/alone)
execute_process(COMMAND ${WORK}/alone/zorvel --check --data ${WORK}/lost RESULT_VARIABLE rc ERROR_VARIABLE err)
expect_in("${err}" "サンプルデータのフォルダー「${WORK}/share/zorvel/sample」が見つかりません。")
if(rc EQUAL 0 OR EXISTS ${WORK}/lost)
  message(FATAL_ERROR "a program without its sample made a new data folder")
endif()

# A folder that cannot be made: one clear message naming it, a failure status, nothing made.
execute_process(COMMAND ${ZORVEL} --check --data ${WORK}/diary/体重.txt/new RESULT_VARIABLE rc OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "an impossible data folder was accepted")
endif()
expect_in("${err}" "データフォルダー「${WORK}/diary/体重.txt/new」を作れませんでした。")
file(REMOVE_RECURSE ${WORK})
