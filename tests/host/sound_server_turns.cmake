# Read by ctest after the host tests are listed (see suite.cmake).
foreach(test IN LISTS host_tests_TESTS)
  if(test MATCHES "^(HostProgram|HostWindowProgramTest|HostFirstHourTest|ManagedHostTest)\\.")
    set_tests_properties(${test} PROPERTIES RESOURCE_LOCK jack_server)
  endif()
endforeach()
