# A system DLL that the program loads on first use instead of at its start:
# a delay-import library made with dlltool from the names MinGW's own import
# library exports, linked with MinGW's delay-load helper. The library target
# is named ${target}; the DLL is ${dll}, MinGW's import library lib${name}.a.
function(add_delay_import_library target name dll)
  find_library(${target}_IMPORT_LIB ${name} REQUIRED)
  execute_process(COMMAND ${CMAKE_NM} --defined-only ${${target}_IMPORT_LIB}
                  OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  # "00000000 T _GdipAlloc@4" in the 32-bit library, "... T GdipAlloc" in the
  # 64-bit one: the .def takes the name without the 32-bit underscore.
  string(REGEX MATCHALL "[0-9a-fA-F]+ T [^\n]+" entries "${symbols}")
  set(def "LIBRARY ${dll}\nEXPORTS\n")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^[0-9a-fA-F]+ T " "" symbol "${entry}")
    if(MOSSVANE_ARCH STREQUAL i686)
      string(REGEX REPLACE "^_" "" symbol "${symbol}")
    endif()
    string(APPEND def "${symbol}\n")
  endforeach()
  set(def_file ${CMAKE_BINARY_DIR}/lib/${name}-delay.def)
  set(lib_file ${CMAKE_BINARY_DIR}/lib/lib${name}-delay.a)
  # Rewritten only when the names change, so that a new configure relinks nothing.
  file(WRITE ${def_file}.new "${def}")
  configure_file(${def_file}.new ${def_file} COPYONLY)
  # -k: the DLL exports the names without their stdcall suffix (@4).
  add_custom_command(
    OUTPUT ${lib_file}
    COMMAND ${CMAKE_DLLTOOL} -k -d ${def_file} -y ${lib_file} -D ${dll}
    DEPENDS ${def_file}
    VERBATIM)
  add_custom_target(${target}_build DEPENDS ${lib_file})
  add_library(${target} INTERFACE)
  add_dependencies(${target} ${target}_build)
  target_link_libraries(${target} INTERFACE ${lib_file} delayimp)
endfunction()
