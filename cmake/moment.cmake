# Writes the build's moment where the programs' resources, the installer and the release files
# read it. Run at every build (and at configure): a pull between two builds moves the commit,
# and a value taken once at configure would stamp the previous commit's time and year.
#   cmake -DSOURCE_DIR=<tree> -DOUT=<folder> -DHOLDER=<copyright holder> -DREQUIRED=ON|OFF -P moment.cmake
# The moment is $SOURCE_DATE_EPOCH when set, else the time of the commit being built. Without
# either, a release (REQUIRED) stops instead of taking the clock, which no second build repeats.
# Files are rewritten only when their text changes, so an unchanged moment rebuilds nothing.
cmake_minimum_required(VERSION 3.25)
foreach(v SOURCE_DIR OUT HOLDER)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "moment.cmake: ${v} not given")
  endif()
endforeach()

set(epoch "$ENV{SOURCE_DATE_EPOCH}")
set(commit "")
find_program(git_exe git)
if(git_exe)
  # Only this tree's own repository: git looks upwards, and a source tarball unpacked inside
  # another checkout would take that repository's commit.
  execute_process(COMMAND "${git_exe}" rev-parse --show-toplevel WORKING_DIRECTORY "${SOURCE_DIR}"
                  OUTPUT_VARIABLE top RESULT_VARIABLE rc ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  file(REAL_PATH "${SOURCE_DIR}" tree)
  if(rc EQUAL 0 AND NOT top STREQUAL "")
    file(REAL_PATH "${top}" top)
  endif()
  set(head "")
  if(rc EQUAL 0 AND top STREQUAL tree)
    execute_process(COMMAND "${git_exe}" log -1 --format=%H%n%ct HEAD WORKING_DIRECTORY "${SOURCE_DIR}"
                    OUTPUT_VARIABLE head RESULT_VARIABLE rc ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  endif()
  if(rc EQUAL 0 AND head MATCHES "^([0-9a-f]+)\n([0-9]+)$")
    set(commit "${CMAKE_MATCH_1}")
    if(epoch STREQUAL "")
      set(epoch "${CMAKE_MATCH_2}")
    endif()
  endif()
endif()
if(NOT epoch STREQUAL "" AND NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH=${epoch} is not a number of seconds since 1970")
endif()
if(epoch STREQUAL "")
  if(REQUIRED)
    message(FATAL_ERROR "No moment for this release build: ${SOURCE_DIR} is not the top of a git checkout and "
                        "SOURCE_DATE_EPOCH is not set. Build from a clone, or set SOURCE_DATE_EPOCH to "
                        "the release's commit time (seconds since 1970), so that the copyright year and "
                        "the timestamps are the commit's and not this machine's clock.")
  endif()
  # A development build of a tree without history: today, to the day, so it relinks daily at most.
  string(TIMESTAMP now "%s" UTC)
  math(EXPR epoch "${now} / 86400 * 86400")
endif()

set(ENV{SOURCE_DATE_EPOCH} "${epoch}")  # string(TIMESTAMP) reads it
string(TIMESTAMP year "%Y" UTC)
set(copyright "Copyright (C) ${year} ${HOLDER}")

function(write_if_changed file text)
  if(EXISTS "${file}")
    file(READ "${file}" old)
    if(old STREQUAL text)
      return()
    endif()
  endif()
  file(WRITE "${file}" "${text}")
endfunction()
file(MAKE_DIRECTORY "${OUT}")
write_if_changed("${OUT}/epoch" "${epoch}\n")
write_if_changed("${OUT}/moment.h" "#define TAV_COPYRIGHT \"${copyright}\"\n")
write_if_changed("${OUT}/moment.nsh" "!define COPYRIGHT \"${copyright}\"\n")
write_if_changed("${OUT}/moment.cmake"
  "set(MOMENT_EPOCH \"${epoch}\")\nset(MOMENT_COPYRIGHT \"${copyright}\")\nset(MOMENT_COMMIT \"${commit}\")\n")
