# The toolkit's and the page kit's tests, and real windows under an Xvfb of
# their own, driven through XTest (xvfb, libxtst-dev).
qb_test_suite(gui qb_pagekit)
pkg_check_modules(QB_TEST_X11 REQUIRED IMPORTED_TARGET x11 xtst)
target_link_libraries(gui_tests PRIVATE PkgConfig::QB_TEST_X11)

# The file box's threads, the info page's rows (their one source from the
# editor compiled in, not the editor's library) and the status line that the
# audio thread writes, in a program of their own, small enough for the thread
# sanitizer build (QB_TSAN) to build and run alone.
add_executable(gui_thread_tests ${CMAKE_CURRENT_SOURCE_DIR}/gui/threads/file_box_threads_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/gui/threads/info_display_threads_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/gui/threads/status_line_threads_test.cpp
  ${PROJECT_SOURCE_DIR}/editor/info/info_display.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/test_main.cpp)
target_include_directories(gui_thread_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/gui)
target_link_libraries(gui_thread_tests PRIVATE qb_pagekit GTest::gtest GTest::gmock)
gtest_discover_tests(gui_thread_tests DISCOVERY_TIMEOUT 60)
