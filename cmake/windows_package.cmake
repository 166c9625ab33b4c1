# wendle-<version>-win64.zip: the program, the report command and a read-me.
#   cmake --build build-win32 --target windows_zip
set(WENDLE_ZIP ${PROJECT_BINARY_DIR}/wendle-${PROJECT_VERSION}-win64.zip)
set(WENDLE_ZIP_DIR ${PROJECT_BINARY_DIR}/zip/wendle-${PROJECT_VERSION})
configure_file(${PROJECT_SOURCE_DIR}/data/README-windows.txt ${WENDLE_ZIP_DIR}/README.txt
    NEWLINE_STYLE CRLF)
add_custom_command(OUTPUT ${WENDLE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:wendle> ${WENDLE_ZIP_DIR}/wendle.exe
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:wendle-report> ${WENDLE_ZIP_DIR}/wendle-report.exe
    COMMAND ${CMAKE_STRIP} ${WENDLE_ZIP_DIR}/wendle.exe ${WENDLE_ZIP_DIR}/wendle-report.exe
    COMMAND ${CMAKE_COMMAND} -E rm -f ${WENDLE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E chdir ${PROJECT_BINARY_DIR}/zip
            ${CMAKE_COMMAND} -E tar cf ${WENDLE_ZIP} --format=zip wendle-${PROJECT_VERSION}
    DEPENDS wendle wendle-report ${WENDLE_ZIP_DIR}/README.txt
    COMMENT "Packing ${WENDLE_ZIP}")
add_custom_target(windows_zip DEPENDS ${WENDLE_ZIP})
