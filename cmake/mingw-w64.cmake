# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix): the posix
# thread model, so std::thread and its kin work, and an 80-bit long double as on Linux.
# libstdc++, libgcc and winpthread are linked statically, so each .exe runs on its own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(zelmora_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${zelmora_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${zelmora_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${zelmora_mingw}-windres)

# Beside the compiler's own folder, the one where scripts/package-windows puts GoogleTest built
# for Windows and copies of the header-only libraries with their CMake files.
set(ZELMORA_WINDOWS_DEPS "${CMAKE_BINARY_DIR}/deps" CACHE PATH "Libraries built for Windows")
set(CMAKE_FIND_ROOT_PATH /usr/${zelmora_mingw} ${ZELMORA_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# MinGW declares the POSIX thread-safe time functions (localtime_r, gmtime_r) only when asked.
set(CMAKE_CXX_FLAGS_INIT "-D_POSIX_THREAD_SAFE_FUNCTIONS=200112L")

# ctest runs the test programs through Wine when it is there.
find_program(ZELMORA_WINE NAMES wine64 wine)
if(ZELMORA_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ZELMORA_WINE})
endif()
