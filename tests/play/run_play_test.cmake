# Builds one play-test game from its script sources with orvtool, then plays it headlessly.
# Arguments: ORVTOOL, ORVELL, PICTURE_MAKER, SOUND_MAKER, GAME_SOURCE (the folder of .txt
# scripts, an optional pictures.list, an optional sounds.list and an optional data folder),
# PLAY (the play file) and WORK (a scratch folder, emptied first).

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

# The tones of sounds.list, one folder an archive: voices become Ogg Vorbis (ov_ogg*),
# effects packed WADY sounds (ov_se*), music streamed WADY sounds (ov_bgm) with their loop.
if(EXISTS ${GAME_SOURCE}/sounds.list)
  run_tool(${SOUND_MAKER} ${GAME_SOURCE}/sounds.list ${WORK}/wav)
  file(GLOB archives LIST_DIRECTORIES true ${WORK}/wav/*)
  foreach(folder IN LISTS archives)
    get_filename_component(archive ${folder} NAME)
    file(MAKE_DIRECTORY ${WORK}/sounds/${archive})
    file(GLOB wavs ${folder}/*.wav)
    set(entries)
    foreach(wav IN LISTS wavs)
      get_filename_component(name ${wav} NAME_WE)
      set(entry ${WORK}/sounds/${archive}/${name})
      if(archive MATCHES "^ov_ogg")
        run_tool(${ORVTOOL} ogg encode ${wav} ${entry})
      elseif(archive MATCHES "^ov_se")
        run_tool(${ORVTOOL} wady encode --packed ${wav} ${entry})
      else()
        set(loop)
        if(EXISTS ${folder}/${name}.loop)
          file(STRINGS ${folder}/${name}.loop frame LIMIT_COUNT 1)
          set(loop --loop ${frame})
        endif()
        run_tool(${ORVTOOL} wady encode --stream ${loop} ${wav} ${entry})
      endif()
      list(APPEND entries ${entry})
    endforeach()
    run_tool(${ORVTOOL} pack --form b -o ${WORK}/game/${archive}.orv ${entries})
  endforeach()
endif()

# A game folder may bring the player's settings and saves: its data folder becomes the data
# directory of the run.
if(IS_DIRECTORY ${GAME_SOURCE}/data)
  file(COPY ${GAME_SOURCE}/data/ DESTINATION ${WORK}/data)
endif()

function(play_once play_file)
  execute_process(
    COMMAND ${ORVELL} --headless --play ${play_file} --out ${WORK}/out --data-dir ${WORK}/data
            --seed 1 ${WORK}/game
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  message("${out}${err}")
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "orvell --headless --play ${play_file} exited with status ${status}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

play_once(${PLAY})
# A NAME.restart file beside NAME.play is played by a second run on the same data folder:
# what the first run saved, the second finds.
get_filename_component(play_dir ${PLAY} DIRECTORY)
get_filename_component(play_name ${PLAY} NAME_WE)
if(EXISTS ${play_dir}/${play_name}.restart)
  set(first "${out}")
  play_once(${play_dir}/${play_name}.restart)
  set(out "${first}${out}")
endif()

check_printed_lines(${PLAY} "${out}")
