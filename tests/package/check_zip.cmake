# The portable zip holds the program, its hook library and the readme, and
# nothing from the build or the tests.
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${ZIP} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot read ${ZIP}")
endif()
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" entries "${listing}")
list(SORT entries)
set(expected
  "${TOP}/MossvaneHook.dll"
  "${TOP}/MossvanePad.exe"
  "${TOP}/readme.txt")
if(NOT entries STREQUAL expected)
  message(FATAL_ERROR "zip holds:\n${listing}\nexpected:\n${expected}")
endif()
