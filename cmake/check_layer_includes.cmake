# The build's include check: cmake -DQB_INCLUDE_DATA=<file> -P this file.
cmake_minimum_required(VERSION 3.25)
include(${QB_INCLUDE_DATA})
include(${CMAKE_CURRENT_LIST_DIR}/QbIncludeCheck.cmake)
qb_run_include_check(_violations)
if(_violations)
  list(JOIN _violations "\n  " _listed)
  message(FATAL_ERROR "Includes that go up a layer:\n  ${_listed}")
endif()
