# cmake --install into a scratch prefix: every file in its place, the metadata valid, the
# manual pages free of warnings, the icon a 256 x 256 PNG, and the demo game beside them.
# Arguments: BUILD (the build tree), WORK (a scratch folder, emptied first), APPSTREAMCLI, MAN.

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${WORK}/usr
  RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${err}")
endif()

set(prefix ${WORK}/usr)
set(expected
  bin/orvell
  bin/orvtool
  share/applications/org.orvell.Orvell.desktop
  share/metainfo/org.orvell.Orvell.metainfo.xml
  share/icons/hicolor/256x256/apps/org.orvell.Orvell.png
  share/man/man1/orvell.1
  share/man/man1/orvtool.1
  share/orvell/demo/ov_data.orv
  share/orvell/demo/ov_gra.orv)
foreach(file IN LISTS expected)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "cmake --install left out ${file}")
  endif()
endforeach()

# Nothing of the build's own (tests, the painters, the icon maker) is installed.
file(GLOB installed_programs RELATIVE ${prefix}/bin ${prefix}/bin/*)
if(NOT installed_programs STREQUAL "orvell;orvtool")
  message(FATAL_ERROR "bin/ holds ${installed_programs}, not just orvell and orvtool")
endif()

# The desktop entry starts the installed program with the icon installed beside it.
file(STRINGS ${prefix}/share/applications/org.orvell.Orvell.desktop entry)
foreach(line "Exec=orvell %f" "Icon=org.orvell.Orvell" "Type=Application")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "the desktop entry lacks \"${line}\"")
  endif()
endforeach()

# PNG signature, then the IHDR chunk's width and height (big-endian words at 16 and 20).
file(READ ${prefix}/share/icons/hicolor/256x256/apps/org.orvell.Orvell.png head LIMIT 24 HEX)
if(NOT head MATCHES "^89504e470d0a1a0a0000000d494844520000010000000100$")
  message(FATAL_ERROR "the icon is no 256 x 256 PNG: ${head}")
endif()

if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --explain
                          ${prefix}/share/metainfo/org.orvell.Orvell.metainfo.xml
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate refuses the metadata:\n${out}${err}")
  endif()
else()
  message(WARNING "appstreamcli was not found: the metadata is not validated")
endif()

if(MAN)
  foreach(page orvell.1 orvtool.1)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANWIDTH=80
                            ${MAN} --warnings -E UTF-8 -l ${prefix}/share/man/man1/${page}
      RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0 OR NOT err STREQUAL "" OR out STREQUAL "")
      message(FATAL_ERROR "man --warnings ${page} (status ${status}):\n${err}")
    endif()
  endforeach()
else()
  message(WARNING "man was not found: the manual pages are not checked")
endif()

# Both programs run from the prefix.
execute_process(COMMAND ${prefix}/bin/orvell --version
  RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out MATCHES "^orvell [0-9]")
  message(FATAL_ERROR "the installed orvell --version: status ${status}, \"${out}\"")
endif()
execute_process(COMMAND ${prefix}/bin/orvtool --help
  RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out MATCHES "list ARCHIVE")
  message(FATAL_ERROR "the installed orvtool --help: status ${status}, \"${out}\"")
endif()
