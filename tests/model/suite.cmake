qb_test_suite(model qb_model)
# The XM comparison with real modules reads them with libopenmpt as a reference.
target_link_libraries(model_tests PRIVATE openmpt)
