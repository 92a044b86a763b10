# The libFuzzer harness over the engine (tests/fuzz): clang only, never in a default build. With
# the option on, every project target is built with coverage for the fuzzer; where the compiler
# cannot link a fuzzer, the harness is left out and the rest builds as usual.
option(TOMEFUSE_FUZZ "Build the libFuzzer harness (needs clang with libFuzzer)" OFF)
set(TOMEFUSE_FUZZ_AVAILABLE OFF)
if(TOMEFUSE_FUZZ)
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS -fsanitize=fuzzer)
  check_cxx_source_compiles([[
    #include <cstddef>
    #include <cstdint>
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
  ]] TOMEFUSE_HAS_LIBFUZZER)
  unset(CMAKE_REQUIRED_FLAGS)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND TOMEFUSE_HAS_LIBFUZZER)
    set(TOMEFUSE_FUZZ_AVAILABLE ON)
    target_compile_options(tomefuse_flags INTERFACE -fsanitize=fuzzer-no-link)
  else()
    message(WARNING "TOMEFUSE_FUZZ: ${CMAKE_CXX_COMPILER_ID} cannot link a libFuzzer target; "
                    "configure with CXX=clang++ (Debian: clang, libclang-rt-dev). The harness is left out.")
  endif()
endif()
