# Fails when setup.exe without its package is larger than BUDGET bytes. The package's own bytes are
# taken off the program's size; what is left is the program people download before any payload.
file(SIZE "${PROGRAM}" program_size)
file(SIZE "${PACKAGE}" package_size)
math(EXPR stub_size "${program_size} - ${package_size}")
math(EXPR stub_kib "(${stub_size} + 1023) / 1024")
math(EXPR budget_kib "${BUDGET} / 1024")
message(STATUS "setup.exe: ${program_size} bytes, ${stub_size} without its package (${stub_kib} of ${budget_kib} KiB)")
if(stub_size GREATER BUDGET)
  message(FATAL_ERROR "setup.exe without its package is ${stub_size} bytes, over the budget of ${BUDGET}")
endif()
