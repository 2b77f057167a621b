# libFuzzer targets, compiled by clang with AddressSanitizer and
# UndefinedBehaviorSanitizer whatever compiler builds the rest.
#
# A CMake project has one compiler per language, so clang is driven by one
# custom command per source. They run in the same build as everything else:
# they share its -j, follow their headers through depfiles, and a changed
# source recompiles only its own object before the targets are linked again.
option(VIMO_FUZZERS "Build the libFuzzer targets; the Fuzz.* tests replay their corpus through them" ON)

find_program(VIMO_CLANG clang)
find_program(VIMO_CLANGXX clang++)

# Why the fuzz targets cannot be built on this machine; empty when they can.
set(VIMO_FUZZ_MISSING "")
if(VIMO_FUZZERS)
  if(NOT VIMO_CLANG OR NOT VIMO_CLANGXX)
    set(VIMO_FUZZ_MISSING "clang is not installed")
  else()
    execute_process(
      COMMAND ${VIMO_CLANGXX} -print-file-name=libclang_rt.fuzzer-${CMAKE_SYSTEM_PROCESSOR}.a
      OUTPUT_VARIABLE vimo_libfuzzer OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${vimo_libfuzzer}" OR NOT EXISTS "${vimo_libfuzzer}")
      set(VIMO_FUZZ_MISSING "clang's libFuzzer runtime (libclang-rt-<version>-dev) is not installed")
    endif()
  endif()
  if(VIMO_FUZZ_MISSING)
    set(VIMO_FUZZ_MISSING
      "${VIMO_FUZZ_MISSING}: the fuzz targets are not built and the Fuzz.* tests fail. \
Run scripts/install-deps.sh test and configure again, or configure with -DVIMO_FUZZERS=OFF.")
    message(WARNING "${VIMO_FUZZ_MISSING}")
  endif()
endif()

set(VIMO_FUZZ_DIR ${CMAKE_BINARY_DIR}/fuzz)
set(VIMO_FUZZ_LAUNCHER)
if(VIMO_CCACHE)
  set(VIMO_FUZZ_LAUNCHER ${VIMO_CCACHE})
endif()
set(VIMO_FUZZ_FLAGS -g -O1 -fsanitize=address,undefined -fno-sanitize-recover=undefined)
# The fuzz objects are our own code too: the same warnings as every other target.
set(VIMO_FUZZ_WARNINGS -Wall -Wextra -Wshadow)
if(VIMO_WERROR)
  list(APPEND VIMO_FUZZ_WARNINGS -Werror)
endif()

# vimo_fuzz_objects(<out-var> SOURCES ... [OPTIONS ...])
# Compiles each source for a fuzz target; <out-var> receives the objects.
function(vimo_fuzz_objects out)
  cmake_parse_arguments(F "" "" "SOURCES;OPTIONS" ${ARGN})
  set(objects)
  foreach(source IN LISTS F_SOURCES)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${source})
    string(REPLACE "/" "_" object ${relative})
    set(object ${VIMO_FUZZ_DIR}/obj/${object}.o)
    if(source MATCHES "\\.c$")
      set(compiler ${VIMO_CLANG})
    else()
      set(compiler ${VIMO_CLANGXX} -std=c++20)
    endif()
    add_custom_command(OUTPUT ${object}
      COMMAND ${VIMO_FUZZ_LAUNCHER} ${compiler} ${VIMO_FUZZ_FLAGS} ${VIMO_FUZZ_WARNINGS}
              -fsanitize=fuzzer-no-link ${F_OPTIONS}
              -MD -MF ${object}.d -c ${source} -o ${object}
      DEPENDS ${source}
      DEPFILE ${object}.d
      COMMENT "Building fuzz object ${relative}"
      VERBATIM)
    list(APPEND objects ${object})
  endforeach()
  set(${out} ${objects} PARENT_SCOPE)
endfunction()

# vimo_fuzz_archive(<out-var> <name> OBJECTS ...)
# Puts objects in a static archive, so that a target links only what it uses.
function(vimo_fuzz_archive out name)
  cmake_parse_arguments(F "" "" "OBJECTS" ${ARGN})
  set(archive ${VIMO_FUZZ_DIR}/lib${name}.a)
  add_custom_command(OUTPUT ${archive}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${archive}
    COMMAND ${CMAKE_AR} qcs ${archive} ${F_OBJECTS}
    DEPENDS ${F_OBJECTS}
    COMMENT "Archiving fuzz library ${name}"
    VERBATIM)
  set(${out} ${archive} PARENT_SCOPE)
endfunction()

# vimo_fuzz_link(<out-var> <name> OBJECTS ... [LIBS ...])
# Links a libFuzzer program; LIBS are archives and link options after it.
function(vimo_fuzz_link out name)
  cmake_parse_arguments(F "" "" "OBJECTS;LIBS" ${ARGN})
  set(program ${VIMO_FUZZ_DIR}/bin/${name})
  set(archives ${F_LIBS})
  list(FILTER archives INCLUDE REGEX "\\.a$")
  add_custom_command(OUTPUT ${program}
    COMMAND ${VIMO_CLANGXX} ${VIMO_FUZZ_FLAGS} -fsanitize=fuzzer ${F_OBJECTS} ${F_LIBS} -o ${program}
    DEPENDS ${F_OBJECTS} ${archives}
    COMMENT "Linking fuzz target ${name}"
    VERBATIM)
  set(${out} ${program} PARENT_SCOPE)
endfunction()
