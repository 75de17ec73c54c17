# The libraries link one way: configuring fails when two of them link each
# other, directly or round a circle, or when a program that must stay apart
# reaches a library it must not. The graph checked is the one
# `cmake --graphviz` draws: each target's own link line.

# Every target defined in `dir` and below it.
function(_qb_collect_targets dir out)
  get_property(_targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(_subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(_sub ${_subdirs})
    _qb_collect_targets(${_sub} _below)
    list(APPEND _targets ${_below})
  endforeach()
  set(${out} ${_targets} PARENT_SCOPE)
endfunction()

# The project's own targets that `target` links directly (imported targets,
# system libraries and generator expressions left out).
function(_qb_direct_links target out)
  get_target_property(_type ${target} TYPE)
  set(_links)
  if(NOT _type STREQUAL "INTERFACE_LIBRARY")
    get_target_property(_own ${target} LINK_LIBRARIES)
    if(_own)
      list(APPEND _links ${_own})
    endif()
  endif()
  get_target_property(_interface ${target} INTERFACE_LINK_LIBRARIES)
  if(_interface)
    list(APPEND _links ${_interface})
  endif()
  set(_result)
  foreach(_link ${_links})
    if(_link MATCHES "^\\$<" OR NOT TARGET ${_link})
      continue()
    endif()
    get_target_property(_imported ${_link} IMPORTED)
    if(NOT _imported)
      list(APPEND _result ${_link})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES _result)
  set(${out} ${_result} PARENT_SCOPE)
endfunction()

# Depth-first walk; `path` is the chain of targets from the start. A target
# met again on its own chain closes a circle.
function(_qb_walk target path)
  if(target IN_LIST path)
    list(APPEND path ${target})
    string(REPLACE ";" " -> " _circle "${path}")
    message(FATAL_ERROR "Libraries link round a circle: ${_circle}")
  endif()
  get_property(_done GLOBAL PROPERTY _QB_LAYERS_DONE)
  if(target IN_LIST _done)
    return()
  endif()
  list(APPEND path ${target})
  _qb_direct_links(${target} _links)
  foreach(_link ${_links})
    _qb_walk(${_link} "${path}")
  endforeach()
  set_property(GLOBAL APPEND PROPERTY _QB_LAYERS_DONE ${target})
endfunction()

# Every target that `target` reaches through its link lines.
function(_qb_reached target out)
  set(_seen)
  set(_queue ${target})
  while(_queue)
    list(POP_FRONT _queue _next)
    _qb_direct_links(${_next} _links)
    foreach(_link ${_links})
      if(NOT _link IN_LIST _seen)
        list(APPEND _seen ${_link})
        list(APPEND _queue ${_link})
      endif()
    endforeach()
  endwhile()
  set(${out} ${_seen} PARENT_SCOPE)
endfunction()

# qb_check_layers(): no circle among all the project's targets.
# qb_check_reach(target ONLY allowed...): `target` reaches nothing else of ours.
# qb_check_reach(target NOT forbidden...): `target` reaches none of these.
function(qb_check_layers)
  _qb_collect_targets(${PROJECT_SOURCE_DIR} _targets)
  set_property(GLOBAL PROPERTY _QB_LAYERS_DONE "")
  foreach(_target ${_targets})
    _qb_walk(${_target} "")
  endforeach()
endfunction()

function(qb_check_reach target mode)
  _qb_reached(${target} _reached)
  string(REPLACE ";" ", " _listed "${ARGN}")
  foreach(_link ${_reached})
    if(mode STREQUAL "ONLY" AND NOT _link IN_LIST ARGN)
      message(FATAL_ERROR "${target} must link only ${_listed}, but reaches ${_link}")
    elseif(mode STREQUAL "NOT" AND _link IN_LIST ARGN)
      message(FATAL_ERROR "${target} must not reach ${_link}")
    endif()
  endforeach()
endfunction()

# The folder each library of ours was made in (tests, benchmarks and fuzz
# targets left out): a header belongs to the library of the deepest such
# folder above it.
function(_qb_layer_folders targets out_folders out_owners)
  set(_folders)
  set(_owners)
  foreach(_target ${targets})
    get_target_property(_type ${_target} TYPE)
    get_target_property(_dir ${_target} SOURCE_DIR)
    file(RELATIVE_PATH _rel ${PROJECT_SOURCE_DIR} ${_dir})
    if(_rel MATCHES "^(tests|bench|fuzz)(/|$)" OR NOT _type MATCHES "^(STATIC|INTERFACE)_LIBRARY$")
      continue()
    endif()
    if(NOT _rel IN_LIST _folders)
      list(APPEND _folders ${_rel})
      list(APPEND _owners ${_target})
    endif()
  endforeach()
  set(${out_folders} ${_folders} PARENT_SCOPE)
  set(${out_owners} ${_owners} PARENT_SCOPE)
endfunction()

# qb_check_includes(PROGRAMS program...): a file of one library, or of the
# programs named, must include no header of a library that it does not
# reach through its link lines. Sources are checked against the target that
# compiles them, headers against the library of their folder. Other
# programs are tools the build runs (the resource and help generators),
# which compile what they need of a layer themselves.
#
# Configuring checks every file; after that the build checks them again
# whenever one changes (the target qb_layer_includes), so an include added
# to a file that already existed fails the next build, not only the next
# configure. What each target may include is written to a file that the
# build's check reads (cmake/QbIncludeCheck.cmake does the checking).
function(qb_check_includes)
  cmake_parse_arguments(_check "" "" "PROGRAMS" ${ARGN})
  _qb_collect_targets(${PROJECT_SOURCE_DIR} _targets)
  _qb_layer_folders("${_targets}" _folders _owners)
  set(_data "set(QB_INCLUDE_ROOT \"${PROJECT_SOURCE_DIR}\")\n")
  string(APPEND _data "set(QB_LAYER_FOLDERS \"${_folders}\")\nset(QB_LAYER_OWNERS \"${_owners}\")\n")
  set(_checked ${_owners})
  set(_sources_checked)
  set(_depends)
  foreach(_target ${_targets})
    get_target_property(_dir ${_target} SOURCE_DIR)
    file(RELATIVE_PATH _rel ${PROJECT_SOURCE_DIR} ${_dir})
    get_target_property(_type ${_target} TYPE)
    if(_rel MATCHES "^(tests|bench|fuzz)(/|$)" OR _type STREQUAL "INTERFACE_LIBRARY"
       OR (_type STREQUAL "EXECUTABLE" AND NOT _target IN_LIST _check_PROGRAMS))
      continue()
    endif()
    list(APPEND _checked ${_target})
    get_target_property(_sources ${_target} SOURCES)
    foreach(_source ${_sources})
      if(NOT IS_ABSOLUTE ${_source})
        set(_source ${_dir}/${_source})
      endif()
      string(FIND "${_source}" "${PROJECT_SOURCE_DIR}/" _inside)
      if(_source MATCHES "\\.(cpp|c)$" AND _inside EQUAL 0 AND EXISTS ${_source})
        file(RELATIVE_PATH _rel_source ${PROJECT_SOURCE_DIR} ${_source})
        list(APPEND _sources_checked "${_rel_source}|${_target}")
        list(APPEND _depends ${_source})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES _checked)
  foreach(_target ${_checked})
    _qb_reached(${_target} _allowed)
    string(APPEND _data "set(QB_MAY_INCLUDE_${_target} \"${_target};${_allowed}\")\n")
  endforeach()
  string(APPEND _data "set(QB_CHECKED_SOURCES \"${_sources_checked}\")\n")
  set(_data_file ${CMAKE_BINARY_DIR}/layer_includes.cmake)
  file(WRITE ${_data_file} "${_data}")

  include(${_data_file})
  include(${PROJECT_SOURCE_DIR}/cmake/QbIncludeCheck.cmake)
  qb_run_include_check(_violations)
  if(_violations)
    list(JOIN _violations "\n  " _listed)
    message(FATAL_ERROR "Includes that go up a layer:\n  ${_listed}")
  endif()

  foreach(_folder ${_folders})
    file(GLOB_RECURSE _headers ${PROJECT_SOURCE_DIR}/${_folder}/*.h)
    list(APPEND _depends ${_headers})
  endforeach()
  set(_stamp ${CMAKE_BINARY_DIR}/layer_includes.checked)
  add_custom_command(OUTPUT ${_stamp}
    COMMAND ${CMAKE_COMMAND} -DQB_INCLUDE_DATA=${_data_file}
      -P ${PROJECT_SOURCE_DIR}/cmake/check_layer_includes.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${_stamp}
    DEPENDS ${_depends} ${_data_file} ${PROJECT_SOURCE_DIR}/cmake/QbIncludeCheck.cmake
    COMMENT "Checking that no file includes a layer above its own"
    VERBATIM)
  add_custom_target(qb_layer_includes ALL DEPENDS ${_stamp})
endfunction()
