# Warnings for the project's own targets (not for GoogleTest's).
function(setup_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wno-unused-parameter -Werror)
endfunction()
