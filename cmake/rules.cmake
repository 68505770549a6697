# The program's plain rules: no windows.h, built for Windows and for the host.
get_filename_component(MOSSVANE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(MOSSVANE_RULE_SOURCES
  ${MOSSVANE_ROOT}/app/bounded.cpp
  ${MOSSVANE_ROOT}/app/placement.cpp
  ${MOSSVANE_ROOT}/app/shortcutkey.cpp
  ${MOSSVANE_ROOT}/app/shortcutpress.cpp
  ${MOSSVANE_ROOT}/app/dpiscale.cpp
  ${MOSSVANE_ROOT}/mainwnd/layout.cpp
  ${MOSSVANE_ROOT}/startup/startuppath.cpp
  ${MOSSVANE_ROOT}/startup/linkrules.cpp
  ${MOSSVANE_ROOT}/memo/title.cpp
  ${MOSSVANE_ROOT}/memo/memoname.cpp
  ${MOSSVANE_ROOT}/memo/journalformat.cpp
  ${MOSSVANE_ROOT}/memo/shownmemo.cpp
  ${MOSSVANE_ROOT}/memo/textpieces.cpp
  ${MOSSVANE_ROOT}/memo/textencoding.cpp
  ${MOSSVANE_ROOT}/memo/searchfold.cpp
  ${MOSSVANE_ROOT}/memo/foldedtext.cpp
  ${MOSSVANE_ROOT}/controls/buttonregion.cpp
  ${MOSSVANE_ROOT}/controls/picturescale.cpp
  ${MOSSVANE_ROOT}/controls/transparency.cpp)
