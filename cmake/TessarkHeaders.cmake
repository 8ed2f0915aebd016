# SPDX-License-Identifier: MIT
# Each library shows the code that uses it its own headers and nothing else:
# it exports an include folder of its own holding one link, named as the code
# includes the headers ("engine/...", "forms/..."), to its source folder. A
# layer that does not link a library cannot include that library's headers,
# so a lower layer cannot reach a higher one by accident: the compiler does
# not find the header.
function(tessark_export_headers target)
  get_filename_component(name ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
