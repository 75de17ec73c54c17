# The shell's unit tests link qb_plugin; the library's tests load Quorbel.so
# with dlopen as a host does and link nothing of ours.
qb_test_suite(plugin qb_plugin)

pkg_check_modules(QB_LIBRARY_TEST_ZIP REQUIRED IMPORTED_TARGET zlib minizip)
file(GLOB _library_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/library/*.cpp)
add_executable(plugin_library_tests ${_library_tests} ${CMAKE_CURRENT_LIST_DIR}/../support/test_main.cpp)
target_include_directories(plugin_library_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_CURRENT_LIST_DIR}/.. ${PROJECT_SOURCE_DIR})
target_link_libraries(plugin_library_tests PRIVATE GTest::gtest PkgConfig::QB_LIBRARY_TEST_ZIP ${CMAKE_DL_LIBS})
add_dependencies(plugin_library_tests Quorbel)
target_compile_definitions(plugin_library_tests PRIVATE QB_PLUGIN_LIBRARY="$<TARGET_FILE:Quorbel>")
gtest_discover_tests(plugin_library_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "QB_TEST_DATA=${CMAKE_CURRENT_LIST_DIR}/../data")
