# Plays one play file over the demo game, then compares its screenshots with the goldens.
# Arguments: ORVELL, GAME (build/demo), PLAY, GOLDEN (the folder of golden PNG files) and
# WORK (a scratch folder, emptied first).

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/GameData.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/out ${WORK}/data)
if(NOT EXISTS ${GAME}/ov_data.orv)
  message(FATAL_ERROR "the demo game is missing from ${GAME}: build the `demo` target first")
endif()

execute_process(
  COMMAND ${ORVELL} --headless --play ${PLAY} --out ${WORK}/out --data-dir ${WORK}/data
          --seed 1 --date 2026-01-01T12:00:00 ${GAME}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "orvell --headless --play ${PLAY} exited with status ${status}")
endif()

# The PNG writer is deterministic, so equal files mean equal pictures.
file(GLOB shots RELATIVE ${WORK}/out ${WORK}/out/*.png)
set(mismatches)
foreach(shot IN LISTS shots)
  if("$ENV{ORVELL_UPDATE_GOLDEN}" STREQUAL "1")
    file(COPY ${WORK}/out/${shot} DESTINATION ${GOLDEN})
    message("golden ${shot} written")
  elseif(EXISTS ${GOLDEN}/${shot})
    file(SHA256 ${WORK}/out/${shot} got)
    file(SHA256 ${GOLDEN}/${shot} wanted)
    if(NOT got STREQUAL wanted)
      list(APPEND mismatches ${shot})
    endif()
  endif()
endforeach()
if(mismatches)
  message(FATAL_ERROR "screenshots differ from their goldens: ${mismatches} (see ${WORK}/out)")
endif()

check_printed_lines(${PLAY} "${out}${err}")
