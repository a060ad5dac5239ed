# The release archive: both programs and the player's guide in Japanese and English, as a ZIP
# made with `cmake --build --preset windows --target package`.

# The guides are kept as UTF-8 with LF line ends; players open them in Notepad, which reads
# UTF-8 reliably only with a byte-order mark, and older versions want CR LF.
set(guide_dir ${CMAKE_BINARY_DIR}/guide)
foreach(language ja en)
  set(source ${PROJECT_SOURCE_DIR}/docs/guide-${language}.txt)
  set(target ${guide_dir}/guide-${language}.txt)
  add_custom_command(OUTPUT ${target}
    COMMAND ${CMAKE_COMMAND} -DIN=${source} -DOUT=${target} -P ${PROJECT_SOURCE_DIR}/cmake/windows_text.cmake
    DEPENDS ${source} ${PROJECT_SOURCE_DIR}/cmake/windows_text.cmake
    COMMENT "guide-${language}.txt for Windows")
  list(APPEND guide_files ${target})
endforeach()
add_custom_target(player_guide ALL DEPENDS ${guide_files})

# The archive's programs are stripped copies (about 1.3 MB instead of about 3 MB); the programs in
# the build keep their symbols, for a crash a player reports.
install(TARGETS Varndell Quorrin RUNTIME DESTINATION .)
set(CPACK_STRIP_FILES ON)
install(FILES ${guide_files} DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME CrossGateTools)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME CrossGateTools-${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Varndell and Quorrin, tools for CrossGate players")
include(CPack)
