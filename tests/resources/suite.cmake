qb_test_suite(resources qb_resources)

# The contact sheet for a person to look at; the test only checks it is written.
add_executable(resource_sheet ${CMAKE_CURRENT_LIST_DIR}/sheet/resource_sheet.cpp)
target_include_directories(resource_sheet PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(resource_sheet PRIVATE qb_resources)
add_test(NAME resource_sheet COMMAND resource_sheet ${CMAKE_CURRENT_BINARY_DIR}/resource_sheet_output)
