# The toolkit's tests, and its real windows under an Xvfb of their own,
# driven through XTest (xvfb, libxtst-dev).
qb_test_suite(gui qb_gui)
pkg_check_modules(QB_TEST_X11 REQUIRED IMPORTED_TARGET x11 xtst)
target_link_libraries(gui_tests PRIVATE PkgConfig::QB_TEST_X11)
