# The engine suite also plays real modules beside libopenmpt through the
# offline renders of bench/ (a reference in tests only; the library never
# links it).
include(${PROJECT_SOURCE_DIR}/bench/offline/offline.cmake)
qb_test_suite(engine qb_engine COMPONENTS voice mixing rows playback song_files midi)
target_link_libraries(engine_tests PRIVATE qb_offline_render)
# The benchmark program render_module is run as a user runs it (bench/ is
# left out of the sanitizer builds).
if(EXISTS ${PROJECT_SOURCE_DIR}/bench/CMakeLists.txt AND NOT QB_SANITIZE AND NOT QB_TSAN)
  add_dependencies(engine_tests render_module)
  target_compile_definitions(engine_tests PRIVATE QB_RENDER_MODULE="$<TARGET_FILE:render_module>")
endif()
