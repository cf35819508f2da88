# Byte-identical releases: one moment stands for every timestamp, and no path of the build
# machine reaches the programs.
#
# The moment is $SOURCE_DATE_EPOCH when set, else the time of the last commit. The linker
# (PE timestamp), string(TIMESTAMP) (the copyright year), makensis and the zip take it from here.
if(DEFINED ENV{SOURCE_DATE_EPOCH} AND NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(TAVIMBRA_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  find_package(Git QUIET)
  set(TAVIMBRA_SOURCE_DATE_EPOCH "")
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                    OUTPUT_VARIABLE TAVIMBRA_SOURCE_DATE_EPOCH
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE git_rc)
    if(NOT git_rc EQUAL 0)
      set(TAVIMBRA_SOURCE_DATE_EPOCH "")
    endif()
  endif()
endif()
if(NOT TAVIMBRA_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  set(TAVIMBRA_SOURCE_DATE_EPOCH "")
endif()

if(TAVIMBRA_SOURCE_DATE_EPOCH)
  # For this configure run: string(TIMESTAMP) honours it.
  set(ENV{SOURCE_DATE_EPOCH} "${TAVIMBRA_SOURCE_DATE_EPOCH}")
  set(TAVIMBRA_WITH_EPOCH ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${TAVIMBRA_SOURCE_DATE_EPOCH})
else()
  set(TAVIMBRA_WITH_EPOCH "")
endif()

# tavimbra_reproducible_link(<target>): the program's link sees the moment however the build is
# started (GNU ld writes it as the PE timestamp). Only the shipped programs: the moment moves
# with every commit, and each change of it relinks what carries it.
function(tavimbra_reproducible_link target)
  if(TAVIMBRA_SOURCE_DATE_EPOCH AND CMAKE_GENERATOR MATCHES "Makefiles|Ninja")
    string(JOIN " " launcher ${TAVIMBRA_WITH_EPOCH})
    set_property(TARGET ${target} PROPERTY RULE_LAUNCH_LINK "${launcher}")
  endif()
endfunction()

if(MINGW AND NOT MSVC)
  # Without a known moment (a source tree without history), a zero timestamp rather than the clock.
  if(NOT TAVIMBRA_SOURCE_DATE_EPOCH)
    add_link_options(-Wl,--no-insert-timestamp)
  endif()
endif()

if(NOT MSVC)
  # __FILE__ and the debug information name files relative to the tree, not to this machine.
  # GCC tries the last map first, so the build folder (often inside the source tree) wins.
  add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
                      -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
endif()
