#pragma once

namespace juce::vorn_gui
{

/** The catalogue of factory and user presets. */
class PresetManager
{
public:
    class PresetLoader;
};

} // namespace juce::vorn_gui
