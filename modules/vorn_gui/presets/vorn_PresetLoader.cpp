namespace juce::vorn_gui
{

// A restored state starts a new history. Inside an undo or redo the
// manager's history cannot be cleared by the restore (the running step
// would be deleted under the manager's feet), so the step reports failure
// instead: the manager then clears the whole history itself, once the step
// has finished, whichever pointer the undo or redo was called through.

bool PresetManager::PresetLoader::LoadStateUndoableAction::perform()
{
    const bool restored = loader.setFromStateData (newState.getData(), (int) newState.getSize());
    const bool isRedo = loader.undoManager != nullptr && loader.undoManager->isPerformingUndoRedo();
    return restored && ! isRedo;
}

bool PresetManager::PresetLoader::LoadStateUndoableAction::undo()
{
    if (loader.display != nullptr)
        loader.display->selectNewPreset (dontSendNotification);

    loader.setFromStateData (oldState.getData(), (int) oldState.getSize());
    return false;
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

    // A state that could not be serialised saves nothing: the file the user
    // had stays as it was.
    if (! block.isEmpty())
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
