# Warnings every target of ours builds with.
function(rizuz_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
                                           -Wformat=2 -Wcast-align -Wnon-virtual-dtor)
  if(RIZUZ_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
