# Shared steps of the scripts that turn readable sources into game archives with orvtool
# (the demo game and the play-test games). Used in script mode (cmake -P).

# Runs a tool and stops with its output when it fails.
function(run_tool)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGV}\nfailed (${status}):\n${out}${err}")
  endif()
endfunction()

# Encodes every NAME.txt of SOURCE_DIR (UTF-8 script or definition text) into the stored
# line form as SCRATCH/NAME; the list of encoded files goes to OUT_VAR.
function(encode_scripts orvtool source_dir scratch out_var)
  file(MAKE_DIRECTORY ${scratch})
  file(GLOB sources ${source_dir}/*.txt)
  set(encoded)
  foreach(source IN LISTS sources)
    get_filename_component(name ${source} NAME_WE)
    run_tool(${orvtool} script encode ${source} ${scratch}/${name})
    list(APPEND encoded ${scratch}/${name})
  endforeach()
  set(${out_var} ${encoded} PARENT_SCOPE)
endfunction()

# Encodes every NAME.png of PNG_DIR as the GRA picture SCRATCH/NAME; the list goes to OUT_VAR.
function(encode_pictures orvtool png_dir scratch out_var)
  file(MAKE_DIRECTORY ${scratch})
  file(GLOB pngs ${png_dir}/*.png)
  set(pictures)
  foreach(png IN LISTS pngs)
    get_filename_component(name ${png} NAME_WE)
    run_tool(${orvtool} gra encode ${png} ${scratch}/${name})
    list(APPEND pictures ${scratch}/${name})
  endforeach()
  set(${out_var} ${pictures} PARENT_SCOPE)
endfunction()

# A PLAY.stdout file beside the play file lists lines that the run's OUTPUT must hold.
function(check_printed_lines play output)
  get_filename_component(play_dir ${play} DIRECTORY)
  get_filename_component(play_name ${play} NAME_WE)
  if(NOT EXISTS ${play_dir}/${play_name}.stdout)
    return()
  endif()
  file(STRINGS ${play_dir}/${play_name}.stdout wanted)
  foreach(line IN LISTS wanted)
    string(FIND "${output}" "${line}" found)
    if(found EQUAL -1)
      message(FATAL_ERROR "the run did not print \"${line}\"")
    endif()
  endforeach()
endfunction()
