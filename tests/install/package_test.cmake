# The Debian package: built with CPack from the build tree, unpacked into a scratch root with
# dpkg-deb -x (dpkg -i into another root needs root's rights and a dpkg database there), and
# run from that root: orvell --version, and a headless play of the demo it finds by itself.
# Arguments: BUILD (the build tree), WORK (a scratch folder, emptied first), DPKG_DEB.

cmake_minimum_required(VERSION 3.25)

if(NOT DPKG_DEB)
  message(FATAL_ERROR "dpkg-deb was not found: the package cannot be checked")
endif()
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/root ${WORK}/elsewhere)

execute_process(COMMAND cpack -G DEB -B ${WORK}/out
  WORKING_DIRECTORY ${BUILD}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${out}${err}")
endif()
file(GLOB packages ${WORK}/out/orvell_*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "cpack made ${count} packages: ${packages}")
endif()

# The dependencies are Debian's runtime packages of the libraries, and the font.
execute_process(COMMAND ${DPKG_DEB} --field ${packages} Depends
  OUTPUT_VARIABLE depends RESULT_VARIABLE status)
foreach(package libqt6widgets6 libsdl2 libjpeg62-turbo libvorbisfile3 libfreetype6 fonts-ipafont-gothic)
  if(NOT depends MATCHES "(^|[ ,])${package}")
    message(FATAL_ERROR "the package does not depend on ${package}: ${depends}")
  endif()
endforeach()
if(depends MATCHES "-dev")
  message(FATAL_ERROR "the package depends on development packages: ${depends}")
endif()

execute_process(COMMAND ${DPKG_DEB} -x ${packages} ${WORK}/root RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "dpkg-deb -x failed")
endif()
set(orvell ${WORK}/root/usr/bin/orvell)
foreach(file ${orvell} ${WORK}/root/usr/bin/orvtool
             ${WORK}/root/usr/share/orvell/demo/ov_data.orv
             ${WORK}/root/usr/share/applications/org.orvell.Orvell.desktop)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "the package lacks ${file}")
  endif()
endforeach()

execute_process(COMMAND ${orvell} --version RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out MATCHES "^orvell [0-9]")
  message(FATAL_ERROR "orvell --version from the package: status ${status}, \"${out}\"")
endif()

# Started without a game directory, from a directory without a game, it plays the demo it
# installed, through to the title.
execute_process(COMMAND ${orvell} --headless --seed 1
  WORKING_DIRECTORY ${WORK}/elsewhere
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "auto play: .*the game came back to its title")
  message(FATAL_ERROR "the packaged demo did not play (status ${status}):\n${out}${err}")
endif()
