# One static library per subsystem folder; sources are picked up by glob so
# that adding a file needs no edit here. Usage: qb_subsystem(name dep...)
function(qb_subsystem name)
  file(GLOB _sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*/*.cpp)
  if(_sources)
    add_library(${name} STATIC ${_sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# One GoogleTest program per subsystem, from tests/<folder>/*.cpp and the
# component folders named after COMPONENTS (tests/<folder>/<component>/*.cpp;
# other folders below hold programs of their own).
# Usage: qb_test_suite(folder library... [COMPONENTS component...])
function(qb_test_suite folder)
  cmake_parse_arguments(_suite "" "" "COMPONENTS" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  foreach(_component ${_suite_COMPONENTS})
    file(GLOB _component_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/${_component}/*.cpp)
    list(APPEND _sources ${_component_sources})
  endforeach()
  if(NOT _sources)
    return()
  endif()
  set(_exe ${folder}_tests)
  add_executable(${_exe} ${_sources} ${CMAKE_CURRENT_SOURCE_DIR}/support/test_main.cpp)
  target_include_directories(${_exe} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${_exe} PRIVATE ${_suite_UNPARSED_ARGUMENTS} GTest::gtest GTest::gmock)
  gtest_discover_tests(${_exe} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QB_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/data")
endfunction()
