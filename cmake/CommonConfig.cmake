# One strict configuration shared by every target of the project.
add_library(form2audit_common INTERFACE)
target_compile_features(form2audit_common INTERFACE cxx_std_20)
target_compile_options(form2audit_common INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual)
target_compile_definitions(form2audit_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_FOREACH
    QT_NO_KEYWORDS
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER
    FORM2AUDIT_VERSION="${PROJECT_VERSION}")

option(FORM2AUDIT_WERROR "Treat compiler warnings as errors (CI turns it on)" OFF)
if(FORM2AUDIT_WERROR)
    target_compile_options(form2audit_common INTERFACE -Werror)
endif()

if(FORM2AUDIT_SANITIZE)
    target_compile_options(form2audit_common INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(form2audit_common INTERFACE -fsanitize=address,undefined)
endif()
