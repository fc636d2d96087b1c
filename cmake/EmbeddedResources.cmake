# Resources: every file under resources/<kind>/ is embedded under the type
# that kind names and the file's stem as its name.
#
# zarvox_embedded_resources(EMBEDDER OUT_VAR): adds the build step that runs
# EMBEDDER (the embed_resources target, or the path of a native build of it
# when cross-compiling) and puts the generated source's path in OUT_VAR.

set(ZARVOX_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

function(zarvox_embedded_resources embedder out_var)
  set(args)
  set(inputs)
  foreach(kind_type bitmap:BITMAP wave:WAVE vbtune:VBTUNE menu:MENU)
    string(REPLACE ":" ";" pair ${kind_type})
    list(GET pair 0 kind)
    list(GET pair 1 type)
    file(GLOB files CONFIGURE_DEPENDS ${ZARVOX_ROOT}/resources/${kind}/*)
    list(SORT files)
    foreach(f ${files})
      get_filename_component(stem ${f} NAME_WE)
      list(APPEND args ${type} ${stem} ${f})
      list(APPEND inputs ${f})
    endforeach()
  endforeach()
  set(generated ${CMAKE_BINARY_DIR}/generated/embedded_resources.cpp)
  add_custom_command(
    OUTPUT ${generated}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
    COMMAND ${embedder} ${generated} ${args}
    DEPENDS ${embedder} ${inputs}
    COMMENT "Embedding resources")
  set(${out_var} ${generated} PARENT_SCOPE)
endfunction()
