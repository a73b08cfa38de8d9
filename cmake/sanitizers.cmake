# SETUP_SANITIZE=ON builds everything with AddressSanitizer and UndefinedBehaviorSanitizer.
option(SETUP_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(SETUP_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# SETUP_THREAD_SANITIZE=ON builds everything with ThreadSanitizer, for the tests that run the worker
# on real threads.
option(SETUP_THREAD_SANITIZE "Build with ThreadSanitizer" OFF)
if(SETUP_THREAD_SANITIZE)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# SETUP_FUZZ=ON (clang only) instruments everything for libFuzzer and builds the fuzz targets.
option(SETUP_FUZZ "Build the libFuzzer targets (clang)" OFF)
if(SETUP_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "SETUP_FUZZ needs clang: use the fuzz preset")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
