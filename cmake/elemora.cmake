# Build helpers shared by every folder.
#
# elemora_library(NAME [DEPS lib...]) makes a static library of the folder's
# portable sources (*.cpp but not *_win.cpp or main_win.cpp); on Windows the
# folder's *_win.cpp sources are added. A folder's CMakeLists.txt is one line.
function(elemora_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;WIN32_LIBS" ${ARGN})
  file(GLOB portable CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER portable EXCLUDE REGEX "(_win|main_win)\\.cpp$")
  set(sources ${portable})
  if(WIN32)
    file(GLOB win CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_win.cpp)
    list(FILTER win EXCLUDE REGEX "main_win\\.cpp$")
    list(APPEND sources ${win})
  endif()
  if(NOT sources)
    # A folder of headers alone.
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  if(WIN32 AND ARG_WIN32_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_WIN32_LIBS})
  endif()
endfunction()

# elemora_program(NAME CORE lib [RC file.rc]) makes NAME.exe from the folder's
# main_win.cpp, its resource script and the core library; Windows only. The
# program lands in build/dist/ (the distribution folder) via the post-build copy.
set(ELEMORA_DIST_DIR "" CACHE PATH "Where the finished programs are copied")
function(elemora_program name)
  cmake_parse_arguments(ARG "" "RC" "CORE" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  # A program whose entry point or resources are missing from a checkout is
  # left out with a message rather than breaking the whole build.
  foreach(f ${CMAKE_CURRENT_SOURCE_DIR}/main_win.cpp ${ARG_RC})
    if(NOT EXISTS ${f})
      message(STATUS "${name}: ${f} is missing; not built")
      return()
    endif()
  endforeach()
  # The manifest names the processor architecture, so each build makes its
  # own from the folder's *.manifest.in; the resource script finds it by name.
  file(GLOB manifests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.manifest.in)
  foreach(m ${manifests})
    get_filename_component(out ${m} NAME_WLE)
    configure_file(${m} ${CMAKE_CURRENT_BINARY_DIR}/${out} @ONLY)
  endforeach()
  add_executable(${name} WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/main_win.cpp ${ARG_RC})
  # The resource script finds its manifest and elemora_version.h by name.
  set_property(SOURCE ${ARG_RC} APPEND PROPERTY INCLUDE_DIRECTORIES ${CMAKE_CURRENT_BINARY_DIR} ${CMAKE_BINARY_DIR})
  target_link_options(${name} PRIVATE -municode -mwindows)
  target_link_libraries(${name} PRIVATE ${ARG_CORE})
  if(ELEMORA_DIST_DIR)
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory ${ELEMORA_DIST_DIR}
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${name}> ${ELEMORA_DIST_DIR}/)
  endif()
endfunction()

# elemora_test(NAME SOURCES... DEPS lib...) makes one GoogleTest binary whose
# tests CTest discovers.
function(elemora_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "ELEMORA_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
