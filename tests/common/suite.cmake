# The help tests read the embedded archive, and check the key pages against
# the plug-in's own command scheme.
qb_test_suite(common qb_common qb_help qb_plugin)
