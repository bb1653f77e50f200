#pragma once

namespace juce::vorn_gui
{

/** Holder of the plug-in's data folder and presets folder. */
class FileServerManager
{
public:
    /** Supplies the shift count of the preset file format. */
    class KeyMaker
    {
    public:
        virtual int create_BIT_SHIFT() const = 0;

    protected:
        ~KeyMaker() = default;
    };
};

} // namespace juce::vorn_gui
