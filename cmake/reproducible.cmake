# Byte-identical releases: one moment stands for every timestamp, and no path of the build
# machine reaches the programs.
#
# The moment is $SOURCE_DATE_EPOCH when set, else the time of the commit being built, taken by
# cmake/moment.cmake at every build (target tavimbra_moment) into TAVIMBRA_MOMENT_DIR: the
# copyright year of the version resources and the installer, the PE timestamps (linker, objcopy,
# makensis) and the release files read it from there.
set(TAVIMBRA_MOMENT_DIR "${CMAKE_BINARY_DIR}/moment")
if(CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
  set(TAVIMBRA_MOMENT_REQUIRED ON)
else()
  set(TAVIMBRA_MOMENT_REQUIRED OFF)
endif()
set(TAVIMBRA_MOMENT_COMMAND ${CMAKE_COMMAND} "-DSOURCE_DIR=${CMAKE_SOURCE_DIR}" "-DOUT=${TAVIMBRA_MOMENT_DIR}"
    "-DHOLDER=${TAVIMBRA_COPYRIGHT_HOLDER}" "-DREQUIRED=${TAVIMBRA_MOMENT_REQUIRED}"
    -P "${CMAKE_CURRENT_LIST_DIR}/moment.cmake")
# The copyright line once lived in the cache, frozen at the first configure.
unset(TAVIMBRA_COPYRIGHT CACHE)

# tavimbra_with_moment: a command prefix that runs a tool with SOURCE_DATE_EPOCH = the moment.
set(TAVIMBRA_WITH_MOMENT ${CMAKE_COMMAND} "-DEPOCH_FILE=${TAVIMBRA_MOMENT_DIR}/epoch"
    -P "${CMAKE_CURRENT_LIST_DIR}/with_moment.cmake" --)

function(tavimbra_moment_target)
  if(TARGET tavimbra_moment)
    return()
  endif()
  # Also now, so a release configure without a moment stops before anything is built.
  execute_process(COMMAND ${TAVIMBRA_MOMENT_COMMAND} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the build's moment could not be found (see above)")
  endif()
  add_custom_target(tavimbra_moment ALL COMMAND ${TAVIMBRA_MOMENT_COMMAND}
    BYPRODUCTS ${TAVIMBRA_MOMENT_DIR}/epoch ${TAVIMBRA_MOMENT_DIR}/moment.h
               ${TAVIMBRA_MOMENT_DIR}/moment.nsh ${TAVIMBRA_MOMENT_DIR}/moment.cmake
    COMMENT "Reading the commit's time" VERBATIM)
endfunction()

# tavimbra_reproducible_link(<target>): the program's link sees the moment however the build is
# started (GNU ld writes it as the PE timestamp), and links again when it moves. Only the shipped
# programs: the moment moves with every commit.
function(tavimbra_reproducible_link target)
  tavimbra_moment_target()
  add_dependencies(${target} tavimbra_moment)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${TAVIMBRA_MOMENT_DIR}/epoch)
  if(CMAKE_GENERATOR MATCHES "Makefiles|Ninja")
    string(JOIN " " launcher ${TAVIMBRA_WITH_MOMENT})
    set_property(TARGET ${target} PROPERTY RULE_LAUNCH_LINK "${launcher}")
  endif()
endfunction()

if(NOT MSVC)
  # __FILE__ and the debug information name files relative to the tree, not to this machine.
  # GCC tries the last map first, so the build folder (often inside the source tree) wins.
  add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
                      -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
endif()
