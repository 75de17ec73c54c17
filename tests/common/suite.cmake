# The help tests read the embedded archive (its pages in the product font),
# and check the key pages against the shell's own command scheme; the popup
# also meets real windows under an Xvfb of its own, driven through XTest
# (xvfb, libxtst-dev).
qb_test_suite(common qb_common qb_help qb_shell qb_resources)
pkg_check_modules(QB_COMMON_TEST_X11 REQUIRED IMPORTED_TARGET x11 xtst)
target_link_libraries(common_tests PRIVATE PkgConfig::QB_COMMON_TEST_X11)
