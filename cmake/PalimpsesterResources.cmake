# The embedded resources: the factory presets' table and the preset files
# generated from it at build time by palimpsester-presetgen. The plug-in
# formats, the tests and the benchmarks link them after the shared code; the
# generator links the shared code without them (it never pulls the factory
# preset registration, the one user of the resources).

set(factory_table ${CMAKE_SOURCE_DIR}/resources/factory_presets.tsv)
set(factory_folder ${CMAKE_BINARY_DIR}/factory_presets)
set(factory_files)

file(STRINGS ${factory_table} factory_lines)
foreach(line IN LISTS factory_lines)
  if(line MATCHES "^#" OR line MATCHES "^Category\t" OR line STREQUAL "")
    continue()
  endif()
  string(REPLACE "\t" ";" cells "${line}")
  list(GET cells 1 name)
  string(REPLACE " " "_" file_name "${name}")
  list(APPEND factory_files ${factory_folder}/${file_name}.pl11)
endforeach()

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${factory_table})

add_custom_command(OUTPUT ${factory_files}
  COMMAND palimpsester-presetgen ${factory_table} ${factory_folder}
  DEPENDS palimpsester-presetgen ${factory_table}
  COMMENT "Generating the factory presets"
  VERBATIM)

# The framework's juce_add_binary_data wants its files at configure time and
# does not rebuild when they change; these are generated, so the same
# juceaide step is declared here with the files as dependencies.
function(palimpsester_add_binary_data target)
  cmake_parse_arguments(arg "" "" "SOURCES" ${ARGN})
  set(folder "${CMAKE_CURRENT_BINARY_DIR}/${target}_binarydata")
  set(outputs "${folder}/BinaryData.h")
  set(list_text)
  set(index 0)
  foreach(source IN LISTS arg_SOURCES)
    math(EXPR index "${index} + 1")
    list(APPEND outputs "${folder}/BinaryData${index}.cpp")
    string(APPEND list_text "${source}\n")
  endforeach()
  file(MAKE_DIRECTORY "${folder}")
  file(WRITE "${folder}/input_file_list" "${list_text}")
  add_custom_command(OUTPUT ${outputs}
    COMMAND juce::juceaide binarydata BinaryData BinaryData.h "${folder}" "${folder}/input_file_list"
    DEPENDS "${folder}/input_file_list" ${arg_SOURCES}
    VERBATIM)
  add_library(${target} STATIC ${outputs})
  target_include_directories(${target} INTERFACE "${folder}")
  target_compile_definitions(${target} INTERFACE JUCE_TARGET_HAS_BINARY_DATA=1)
endfunction()

# The two typefaces and the editor's five icons, committed under resources/.
set(gui_resources
  ${CMAKE_SOURCE_DIR}/resources/fonts/SourceCodePro-Bold.ttf
  ${CMAKE_SOURCE_DIR}/resources/fonts/CourierPrime-Bold.ttf
  ${CMAKE_SOURCE_DIR}/resources/icons/undo.svg
  ${CMAKE_SOURCE_DIR}/resources/icons/redo.svg
  ${CMAKE_SOURCE_DIR}/resources/icons/reload.svg
  ${CMAKE_SOURCE_DIR}/resources/icons/new.svg
  ${CMAKE_SOURCE_DIR}/resources/icons/randomPreset.svg)

palimpsester_add_binary_data(palimpsester_resources SOURCES ${factory_table} ${factory_files} ${gui_resources})

foreach(format IN LISTS palimpsester_formats)
  target_link_libraries(Palimpsester_${format} PRIVATE palimpsester_resources)
endforeach()

# The shared code together with the resources it looks up, for the tests and
# the benchmarks: linked as one group, so that the order does not matter.
add_library(palimpsester_plugin_code INTERFACE)
target_link_libraries(palimpsester_plugin_code INTERFACE
  palimpsester_headers
  "$<LINK_GROUP:RESCAN,Palimpsester,palimpsester_resources>")
