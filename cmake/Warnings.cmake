# One interface target carries the flags every project target builds with.
add_library(tomefuse_flags INTERFACE)
target_compile_options(tomefuse_flags INTERFACE -Wall -Wextra -Wpedantic)
# GCC 12 at -O3 takes the inlined std::string concatenations for overlapping copies (a known false
# positive of its -Wrestrict), which would make Release builds noisy and -Werror ones fail.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12)
  target_compile_options(tomefuse_flags INTERFACE -Wno-restrict)
endif()
if(TOMEFUSE_WERROR)
  target_compile_options(tomefuse_flags INTERFACE -Werror)
endif()
if(TOMEFUSE_SANITIZE)
  target_compile_options(tomefuse_flags INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(tomefuse_flags INTERFACE -fsanitize=address,undefined)
endif()
