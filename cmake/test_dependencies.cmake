# What building the tests needs beyond the program itself. A missing piece
# stops the configure step with one line naming the Debian package, rather
# than a compiler error halfway through the build.
function(wendle_require_test_dependency found what package)
    if(NOT ${found})
        message(FATAL_ERROR "${what} is missing: install ${package} "
                            "(scripts/setup.sh does), or configure with -DBUILD_TESTING=OFF")
    endif()
endfunction()

# doctest is header-only: the cross compiler for Windows takes it as it is.
find_path(WENDLE_DOCTEST_INCLUDE doctest/doctest.h
    PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
wendle_require_test_dependency(WENDLE_DOCTEST_INCLUDE "doctest" doctest-dev)

if(NOT WIN32)
    find_package(Qt6 QUIET COMPONENTS Test DBus)
    wendle_require_test_dependency(Qt6Test_FOUND "Qt Test" qt6-base-dev)
    wendle_require_test_dependency(Qt6DBus_FOUND "Qt D-Bus" qt6-base-dev)
    if(NOT WENDLE_SANITIZE)
        find_package(X11 QUIET)
        wendle_require_test_dependency(X11_FOUND "Xlib" libx11-dev)
    endif()
endif()
