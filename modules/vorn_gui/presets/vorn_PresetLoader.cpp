namespace juce::vorn_gui
{

bool PresetManager::PresetLoader::LoadStateUndoableAction::perform()
{
    return loader.setFromStateData (newState.getData(), (int) newState.getSize());
}

bool PresetManager::PresetLoader::LoadStateUndoableAction::undo()
{
    if (loader.display != nullptr)
        loader.display->selectNewPreset (dontSendNotification);

    return loader.setFromStateData (oldState.getData(), (int) oldState.getSize());
}

bool PresetManager::PresetLoader::loadPresetState (MemoryBlock& data)
{
    MemoryBlock before;
    getStateData (before, true);
    applyBitShift (data, -keyMaker->create_BIT_SHIFT());

    // The load is a step of its own: edits before it are not merged into
    // it, nor edits after it.
    undoManager->beginNewTransaction();
    const bool loaded = undoManager->perform (new LoadStateUndoableAction (*this, data, before));
    undoManager->beginNewTransaction();
    return loaded;
}

bool PresetManager::PresetLoader::savePresetState (File file)
{
    if (file.getFullPathName().isEmpty() || ! file.exists() || file.isDirectory())
        return false;

    const bool wasModified = presetModified.load();
    setPresetModified (false, true);

    MemoryBlock block;
    getStateData (block, false);
    applyBitShift (block, keyMaker->create_BIT_SHIFT());

    bool saved = false;

    if (block.isEmpty())
    {
        saved = file.deleteFile();
    }
    else
    {
        TemporaryFile temporary (file);

        if (auto stream = temporary.getFile().createOutputStream (8192))
        {
            const bool written = stream->write (block.getData(), block.getSize());
            stream->flush();
            const bool complete = written && stream->getStatus().wasOk();
            stream.reset();
            saved = complete && temporary.overwriteTargetFileWithTemporary();
        }
    }

    if (! saved && wasModified)
        setPresetModified (true, false);

    return saved;
}

void PresetManager::PresetLoader::setPresetModified (bool modified, bool tellDisplay)
{
    const bool changed = presetModified.exchange (modified) != modified;

    if (changed && tellDisplay && display != nullptr)
        display->updatedPresetModified (modified);
}

} // namespace juce::vorn_gui
