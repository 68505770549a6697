# The portable zip: what a Windows user unpacks and runs.
install(TARGETS MossvanePad RUNTIME DESTINATION .)
install(TARGETS MossvaneHook RUNTIME DESTINATION . LIBRARY DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/res/readme.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME MossvanePad)
set(CPACK_PACKAGE_FILE_NAME MossvanePad-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)

# Made with every build, so build/ always holds the zip a user would get.
add_custom_target(portable_zip ALL
  COMMAND ${CMAKE_CPACK_COMMAND} -G ZIP --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Packing the portable zip"
  VERBATIM)
add_dependencies(portable_zip MossvanePad MossvaneHook)
