# morvaline_library(<name> <sources>...): the static library morvaline_<name>
# of one folder below src/. Every header is named from src/
# ("grid/core/ItemRows.h").
#
# Beside it, links-<name>: an empty program that takes in every object of the
# library and nothing but what the library itself links. A source that calls
# into a library its folder does not link (a layer above, another panel) fails
# there, whatever order the program's own link would have put the archives in.
function(morvaline_library name)
  add_library(morvaline_${name} STATIC ${ARGN})
  target_include_directories(morvaline_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  add_dependencies(morvaline_${name} layer_check)
  add_executable(links-${name} ${PROJECT_SOURCE_DIR}/cmake/links_main.cpp)
  target_link_libraries(links-${name} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,morvaline_${name}>")
  set_target_properties(links-${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/links)
endfunction()
