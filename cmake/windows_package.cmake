# What is shipped for Windows, staged once: the program and the report
# command stripped, the read-me and the licence. From it:
#   wendle-<version>-win64.zip: cmake --build build-win32 --target windows_zip
#   wendle-<version>-win64.msi: cmake --build build-win32 --target windows_msi
# (the installer needs wixl, of Debian's msitools; it is built with the
# program when wixl is there, for the installer's end-to-end test).
set(WENDLE_ZIP ${PROJECT_BINARY_DIR}/wendle-${PROJECT_VERSION}-win64.zip)
set(WENDLE_MSI ${PROJECT_BINARY_DIR}/wendle-${PROJECT_VERSION}-win64.msi)
set(WENDLE_STAGE ${PROJECT_BINARY_DIR}/zip/wendle-${PROJECT_VERSION})
configure_file(${PROJECT_SOURCE_DIR}/data/README-windows.txt ${WENDLE_STAGE}/README.txt
    NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/data/copyright ${WENDLE_STAGE}/LICENSE.txt
    NEWLINE_STYLE CRLF)
set(WENDLE_STAGED_EXES ${WENDLE_STAGE}/wendle.exe ${WENDLE_STAGE}/wendle-report.exe)
add_custom_command(OUTPUT ${WENDLE_STAGED_EXES}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:wendle> ${WENDLE_STAGE}/wendle.exe
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:wendle-report> ${WENDLE_STAGE}/wendle-report.exe
    COMMAND ${CMAKE_STRIP} ${WENDLE_STAGED_EXES}
    DEPENDS wendle wendle-report
    COMMENT "Staging the Windows program")
set(WENDLE_STAGED ${WENDLE_STAGED_EXES} ${WENDLE_STAGE}/README.txt ${WENDLE_STAGE}/LICENSE.txt)

add_custom_command(OUTPUT ${WENDLE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${WENDLE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E chdir ${PROJECT_BINARY_DIR}/zip
            ${CMAKE_COMMAND} -E tar cf ${WENDLE_ZIP} --format=zip wendle-${PROJECT_VERSION}
    DEPENDS ${WENDLE_STAGED}
    COMMENT "Packing ${WENDLE_ZIP}")
add_custom_target(windows_zip DEPENDS ${WENDLE_ZIP})

find_program(WENDLE_WIXL wixl)
if(WENDLE_WIXL)
    # wixl takes files by paths relative to where it runs.
    configure_file(${PROJECT_SOURCE_DIR}/data/wendle.ico ${PROJECT_BINARY_DIR}/msi/wendle.ico COPYONLY)
    add_custom_command(OUTPUT ${WENDLE_MSI}
        COMMAND ${WENDLE_WIXL} --arch x64 -D Version=${PROJECT_VERSION}
                -D StageDir=zip/wendle-${PROJECT_VERSION} -D DataDir=msi
                -o ${WENDLE_MSI} ${PROJECT_SOURCE_DIR}/data/wendle.wxs
        DEPENDS ${WENDLE_STAGED} ${PROJECT_SOURCE_DIR}/data/wendle.wxs
                ${PROJECT_BINARY_DIR}/msi/wendle.ico
        WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
        COMMENT "Building ${WENDLE_MSI}")
    add_custom_target(windows_msi ALL DEPENDS ${WENDLE_MSI})
else()
    add_custom_target(windows_msi
        COMMAND ${CMAKE_COMMAND} -E echo "wixl is missing (run scripts/setup.sh)"
        COMMAND ${CMAKE_COMMAND} -E false
        VERBATIM)
endif()
