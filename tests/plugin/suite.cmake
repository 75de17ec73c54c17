# The shell's unit tests link qb_plugin; the library's tests load Quorbel.so
# with dlopen as a host does and link nothing of ours.
qb_test_suite(plugin qb_plugin)

pkg_check_modules(QB_LIBRARY_TEST_ZIP REQUIRED IMPORTED_TARGET zlib minizip)
# A test program that loads the library as a host does.
function(qb_library_test_program name)
  add_executable(${name} ${ARGN} ${CMAKE_CURRENT_LIST_DIR}/../support/test_main.cpp)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_CURRENT_LIST_DIR}/.. ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE GTest::gtest PkgConfig::QB_LIBRARY_TEST_ZIP ${CMAKE_DL_LIBS})
  add_dependencies(${name} Quorbel)
  target_compile_definitions(${name} PRIVATE QB_PLUGIN_LIBRARY="$<TARGET_FILE:Quorbel>")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QB_TEST_DATA=${CMAKE_CURRENT_LIST_DIR}/../data")
endfunction()

file(GLOB _library_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/library/*.cpp)
qb_library_test_program(plugin_library_tests ${_library_tests})
# The refusal box of a second copy beside the first copy's editor window, on
# an X server of the test's own (xvfb, openbox) typed at through XTest.
pkg_check_modules(QB_LIBRARY_TEST_X11 REQUIRED IMPORTED_TARGET x11 xtst)
target_link_libraries(plugin_library_tests PRIVATE PkgConfig::QB_LIBRARY_TEST_X11)

# A stand-in sibling under the name the library asks for; the test loads it
# first by its full path, so the library's load by name finds it loaded.
add_library(qb_ostra_stand_in SHARED ${CMAKE_CURRENT_LIST_DIR}/sibling/ostra_stand_in.cpp)
set_target_properties(qb_ostra_stand_in PROPERTIES PREFIX "" OUTPUT_NAME Ostra NO_SONAME ON
  CXX_VISIBILITY_PRESET hidden LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/sibling)
target_link_options(qb_ostra_stand_in PRIVATE -Wl,-soname,Ostra.so)
add_dependencies(plugin_library_tests qb_ostra_stand_in)
target_compile_definitions(plugin_library_tests PRIVATE QB_OSTRA_STAND_IN="$<TARGET_FILE:qb_ostra_stand_in>")
# Sanitized builds run several times slower: measured lock waits mean nothing there.
if(QB_SANITIZE OR QB_TSAN)
  target_compile_definitions(plugin_library_tests PRIVATE QB_SANITIZED_BUILD=1)
endif()

# The library driven from a host's three threads at once, in a program of its
# own so that the thread sanitizer build (QB_TSAN) builds and runs it alone.
qb_library_test_program(plugin_thread_tests ${CMAKE_CURRENT_LIST_DIR}/threads/chunk_threads_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/threads/recording_threads_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/library/test_host.cpp ${CMAKE_CURRENT_LIST_DIR}/library/zip_bytes.cpp)

# Every name the plug-in's link lays out first is still one the library
# defines. Names are checked exactly in the build the order file is written
# from (scripts/audio-path-order.sh: RelWithDebInfo, g++, no sanitizer),
# without the optimiser's clone suffixes in the others.
if(CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo" AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU"
   AND NOT QB_SANITIZE AND NOT QB_TSAN AND NOT QB_FUZZ)
  set(_order_match exact)
else()
  set(_order_match base)
endif()
add_test(NAME AudioPathOrder.EveryNameIsInTheLibrary COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/audio_path_order.sh
  $<TARGET_FILE:Quorbel> ${PROJECT_SOURCE_DIR}/plugin/audio_path.order ${_order_match})
