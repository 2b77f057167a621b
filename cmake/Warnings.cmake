# Our own targets compile warning-free with -Wall -Wextra -Wshadow. CI builds
# with -Werror (VIMO_WERROR, on when the CI variable is set) so it stays that way.
if(DEFINED ENV{CI} AND NOT "$ENV{CI}" STREQUAL "" AND NOT "$ENV{CI}" STREQUAL "false")
  set(vimo_werror_default ON)
else()
  set(vimo_werror_default OFF)
endif()
option(VIMO_WERROR "Treat compiler warnings as errors" ${vimo_werror_default})

function(vimo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow)
  if(VIMO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
