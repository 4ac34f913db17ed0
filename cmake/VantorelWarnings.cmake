# Warning flags for the project's own targets, linked PRIVATE.
add_library(vantorel_warnings INTERFACE)
if(MSVC)
  target_compile_options(vantorel_warnings INTERFACE /W4 $<$<BOOL:${VANTOREL_WERROR}>:/WX>)
else()
  target_compile_options(vantorel_warnings INTERFACE -Wall -Wextra -Wpedantic
                         $<$<BOOL:${VANTOREL_WERROR}>:-Werror>)
endif()
