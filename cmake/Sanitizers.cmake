# Sanitizer builds. The flags go to every target, the JUCE modules compiled
# into the shared code included, so that the plug-in bundles that the host
# tests load are instrumented like the tests themselves.

if(PALIMPSESTER_SANITIZER STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(PALIMPSESTER_SANITIZER STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT PALIMPSESTER_SANITIZER STREQUAL "")
  message(FATAL_ERROR "PALIMPSESTER_SANITIZER must be address, thread or empty")
endif()

if(PALIMPSESTER_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR NOT PALIMPSESTER_SANITIZER STREQUAL "address")
    message(FATAL_ERROR "The fuzz targets need clang and PALIMPSESTER_SANITIZER=address")
  endif()
  # Coverage for the fuzzer's guidance everywhere; the fuzzer's own main
  # only where a fuzz target is linked.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# JUCE 7.0.5's core copies and compares empty memory blocks (the post data
# of every URL, for one) through memcpy and memcmp with null pointers:
# harmless, but undefined, and reported by the nonnull-attribute check. The
# framework's core module, wherever it is compiled, is spared that one check.
function(palimpsester_spare_framework_core target)
  if(PALIMPSESTER_SANITIZER STREQUAL "address")
    set_source_files_properties(${JUCE_MODULES_DIR}/juce_core/juce_core.cpp
      TARGET_DIRECTORY ${target}
      PROPERTIES COMPILE_OPTIONS "-fno-sanitize=nonnull-attribute")
  endif()
endfunction()
