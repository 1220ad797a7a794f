# Compiler settings every target of the project shares.

option(PRUVEX_WERROR "Treat compiler warnings as errors (CI)" OFF)

# Q_ASSERT and assert() stay active in the everyday build (RelWithDebInfo),
# which the tests use, and go only in a Release build.
if(CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
  set(_pruvex_asserts_default OFF)
else()
  set(_pruvex_asserts_default ON)
endif()
option(PRUVEX_ASSERTS "Keep assertions in an optimised build" ${_pruvex_asserts_default})
if(PRUVEX_ASSERTS)
  # Qt's CMake package defines QT_NO_DEBUG outside Debug builds; the flags
  # come after the definitions on the command line and take them back.
  add_compile_options(-UQT_NO_DEBUG -UNDEBUG)
endif()

add_library(pruvex_warnings INTERFACE)
target_compile_options(pruvex_warnings INTERFACE -Wall -Wextra -Wshadow -Wpedantic $<$<BOOL:${PRUVEX_WERROR}>:-Werror>)

# The defaults of the program's own code: warnings, and no implicit
# conversion of 8-bit strings to QString (each text says what it is).
function(pruvex_target_defaults target)
  target_link_libraries(${target} PRIVATE pruvex_warnings)
  target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII)
endfunction()
