# Keeps SDL out of a target, enforced by the build.
#
# forbid_sdl_in(TARGET): puts a folder of stand-in SDL headers first on the
# target's include path, each stopping the compile with a message (so both
# <SDL.h> and <SDL2/SDL.h> fail), and checks after every build of the
# library that it asks the linker for no SDL_ symbol.
#
# Run as a script (cmake -DNM=... -DLIBRARY=... -P NoSdlInCore.cmake) it is
# that check.

if(CMAKE_SCRIPT_MODE_FILE)
  execute_process(COMMAND ${NM} -u ${LIBRARY} OUTPUT_VARIABLE undefined RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${NM} could not read ${LIBRARY}")
  endif()
  string(REGEX MATCHALL "[^\n]*SDL_[^\n]*" sdl_symbols "${undefined}")
  if(sdl_symbols)
    string(REPLACE ";" "\n" sdl_symbols "${sdl_symbols}")
    message(FATAL_ERROR "${LIBRARY} must not use SDL, but needs:\n${sdl_symbols}")
  endif()
  return()
endif()

function(forbid_sdl_in target)
  set(folder ${CMAKE_BINARY_DIR}/no_sdl/${target})
  set(names SDL.h)
  if(SDL2_INCLUDE_DIR)
    file(GLOB headers ${SDL2_INCLUDE_DIR}/*.h)
    foreach(h ${headers})
      get_filename_component(name ${h} NAME)
      list(APPEND names ${name})
    endforeach()
    list(REMOVE_DUPLICATES names)
  endif()
  foreach(name ${names})
    foreach(sub "" "SDL2/")
      set(stand_in ${folder}/${sub}${name})
      set(text "#error \"${target} must not include SDL: only src/hosts/sdl/ may\"\n")
      if(NOT EXISTS ${stand_in})
        file(WRITE ${stand_in} "${text}")
      endif()
    endforeach()
  endforeach()
  target_include_directories(${target} BEFORE PRIVATE ${folder})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DLIBRARY=$<TARGET_FILE:${target}>
            -P ${CMAKE_SOURCE_DIR}/cmake/NoSdlInCore.cmake
    COMMENT "Checking that ${target} uses no SDL")
endfunction()
