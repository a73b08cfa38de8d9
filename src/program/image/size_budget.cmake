# Fails when the setup program's stub, the program without any package, is larger than BUDGET
# bytes: what people download before any payload.
file(SIZE "${PROGRAM}" stub_size)
math(EXPR stub_kib "(${stub_size} + 1023) / 1024")
math(EXPR budget_kib "${BUDGET} / 1024")
message(STATUS "setup-stub.exe: ${stub_size} bytes (${stub_kib} of ${budget_kib} KiB)")
if(stub_size GREATER BUDGET)
  message(FATAL_ERROR "setup-stub.exe is ${stub_size} bytes, over the budget of ${BUDGET}")
endif()
