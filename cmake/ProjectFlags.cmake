# Flags for our own targets only; third-party code is never compiled here.
add_library(drawing_flags INTERFACE)

if(MSVC)
  target_compile_options(drawing_flags INTERFACE /W4 /WX /fp:precise /permissive-)
else()
  target_compile_options(drawing_flags INTERFACE
    -Wall -Wextra -Wpedantic -Werror -Wshadow -Wconversion -Wno-sign-conversion
    -ffp-contract=off -fno-fast-math)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 reports a false -Wrestrict inside libstdc++'s string concatenation
    # when optimising for i686 (GCC bug 105329).
    target_compile_options(drawing_flags INTERFACE -Wno-restrict)
  endif()
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i.86|x86)$")
    # Keep our double arithmetic off the x87 unit, whose precision Direct3D changes.
    target_compile_options(drawing_flags INTERFACE -msse2 -mfpmath=sse)
    if(WIN32)
      # 32-bit Windows keeps the stack 4-byte aligned; SSE values on it need 16.
      target_compile_options(drawing_flags INTERFACE -mstackrealign)
    endif()
  endif()
endif()

if(DRAWING_SANITIZE)
  target_compile_options(drawing_flags INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(drawing_flags INTERFACE -fsanitize=address,undefined)
endif()

if(WIN32 AND NOT MSVC)
  # Each .exe runs alone: no MinGW runtime DLLs beside it.
  target_link_options(drawing_flags INTERFACE -static -static-libgcc -static-libstdc++)
endif()

# Adds a static library built from every source file in the given folders.
function(drawing_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;DEPS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC drawing_flags ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE drawing_flags ${ARG_DEPS})
  endif()
endfunction()
