# Makes the demo game's sound archives: the voices of SOURCE/sound/voices.txt, spoken by
# espeak-ng and encoded to Ogg Vorbis, in ov_ogg1.orv (the first voice archive); the chime
# demo_sounds synthesises as the packed WADY effect CHIME of ov_se0.orv; its music as the
# WADY stream M01 of ov_bgm.orv.
# Arguments: ORVTOOL, SOUNDS (demo_sounds), ESPEAK (espeak-ng, or empty), SOURCE, WORK (a
# scratch folder), OUT (the game folder) and STAMP (written last).

include(${CMAKE_CURRENT_LIST_DIR}/../cmake/GameData.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/speech ${WORK}/voices ${WORK}/wav ${WORK}/se ${WORK}/bgm ${OUT})

# Archives are written beside the game first and renamed, as in build_demo.cmake.
function(pack_into_game archive)
  run_tool(${ORVTOOL} pack --form b -o ${WORK}/${archive} ${ARGN})
  file(RENAME ${WORK}/${archive} ${OUT}/${archive})
endfunction()

# ---- Voices.
if(ESPEAK)
  execute_process(COMMAND ${ESPEAK} --voices=ja OUTPUT_VARIABLE japanese ERROR_QUIET)
  if(japanese MATCHES "[ \t]ja[ \t]")
    set(japanese ON)
  else()
    set(japanese OFF)
    message(WARNING "espeak-ng has no Japanese voice: the demo's voices read their romaji "
                    "lines with its English voice")
  endif()
  file(STRINGS ${SOURCE}/sound/voices.txt lines ENCODING UTF-8)
  set(voices)
  foreach(line IN LISTS lines)
    if(line MATCHES "^#" OR line STREQUAL "")
      continue()
    endif()
    string(REPLACE "|" ";" fields "${line}")
    list(LENGTH fields count)
    if(NOT count EQUAL 6)
      message(FATAL_ERROR "voices.txt: six fields separated by | expected in: ${line}")
    endif()
    list(GET fields 0 name)
    list(GET fields 1 variant)
    list(GET fields 2 pitch)
    list(GET fields 3 speed)
    if(japanese)
      list(GET fields 4 text)
      set(voice ja+${variant})
    else()
      list(GET fields 5 text)
      set(voice en+${variant})
    endif()
    # Amplitude 70 of 200 keeps the voices, over the music, under full scale.
    run_tool(${ESPEAK} -v ${voice} -a 70 -p ${pitch} -s ${speed} -w ${WORK}/speech/${name}.wav
             "${text}")
    run_tool(${ORVTOOL} ogg encode ${WORK}/speech/${name}.wav ${WORK}/voices/${name}.ogg)
    list(APPEND voices ${WORK}/voices/${name}.ogg)
  endforeach()
  pack_into_game(ov_ogg1.orv ${voices})
else()
  message(WARNING "espeak-ng was not found: the demo game is built without its voices "
                  "(ov_ogg1.orv); install espeak-ng")
  file(REMOVE ${OUT}/ov_ogg1.orv)
endif()

# ---- Music and the sound effect, WADY sounds made by orvtool's wady verb.
run_tool(${SOUNDS} ${WORK}/wav)
file(STRINGS ${WORK}/wav/M01.loop loop_frame LIMIT_COUNT 1)
run_tool(${ORVTOOL} wady encode ${WORK}/wav/CHIME.wav ${WORK}/se/CHIME --packed)
run_tool(${ORVTOOL} wady encode ${WORK}/wav/M01.wav ${WORK}/bgm/M01 --stream
         --loop ${loop_frame})
pack_into_game(ov_se0.orv ${WORK}/se/CHIME)
pack_into_game(ov_bgm.orv ${WORK}/bgm/M01)

file(TOUCH ${STAMP})
