# Warnings for the project's own targets (not for GoogleTest's); C and C++ only, never the
# resource compiler.
function(setup_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Wshadow -Wno-unused-parameter -Werror>)
endfunction()
