# Cross-compiles the same sources for 64-bit Windows: the test bench for
# machines that cannot run 32-bit code (tools/test chooses it there).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
