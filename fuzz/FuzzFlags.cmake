# Compiler flags of a fuzzing build: every library gets libFuzzer's coverage instrumentation and
# both sanitizers, and undefined behaviour stops the run instead of printing and going on.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "VELMORA_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
