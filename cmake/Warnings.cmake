# One interface target carries the flags every project target builds with.
add_library(tomefuse_flags INTERFACE)
target_compile_options(tomefuse_flags INTERFACE -Wall -Wextra -Wpedantic)
if(TOMEFUSE_WERROR)
  target_compile_options(tomefuse_flags INTERFACE -Werror)
endif()
if(TOMEFUSE_SANITIZE)
  target_compile_options(tomefuse_flags INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(tomefuse_flags INTERFACE -fsanitize=address,undefined)
endif()
