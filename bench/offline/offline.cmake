# The offline renders and the loudness comparison, shared by render_module,
# compare_module and the engine's reference playback test. Included from
# each place that needs it; the first one defines the library.
if(NOT TARGET qb_offline_render)
  if(NOT TARGET PkgConfig::QB_OPENMPT)
    pkg_check_modules(QB_OPENMPT REQUIRED IMPORTED_TARGET GLOBAL libopenmpt)
  endif()
  add_library(qb_offline_render STATIC
    ${CMAKE_CURRENT_LIST_DIR}/offline_render.cpp ${CMAKE_CURRENT_LIST_DIR}/loudness.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reference_comparison.cpp)
  target_include_directories(qb_offline_render PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
  target_link_libraries(qb_offline_render PUBLIC qb_engine PkgConfig::QB_OPENMPT)
endif()
