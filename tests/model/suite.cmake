# The model tests compare imported modules with libopenmpt's report of them.
qb_test_suite(model qb_model)
pkg_check_modules(LIBOPENMPT REQUIRED IMPORTED_TARGET libopenmpt)
target_link_libraries(model_tests PRIVATE PkgConfig::LIBOPENMPT)
