# The layers of src/ and what each may include (the table is cmake/layers.txt).
#
# Every folder below src/ is one layer, built as one library. A target compiles against a view
# of its own, build/layers/<target>/, that holds links to the headers of exactly the layers it
# may use, so an include that points up or across the layers does not build. A nested layer
# (platform/win32 inside platform) is a layer of its own: seeing "platform" shows only the
# headers directly in src/platform.

set(VCIT_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/src/meta/version.h.in ${VCIT_GENERATED}/meta/version.h @ONLY)

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/layers.txt)
file(STRINGS ${CMAKE_SOURCE_DIR}/cmake/layers.txt layer_rules REGEX "^[a-z0-9_/]+:")
foreach(rule IN LISTS layer_rules)
  string(REGEX MATCH "^([^:]+):(.*)$" _ "${rule}")
  separate_arguments(uses UNIX_COMMAND "${CMAKE_MATCH_2}")
  set(VCIT_LAYER_USES_${CMAKE_MATCH_1} ${uses})
  list(APPEND VCIT_LAYERS ${CMAKE_MATCH_1})
endforeach()

# vcit_layer_view(target PUBLIC|PRIVATE|INTERFACE layer...): the target sees these layers'
# headers ("meta" includes the generated version.h).
function(vcit_layer_view target scope)
  set(view ${CMAKE_BINARY_DIR}/layers/${target})
  file(REMOVE_RECURSE ${view})
  foreach(layer IN LISTS ARGN)
    if(NOT layer IN_LIST VCIT_LAYERS)
      message(FATAL_ERROR "${target}: no layer ${layer} in cmake/layers.txt")
    endif()
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${layer}/*.h
         ${CMAKE_SOURCE_DIR}/src/${layer}/*.inc)
    if(layer STREQUAL "meta")
      list(APPEND headers ${VCIT_GENERATED}/meta/version.h)
    endif()
    file(MAKE_DIRECTORY ${view}/${layer})
    foreach(header IN LISTS headers)
      get_filename_component(name ${header} NAME)
      file(CREATE_LINK ${header} ${view}/${layer}/${name} SYMBOLIC)
    endforeach()
  endforeach()
  target_include_directories(${target} ${scope} ${view})
endfunction()

# vcit_layer_target(target scope layer): the target is built from the layer's folder and sees
# its own headers and those of the layers the table lets it use.
function(vcit_layer_target target scope layer)
  vcit_layer_view(${target} ${scope} ${layer} ${VCIT_LAYER_USES_${layer}})
endfunction()

# vcit_library(name layer [LINKS target...]): the library of one layer, from the .cpp files of
# its folder.
function(vcit_library name layer)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "LINKS")
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${layer}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  vcit_layer_target(${name} ${scope} ${layer})
  target_link_libraries(${name} ${scope} ${arg_LINKS})
endfunction()
