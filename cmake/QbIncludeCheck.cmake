# The include check itself, usable while configuring and as a script
# (check_layer_includes.cmake): it reads what qb_check_includes() wrote,
# QB_INCLUDE_ROOT, QB_LAYER_FOLDERS/QB_LAYER_OWNERS (each library's folder),
# QB_CHECKED_SOURCES ("file|target") and QB_MAY_INCLUDE_<target> (the
# target and every library it reaches).

# The library whose folder holds `path` (relative to the root), or empty: the
# deepest such folder wins (resources/help/ before resources/).
function(_qb_owner path out)
  set(_best "")
  set(_best_length 0)
  set(_i 0)
  foreach(_folder ${QB_LAYER_FOLDERS})
    string(LENGTH "${_folder}/" _length)
    string(SUBSTRING "${path}" 0 ${_length} _head)
    if(_head STREQUAL "${_folder}/" AND _length GREATER _best_length)
      list(GET QB_LAYER_OWNERS ${_i} _best)
      set(_best_length ${_length})
    endif()
    math(EXPR _i "${_i} + 1")
  endforeach()
  set(${out} "${_best}" PARENT_SCOPE)
endfunction()

# Every `#include "folder/..."` of `file` must name a header of `target`'s
# own folder or of a library it links, directly or through others: a header
# of a layer above would compile (the include root is the whole tree) while
# the layers no longer go one way. Appends what breaks this to `violations`.
function(_qb_check_file_includes file target violations)
  set(_found ${${violations}})
  file(STRINGS ${QB_INCLUDE_ROOT}/${file} _lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
  foreach(_line ${_lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" _included "${_line}")
    _qb_owner("${_included}" _owner)
    if(_owner AND NOT _owner IN_LIST QB_MAY_INCLUDE_${target})
      list(APPEND _found "${file} (${target}) includes ${_included} (${_owner})")
    endif()
  endforeach()
  set(${violations} ${_found} PARENT_SCOPE)
endfunction()

# The checked sources, then every header found in a library's folder now
# (so a header added since configuring is checked too).
function(qb_run_include_check out)
  set(_violations)
  foreach(_entry ${QB_CHECKED_SOURCES})
    string(REPLACE "|" ";" _pair "${_entry}")
    list(GET _pair 0 _file)
    list(GET _pair 1 _target)
    if(EXISTS ${QB_INCLUDE_ROOT}/${_file})
      _qb_check_file_includes(${_file} ${_target} _violations)
    endif()
  endforeach()
  foreach(_folder ${QB_LAYER_FOLDERS})
    file(GLOB_RECURSE _headers RELATIVE ${QB_INCLUDE_ROOT} ${QB_INCLUDE_ROOT}/${_folder}/*.h)
    foreach(_header ${_headers})
      _qb_owner("${_header}" _owner)
      _qb_owner("${_folder}/x" _folder_owner)
      if(_owner STREQUAL _folder_owner)
        _qb_check_file_includes(${_header} ${_owner} _violations)
      endif()
    endforeach()
  endforeach()
  set(${out} ${_violations} PARENT_SCOPE)
endfunction()
