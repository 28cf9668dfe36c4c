# Builds one play-test game from its script sources with orvtool, then plays it headlessly.
# Arguments: ORVTOOL, ORVELL, PICTURE_MAKER, GAME_SOURCE (the folder of .txt scripts, an
# optional pictures.list and an optional data folder), PLAY (the play file) and WORK (a scratch folder, emptied first).

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/GameData.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/scripts ${WORK}/game ${WORK}/data ${WORK}/out ${WORK}/gra)

encode_scripts(${ORVTOOL} ${GAME_SOURCE} ${WORK}/scripts encoded)
run_tool(${ORVTOOL} pack --form a --text -o ${WORK}/game/ov_data.orv ${encoded})

# Start-up needs the first picture archive. The pictures of pictures.list are drawn as PNG
# files and encoded as GRA pictures; a game without the list gets one empty entry.
if(EXISTS ${GAME_SOURCE}/pictures.list)
  file(MAKE_DIRECTORY ${WORK}/png)
  run_tool(${PICTURE_MAKER} ${GAME_SOURCE}/pictures.list ${WORK}/png)
  encode_pictures(${ORVTOOL} ${WORK}/png ${WORK}/gra pictures)
else()
  file(WRITE ${WORK}/gra/blank "")
  set(pictures ${WORK}/gra/blank)
endif()
run_tool(${ORVTOOL} pack --form b -o ${WORK}/game/ov_gra.orv ${pictures})

# A game folder may bring the player's settings and saves: its data folder becomes the data
# directory of the run.
if(IS_DIRECTORY ${GAME_SOURCE}/data)
  file(COPY ${GAME_SOURCE}/data/ DESTINATION ${WORK}/data)
endif()

execute_process(
  COMMAND ${ORVELL} --headless --play ${PLAY} --out ${WORK}/out --data-dir ${WORK}/data
          --seed 1 ${WORK}/game
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "orvell --headless --play ${PLAY} exited with status ${status}")
endif()

check_printed_lines(${PLAY} "${out}")
