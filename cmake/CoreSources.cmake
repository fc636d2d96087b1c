# zarvox_core_sources(OUT_VAR): the game code's sources, the same for every
# build of the game: shell, modes, services, platform and the tune library,
# without the hosts (src/hosts).
set(ZARVOX_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

function(zarvox_core_sources out_var)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${ZARVOX_ROOT}/src/shell/*.cpp
    ${ZARVOX_ROOT}/src/services/*.cpp
    ${ZARVOX_ROOT}/src/platform/*.cpp
    ${ZARVOX_ROOT}/src/objects/*.cpp
    ${ZARVOX_ROOT}/src/modes/*.cpp
    ${ZARVOX_ROOT}/src/vorbel/*.cpp)
  set(${out_var} ${sources} PARENT_SCOPE)
endfunction()
