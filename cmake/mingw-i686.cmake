# The 32-bit Windows build: the one that ships.
set(VERSILO_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
