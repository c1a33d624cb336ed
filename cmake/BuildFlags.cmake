# The flags every target of the project builds with, as one target to link:
# warnings on, each an error, and in the sanitizer build AddressSanitizer and
# UndefinedBehaviorSanitizer (compile and link).
add_library(vrk_build_flags INTERFACE)
target_compile_options(vrk_build_flags INTERFACE -Wall -Wextra -Werror)
# On Windows every text crosses to the system through the wide (W) functions:
# with UNICODE a bare name (MessageBox, IDC_ARROW) is the wide one too, never
# silently the 8-bit one.
if(WIN32)
  target_compile_definitions(vrk_build_flags INTERFACE UNICODE _UNICODE)
endif()
if(VRK_SANITIZE)
  target_compile_options(vrk_build_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                   -fno-sanitize-recover=all)
  target_link_options(vrk_build_flags INTERFACE -fsanitize=address,undefined)
endif()
