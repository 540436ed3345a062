# Cross build for Windows with Debian's MinGW-w64 compilers (posix thread model, so
# std::thread and std::mutex exist for GoogleTest). Included by mingw-i686.cmake (the
# 32-bit build that ships) and mingw-x86_64.cmake (the 64-bit build), which set
# VERSILO_ARCH first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VERSILO_ARCH})
set(MINGW_PREFIX ${VERSILO_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER   ${MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${MINGW_PREFIX}-windres)
set(CMAKE_DLLTOOL      ${MINGW_PREFIX}-dlltool)
set(CMAKE_OBJDUMP      ${MINGW_PREFIX}-objdump)
set(MINGW_WIDL         ${MINGW_PREFIX}-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
