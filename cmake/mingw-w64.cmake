# Cross-build for Windows with Debian's MinGW-w64 (win32 thread model, so
# nothing but Windows' own DLLs is needed beside the exe). The target comes
# from the two-line files beside this one: i686 is the program we ship, for
# 32- and 64-bit Windows alike; x86_64 is built and tested too.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${PELLORY_MINGW}-gcc)
set(CMAKE_CXX_COMPILER ${PELLORY_MINGW}-g++)
set(CMAKE_RC_COMPILER ${PELLORY_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PELLORY_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
