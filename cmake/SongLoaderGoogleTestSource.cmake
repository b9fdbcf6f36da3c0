# GoogleTest built from its sources (Debian's googletest package) by the project's own compiler,
# for builds whose target cannot link the system's library (a Windows build made on Linux). Its
# CMake project names the same targets as find_package(GTest): GTest::gtest, GTest::gtest_main.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${SONGLOADER_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(NOT TARGET GTest::gtest_main)
    message(FATAL_ERROR "${SONGLOADER_GTEST_SOURCE} defines no GTest::gtest_main")
endif()
