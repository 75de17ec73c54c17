# The editor through the plug-in's dispatcher on headless windows, and on a
# real X server of its own (xvfb) driven through XTest (libxtst-dev), some
# with a window manager (openbox) and monitors set through XRandR.
qb_test_suite(editor qb_editor COMPONENTS x11 pattern_page sample_page)
pkg_check_modules(QB_EDITOR_TEST_X11 REQUIRED IMPORTED_TARGET x11 xtst xrandr)
target_link_libraries(editor_tests PRIVATE PkgConfig::QB_EDITOR_TEST_X11)
# Report screen captures are read back with giflib (libgif-dev).
find_package(GIF REQUIRED)
target_link_libraries(editor_tests PRIVATE GIF::GIF)
