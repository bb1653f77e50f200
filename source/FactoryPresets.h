#pragma once

#include <vorn_gui/vorn_gui.h>

/** Registers the 35 factory presets and their category tree, in the order of
    the embedded table: each leaf category after its presets, each top
    category after its sub-categories, "Root" last. Defined beside the
    embedded resources, which only the plug-in itself, the tests and the
    benchmarks link. */
void registerFactoryPresets (juce::vorn_gui::PresetManager& manager);
