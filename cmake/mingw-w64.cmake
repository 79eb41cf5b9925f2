# Cross-builds the Windows program with Debian's mingw-w64 (the posix-threads compilers) and runs
# its tests under Wine. The shipped program is 32-bit (i686): it runs on 32-bit and 64-bit Windows
# alike. Everything is linked statically, so ebrona-installer.exe needs no DLLs beside it.
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# cmake/mingw-w64-x86_64.cmake builds the same program as 64-bit, as a build check only.
if(NOT DEFINED mingw_processor)
  set(mingw_processor i686)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${mingw_processor})

set(mingw_triplet ${mingw_processor}-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Release programs without their symbol table: less than half the size.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# ctest and add_test start the Windows executables through this wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
