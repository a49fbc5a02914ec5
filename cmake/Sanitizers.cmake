# AddressSanitizer and UndefinedBehaviorSanitizer behind ZARVO_SANITIZE.
# -O1 keeps the reports exact and builds and runs far faster than -O0; -g1 keeps their line numbers.
if(ZARVO_SANITIZE)
  add_compile_options(-O1 -g1 -fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Coverage-guided fuzzing: everything instrumented for libFuzzer, with AddressSanitizer and
# UndefinedBehaviorSanitizer. Undefined behaviour aborts, so that the fuzzer keeps the input as a
# finding instead of printing a line and running on.
if(ZARVO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ZARVO_FUZZ needs clang (CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
