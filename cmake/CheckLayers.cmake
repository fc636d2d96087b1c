# Checks that the game's layers point one way: each folder under src/ may
# include only itself and the folders listed for it (those below it). Run as
# cmake -DSOURCE_DIR=... -P CheckLayers.cmake; fails naming every include
# that points the wrong way.
set(allowed_vorbel vorbel)
set(allowed_platform platform vorbel)
set(allowed_objects objects platform)
set(allowed_services services objects platform)
set(allowed_modes modes services objects platform)
set(allowed_shell shell modes services objects platform)
# Above the seam, under hosts/ and replay/: what the hosts share (menu bar,
# frame hashes, pad map, keys held by several inputs), key scripts and
# recordings that wrap any host, and the hosts themselves, which start the
# shell. The browser host also reads the running mode's ship for its test
# mode. A host's layer is its folder under hosts/.
set(allowed_common common platform)
set(allowed_replay replay common shell services platform)
set(allowed_headless headless replay platform)
set(allowed_sdl sdl common replay shell services platform)
set(allowed_web web common replay shell modes services objects platform)

# The layer of a path under src/: its first folder, or for a host the folder
# under hosts/.
function(layer_of path out_var)
  string(REGEX REPLACE "^hosts/" "" path ${path})
  string(REGEX REPLACE "/.*" "" first ${path})
  set(${out_var} ${first} PARENT_SCOPE)
endfunction()

set(wrong "")
file(GLOB_RECURSE sources ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
foreach(source ${sources})
  file(RELATIVE_PATH relative ${SOURCE_DIR}/src ${source})
  layer_of(${relative} layer)
  if(NOT DEFINED allowed_${layer})
    string(APPEND wrong "\n  ${relative}: in no known layer")
    continue()
  endif()
  file(STRINGS ${source} includes REGEX "^#include \"")
  foreach(line ${includes})
    string(REGEX REPLACE "^#include \"([^\"]*)\".*" "\\1" included "${line}")
    layer_of(${included} target)
    list(FIND allowed_${layer} ${target} found)
    if(found EQUAL -1)
      string(APPEND wrong "\n  ${relative} includes ${included}")
    endif()
  endforeach()
endforeach()
if(wrong)
  message(FATAL_ERROR "Includes that point up or across the layers:${wrong}")
endif()
