# The hardening flags Debian builds its own packages with (stack protector,
# fortified functions, read-only relocations bound at start, ...), asked of
# dpkg-buildflags, for the optimised builds: the package is one, and the tests
# then run the binary that ships. The sanitizer build brings its own checks;
# without dpkg-buildflags the build goes on without them.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(DPKG_BUILDFLAGS AND NOT MORVALINE_SANITIZE)
  set(optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    # The build type chooses optimisation and debug information; the paths in
    # the objects stay absolute so that the compiler cache is shared.
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-fixfilepath,-fixdebugpath"
              "DEB_CXXFLAGS_MAINT_STRIP=-g -O2" ${DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    message(STATUS "Hardening ${kind}: ${flags}")
    foreach(flag IN LISTS flags)
      if(kind STREQUAL "LDFLAGS")
        add_link_options("$<${optimised}:${flag}>")
      else()
        add_compile_options("$<${optimised}:${flag}>")
      endif()
    endforeach()
  endforeach()
endif()
