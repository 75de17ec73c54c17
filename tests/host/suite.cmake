# The host's tests load a small synth plug-in of their own and run the Host program.
add_library(qb_test_synth MODULE ${CMAKE_CURRENT_LIST_DIR}/plugin/test_synth.cpp)
target_include_directories(qb_test_synth PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${PROJECT_SOURCE_DIR})
set_target_properties(qb_test_synth PROPERTIES PREFIX "" OUTPUT_NAME TestSynth
  CXX_VISIBILITY_PRESET hidden LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/host)

qb_test_suite(host qb_host)
add_dependencies(host_tests qb_test_synth Host)
target_compile_definitions(host_tests PRIVATE
  QB_TEST_SYNTH="$<TARGET_FILE:qb_test_synth>" QB_HOST_PROGRAM="$<TARGET_FILE:Host>")

# The export test drives the real plug-in library.
add_dependencies(host_tests Quorbel)
target_compile_definitions(host_tests PRIVATE QB_PLUGIN_LIBRARY="$<TARGET_FILE:Quorbel>")
# Host talks VST 2 only: none of these archives' functions may be linked into
# it (its link line reaches none of them either; the configure step checks that).
target_compile_definitions(host_tests PRIVATE QB_PLUGIN_ARCHIVE="$<TARGET_FILE:qb_plugin>"
  QB_ENGINE_ARCHIVE="$<TARGET_FILE:qb_engine>" QB_SERVICES_ARCHIVE="$<TARGET_FILE:qb_services>"
  QB_SHELL_ARCHIVE="$<TARGET_FILE:qb_shell>" QB_PAGEKIT_ARCHIVE="$<TARGET_FILE:qb_pagekit>")

# The windowed Host on an Xvfb of the test's own, driven through XTest
# (xvfb, libxtst-dev).
pkg_check_modules(QB_TEST_HOST_X11 REQUIRED IMPORTED_TARGET x11 xtst)
target_link_libraries(host_tests PRIVATE PkgConfig::QB_TEST_HOST_X11)

# The tests that start a JACK server of their own take turns. JACK servers
# are not independent: the Host's client is always called "PortAudio", and a
# client's socket is named after the client alone, so two at once on two
# servers take each other's socket; and all servers of a user share one
# metadata store, where one waits on another's closing clients.
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_CURRENT_LIST_DIR}/sound_server_turns.cmake)
