# The hardening Debian builds its packages with: stack protector, format checks, a position
# independent executable, read-only relocations bound at start (-z relro -z now), and the
# checked variants of the C library's string and memory functions (_FORTIFY_SOURCE, which needs
# an optimised build: Release and RelWithDebInfo). Sanitized builds go without _FORTIFY_SOURCE,
# which hides calls from AddressSanitizer.
include(CheckPIESupported)
check_pie_supported()

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang" AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
  add_compile_options(-fstack-protector-strong -fstack-clash-protection -Wformat -Werror=format-security)
  if(NOT ZARVO_SANITIZE AND NOT ZARVO_FUZZ)
    add_compile_options($<$<CONFIG:Release,RelWithDebInfo>:-U_FORTIFY_SOURCE>
                        $<$<CONFIG:Release,RelWithDebInfo>:-D_FORTIFY_SOURCE=2>)
  endif()
  add_link_options(-Wl,-z,relro -Wl,-z,now)
  # Executables are position independent; Qt's targets make everything they link -fPIC.
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()
