# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads, so
# std::thread works). QUORIN_WINDOWS_PREFIX is where build-windows.sh installs
# the libraries it builds; nothing of the host's own libraries is looked at.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_AR ${triple}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${triple}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT QUORIN_WINDOWS_PREFIX AND DEFINED ENV{QUORIN_WINDOWS_PREFIX})
  set(QUORIN_WINDOWS_PREFIX $ENV{QUORIN_WINDOWS_PREFIX})
endif()
# Try-compile projects see the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUORIN_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH ${QUORIN_WINDOWS_PREFIX} /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} "${QUORIN_WINDOWS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Build-time tools (the asset embedder, the icon maker) run under Wine.
find_program(QUORIN_WINE wine)
if(QUORIN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORIN_WINE})
endif()

# Everything static: no libstdc++, libgcc, winpthread, zlib or SDL DLLs to ship.
set(ZLIB_LIBRARY /usr/${triple}/lib/libz.a CACHE FILEPATH "")
set(ZLIB_INCLUDE_DIR /usr/${triple}/include CACHE PATH "")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
