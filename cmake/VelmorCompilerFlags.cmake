# Warnings are errors in waiting: keep them at zero on every compiler we ship with.
add_library(velmor_flags INTERFACE)
if(MSVC)
    target_compile_options(velmor_flags INTERFACE /W4 /permissive-)
else()
    target_compile_options(velmor_flags INTERFACE -Wall -Wextra -Wpedantic)
endif()
target_compile_definitions(velmor_flags INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING
    QT_NO_CAST_FROM_BYTEARRAY)

if(VELMOR_SANITIZE)
    if(MSVC)
        message(FATAL_ERROR "VELMOR_SANITIZE is for GCC and Clang")
    endif()
    set(_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_compile_options(velmor_flags INTERFACE ${_san})
    target_link_options(velmor_flags INTERFACE ${_san})
endif()
