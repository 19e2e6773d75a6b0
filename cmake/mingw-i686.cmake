# Cross-compiling the Windows programs with mingw-w64 (32-bit): the programs we ship.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
