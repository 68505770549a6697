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

# The readme is read on Japanese Windows: Shift-JIS with CR LF line ends,
# the Japanese text first, then the English.
get_filename_component(zip_dir ${ZIP} DIRECTORY)
set(unpacked ${zip_dir}/readme-check)
file(REMOVE_RECURSE ${unpacked})
file(ARCHIVE_EXTRACT INPUT ${ZIP} DESTINATION ${unpacked} PATTERNS "${TOP}/readme.txt")
file(READ ${unpacked}/${TOP}/readme.txt hex HEX)
file(REMOVE_RECURSE ${unpacked})
# Byte by byte, so that no match straddles two bytes.
string(REGEX REPLACE "(..)" "\\1 " bytes "${hex}")
string(REPLACE "0d 0a " "" without_crlf "${bytes}")
string(REGEX MATCH "(^| )0[ad] " bare_cr_or_lf "${without_crlf}")
# "ポップアップ" in Shift-JIS, and "a pop-up memo pad".
string(FIND "${hex}" "837c83628376834183628376" japanese)
string(FIND "${hex}" "6120706f702d7570206d656d6f20706164" english)
if(bare_cr_or_lf)
  message(FATAL_ERROR "readme.txt has line ends other than CR LF")
endif()
if(japanese EQUAL -1 OR english EQUAL -1 OR japanese GREATER english)
  message(FATAL_ERROR "readme.txt does not hold the Japanese text in Shift-JIS before the English one")
endif()
