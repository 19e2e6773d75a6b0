# Cross-compiling the Windows programs with mingw-w64 (64-bit): the same
# sources as the 32-bit build, for machines that run only 64-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
