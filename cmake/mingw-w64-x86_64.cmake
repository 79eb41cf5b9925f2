# The Windows program as a 64-bit build: a build check only; the 32-bit program is the one shipped
# and tested.
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(mingw_processor x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
