# The program's plain rules: no windows.h, built for Windows and for the host.
set(MOSSVANE_RULE_SOURCES
  ${CMAKE_SOURCE_DIR}/app/bounded.cpp
  ${CMAKE_SOURCE_DIR}/app/placement.cpp
  ${CMAKE_SOURCE_DIR}/startup/startuppath.cpp
  ${CMAKE_SOURCE_DIR}/controls/buttonregion.cpp
  ${CMAKE_SOURCE_DIR}/controls/transparency.cpp)
