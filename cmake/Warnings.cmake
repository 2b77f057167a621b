# Our own targets compile warning-free with -Wall -Wextra -Wshadow. CI builds
# with -Werror (VIMO_WERROR, on when the CI variable is set) so it stays that way.
if(DEFINED ENV{CI} AND NOT "$ENV{CI}" STREQUAL "" AND NOT "$ENV{CI}" STREQUAL "false")
  set(vimo_werror_default ON)
else()
  set(vimo_werror_default OFF)
endif()
option(VIMO_WERROR "Treat compiler warnings as errors" ${vimo_werror_default})

# Some of GCC's warnings (-Wrestrict, -Wstringop-overflow, -Warray-bounds,
# -Wmaybe-uninitialized) follow the code through what inlining exposes, so
# they depend on the optimisation level: -O3 runs the passes of -O2 and
# inlines and clones deeper. CI's build, the one that fails on a warning,
# compiles at -O3 (a release build's level) in place of -O2, at no extra
# cost; every other build of RelWithDebInfo, `make run`'s and a developer's,
# stays at -O2 and shows what that level finds.
option(VIMO_O3 "Compile the RelWithDebInfo build at -O3 in place of -O2" ${vimo_werror_default})
if(VIMO_O3)
  foreach(lang C CXX)
    string(REPLACE "-O2" "-O3" CMAKE_${lang}_FLAGS_RELWITHDEBINFO "${CMAKE_${lang}_FLAGS_RELWITHDEBINFO}")
  endforeach()
endif()

function(vimo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow)
  if(VIMO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
