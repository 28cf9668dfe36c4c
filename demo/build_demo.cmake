# Makes the demo game's archives: every script and definition of SOURCE/scripts becomes a
# text entry of ov_data.orv, every picture demo_pictures draws a GRA entry of ov_gra.orv,
# every animation it writes an entry of ov_anim.orv.
# Arguments: ORVTOOL, PICTURES, SOURCE, WORK (a scratch folder) and OUT (the game folder).

include(${CMAKE_CURRENT_LIST_DIR}/../cmake/GameData.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/scripts ${WORK}/png ${WORK}/gra ${WORK}/anim ${OUT})

encode_scripts(${ORVTOOL} ${SOURCE}/scripts ${WORK}/scripts encoded)
run_tool(${PICTURES} ${WORK}/png ${WORK}/anim)
file(GLOB animations ${WORK}/anim/*)
encode_pictures(${ORVTOOL} ${WORK}/png ${WORK}/gra pictures)

# Written beside the game first and renamed, so that a failed build never leaves half an
# archive where the game is played from.
run_tool(${ORVTOOL} pack --form a --text -o ${WORK}/ov_data.orv ${encoded})
run_tool(${ORVTOOL} pack --form b -o ${WORK}/ov_gra.orv ${pictures})
run_tool(${ORVTOOL} pack --form b -o ${WORK}/ov_anim.orv ${animations})
file(RENAME ${WORK}/ov_data.orv ${OUT}/ov_data.orv)
file(RENAME ${WORK}/ov_gra.orv ${OUT}/ov_gra.orv)
file(RENAME ${WORK}/ov_anim.orv ${OUT}/ov_anim.orv)
