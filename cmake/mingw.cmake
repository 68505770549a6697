# Shared by the toolchain files: Debian's MinGW-w64 for the processor that
# the including file names. The -posix compilers build the tests: GoogleTest
# needs std::mutex, which the win32-threads ones lack. The product's targets
# use the win32-threads compilers through MINGW_WIN32_THREADS_LAUNCHER, since
# the -posix runtime links libwinpthread, which imports GetTickCount64 (Vista).
set(CMAKE_SYSTEM_NAME Windows)
set(MINGW_TRIPLE ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)

set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${MINGW_TRIPLE}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(MINGW_WIN32_THREADS_LAUNCHER ${CMAKE_CURRENT_LIST_DIR}/win32-threads)
