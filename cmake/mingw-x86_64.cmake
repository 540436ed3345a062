# The 64-bit Windows build: the same program and tests, run under 64-bit Wine.
set(VERSILO_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
