# The file selector reaches the plug-in's editor for its parent window.
qb_test_suite(gui qb_gui qb_plugin)
