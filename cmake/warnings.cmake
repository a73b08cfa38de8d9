# Warnings for the project's own targets (not for GoogleTest's); C and C++ only, never the
# resource compiler.
function(setup_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Wshadow -Wno-unused-parameter -Werror>)
  # Clang checks the locking rules written at the declarations (base/thread_annotations.h); the
  # tsan and fuzz builds are clang, so the test command checks them every run.
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Wthread-safety -Werror=thread-safety>)
  endif()
endfunction()
