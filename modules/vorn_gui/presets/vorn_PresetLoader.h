#pragma once

namespace juce::vorn_gui
{

/** Loads and saves preset files through the processor's state document,
    without knowing the processor; keeps the flag that says whether the
    loaded preset has been changed since. */
class PresetManager::PresetLoader
{
public:
    /** Shows the modified marker; implemented by the preset selector. */
    class PresetDisplay
    {
    public:
        virtual void updatedPresetModified (bool modified) = 0;
        virtual void selectNewPreset (NotificationType notification) = 0;

    protected:
        ~PresetDisplay() = default;
    };

    /** One undoable preset load: perform restores the new state, undo the
        state from before the load. */
    class LoadStateUndoableAction : public UndoableAction
    {
    public:
        LoadStateUndoableAction (PresetLoader& loaderToUse, const MemoryBlock& newStateToLoad, const MemoryBlock& stateBefore)
            : loader (loaderToUse), newState (newStateToLoad), oldState (stateBefore)
        {
        }

        bool perform() override;
        bool undo() override;

        PresetLoader& loader;
        MemoryBlock newState;
        MemoryBlock oldState;
    };

    virtual void getStateData (MemoryBlock& destination, bool includePresetInfo) = 0;
    virtual bool setFromStateData (const void* data, int sizeInBytes) = 0;
    virtual void initDefault() = 0;

    /** Loads the bytes of a preset file as one undoable step; `data` is
        unscrambled in place. Returns whether the state was applied. */
    bool loadPresetState (MemoryBlock& data);

    /** Writes the current state to an existing file, through a temporary
        file next to it that replaces it only on success. */
    bool savePresetState (File file);

    /** Sets the flag; tells the display when it changes and `tellDisplay`. */
    void setPresetModified (bool modified, bool tellDisplay);

    std::atomic<bool> presetModified { false };
    PresetDisplay* display = nullptr;
    UndoManager* undoManager = nullptr;           // set by the implementing processor
    const FileServerManager::KeyMaker* keyMaker = nullptr;

protected:
    PresetLoader() = default;
    ~PresetLoader() = default;
};

} // namespace juce::vorn_gui
