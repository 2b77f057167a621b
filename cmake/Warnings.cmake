# Our own targets compile warning-free with -Wall -Wextra.
function(vimo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
