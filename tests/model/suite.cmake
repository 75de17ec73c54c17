# The model suite also checks imported modules against libopenmpt's reading
# of the same files (a reference in tests only; the library never links it).
qb_test_suite(model qb_model COMPONENTS import audio_files markup instrument)
pkg_check_modules(QB_OPENMPT REQUIRED IMPORTED_TARGET libopenmpt)
target_link_libraries(model_tests PRIVATE PkgConfig::QB_OPENMPT)
