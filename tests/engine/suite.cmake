# The engine suite also plays real modules beside libopenmpt through the
# offline renders of bench/ (a reference in tests only; the library never
# links it).
include(${PROJECT_SOURCE_DIR}/bench/offline/offline.cmake)
qb_test_suite(engine qb_engine)
target_link_libraries(engine_tests PRIVATE qb_offline_render)
