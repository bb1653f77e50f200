# The plug-in: its own JUCE modules, the shared code compiled once, and the
# format wrappers that link it. Consumers other than the wrappers (tests,
# benchmarks, tools) link `palimpsester_shared`, which brings the same compiled
# library with its include paths and definitions, without compiling JUCE again.

juce_add_module(${CMAKE_SOURCE_DIR}/modules/vorn_dsp)
juce_add_module(${CMAKE_SOURCE_DIR}/modules/vorn_gui)

if(APPLE)
  set(palimpsester_formats AU VST3 Standalone)
else()
  set(palimpsester_formats VST3 LV2 Standalone)
endif()

set(palimpsester_lv2_uri "https://quillmark.example/plugins/palimpsester")

# The maker's web site: every address the plug-in shows or opens (home,
# product page, user guide, support, preset downloads) is made from it in
# source/editor/WebPages.cpp, and nowhere else.
set(PALIMPSESTER_WEBSITE "https://quillmark.example" CACHE STRING "The maker's web site, without a trailing slash")

juce_add_plugin(Palimpsester
  COMPANY_NAME "Quillmark"
  COMPANY_WEBSITE "${PALIMPSESTER_WEBSITE}"
  # An IRI: the LV2 bundle writes it as the maintainer's foaf:mbox.
  COMPANY_EMAIL "mailto:support@quillmark.example"
  PRODUCT_NAME "Palimpsester"
  VERSION 1.1.3
  BUNDLE_ID com.quillmark.palimpsester
  PLUGIN_MANUFACTURER_CODE Qmrk
  PLUGIN_CODE Plm3
  FORMATS ${palimpsester_formats}
  IS_SYNTH FALSE
  NEEDS_MIDI_INPUT FALSE
  NEEDS_MIDI_OUTPUT FALSE
  IS_MIDI_EFFECT FALSE
  EDITOR_WANTS_KEYBOARD_FOCUS TRUE
  COPY_PLUGIN_AFTER_BUILD FALSE
  VST3_CATEGORIES Fx
  AU_MAIN_TYPE kAudioUnitType_Effect
  LV2URI "${palimpsester_lv2_uri}")

if(TARGET juce_lv2_helper)
  target_sources(juce_lv2_helper PRIVATE ${CMAKE_SOURCE_DIR}/tools/lv2-helper/DataFolderInBuildTree.cpp)
  target_compile_definitions(juce_lv2_helper PRIVATE
    PALIMPSESTER_HELPER_DATA_ROOT="${CMAKE_BINARY_DIR}/lv2-helper-data")
endif()

target_sources(Palimpsester PRIVATE
  source/editor/Style.cpp
  source/editor/WebPages.cpp
  source/FactoryPresets.cpp
  source/FactoryPresetTable.cpp
  source/ModelTree.cpp
  source/ParameterRouting.cpp
  source/PluginProcessor.cpp
  source/ProcessorState.cpp
  source/StateDocument.cpp)

target_compile_definitions(Palimpsester
  PUBLIC
    # Debian's JUCE falls back to the bare product name as LV2 URI unless the
    # macro is defined before its settings check; lilv cannot find that one.
    JucePlugin_LV2URI="${palimpsester_lv2_uri}"
    PALIMPSESTER_WEBSITE="${PALIMPSESTER_WEBSITE}"
    JUCE_WEB_BROWSER=0
    JUCE_USE_CURL=0
    JUCE_VST3_CAN_REPLACE_VST2=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_REPORT_APP_USAGE=0
    JUCE_USE_FLAC=0
    JUCE_USE_OGGVORBIS=0)

target_link_libraries(Palimpsester
  PRIVATE
    vorn_dsp
    vorn_gui
    juce::juce_audio_utils
    juce::juce_dsp
  PUBLIC
    juce::juce_recommended_config_flags
    juce::juce_recommended_warning_flags)

# Debian strips JUCE's bundled FLAC and Ogg Vorbis codecs; the plug-in reads
# and writes no audio files, so they are switched off above instead of linking
# the system libraries.

# Consumers see the shared code's headers and definitions without compiling
# JUCE again; palimpsester_shared also links the library itself.
add_library(palimpsester_headers INTERFACE)
target_include_directories(palimpsester_headers INTERFACE
  $<TARGET_PROPERTY:Palimpsester,INCLUDE_DIRECTORIES>
  ${CMAKE_SOURCE_DIR}/source)
target_compile_definitions(palimpsester_headers INTERFACE
  $<TARGET_PROPERTY:Palimpsester,COMPILE_DEFINITIONS>)

add_library(palimpsester_shared INTERFACE)
target_link_libraries(palimpsester_shared INTERFACE palimpsester_headers Palimpsester)

# In a sanitizer build the bundles use the sanitizer runtime of the program
# that loads them (clang links it into executables only), so they must be
# allowed undefined symbols, against the framework's --no-undefined.
if(PALIMPSESTER_SANITIZER)
  foreach(format IN ITEMS VST3 LV2)
    if(TARGET Palimpsester_${format})
      target_link_options(Palimpsester_${format} PRIVATE -Wl,-z,undefs)
    endif()
  endforeach()
endif()

palimpsester_spare_framework_core(Palimpsester)
