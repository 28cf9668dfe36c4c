# Makes the demo game's archives: every script and definition of SOURCE/scripts becomes a
# text entry of ov_data.orv, every picture demo_pictures draws a GRA entry of ov_gra.orv.
# Arguments: ORVTOOL, PICTURES, SOURCE, WORK (a scratch folder) and OUT (the game folder).

function(run_tool)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGV}\nfailed (${status}):\n${out}${err}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/scripts ${WORK}/png ${WORK}/gra ${OUT})

file(GLOB sources ${SOURCE}/scripts/*.txt)
set(encoded)
foreach(source IN LISTS sources)
  get_filename_component(name ${source} NAME_WE)
  run_tool(${ORVTOOL} script encode ${source} ${WORK}/scripts/${name})
  list(APPEND encoded ${WORK}/scripts/${name})
endforeach()

run_tool(${PICTURES} ${WORK}/png)
file(GLOB pngs ${WORK}/png/*.png)
set(pictures)
foreach(png IN LISTS pngs)
  get_filename_component(name ${png} NAME_WE)
  run_tool(${ORVTOOL} gra encode ${png} ${WORK}/gra/${name})
  list(APPEND pictures ${WORK}/gra/${name})
endforeach()

# Written beside the game first and renamed, so that a failed build never leaves half an
# archive where the game is played from.
run_tool(${ORVTOOL} pack --form a --text -o ${WORK}/ov_data.orv ${encoded})
run_tool(${ORVTOOL} pack --form b -o ${WORK}/ov_gra.orv ${pictures})
file(RENAME ${WORK}/ov_data.orv ${OUT}/ov_data.orv)
file(RENAME ${WORK}/ov_gra.orv ${OUT}/ov_gra.orv)
