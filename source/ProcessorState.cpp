#include "PluginProcessor.h"
#include "StateDocument.h"

namespace
{
const juce::String factoryPrefix ("FactoryPreset:");
constexpr int newPresetCommandId = 4;
} // namespace

void PluginProcessor::getStateData (juce::MemoryBlock& destination, bool includePresetInfo)
{
    const juce::ScopedLock hold (stateLock);

    if (! includePresetInfo)
    {
        state_document::write (tree, destination, nullptr);
        return;
    }

    const state_document::PresetRecord record { loadedPresetRecord(), presetModified.load() };
    state_document::write (tree, destination, &record);
}

bool PluginProcessor::setFromStateData (const void* data, int sizeInBytes)
{
    const auto restored = state_document::read (tree, data, sizeInBytes);

    if (! restored.isValid())
        return false;

    const juce::ScopedLock hold (stateLock);

    // Inside an undo or redo step the history must not be cleared: that
    // would delete the step being run. The load action then reports the
    // step as failed, and the manager clears the history once it is over.
    if (tree.undoManager.isPerformingUndoRedo())
    {
        tree.state = restored;
    }
    else
    {
        tree.replaceState (restored);
    }

    stateLoaded = true;

    const auto record = state_document::recordOf (restored);

    if (record.loadedPreset.isNotEmpty())
        restoreLoadedPreset (record.loadedPreset, record.modified);

    return true;
}

juce::String PluginProcessor::loadedPresetRecord()
{
    const juce::ScopedLock hold (presetManager.lock);
    const auto id = presetManager.selectedId;

    if (id <= 0)
        return {};

    if (const auto* factory = presetManager.factoryPresetWithId (id))
        return factoryPrefix + factory->name;

    const auto user = presetManager.userPresets.find (id);

    if (user != presetManager.userPresets.end() && user->second.file.existsAsFile())
        return user->second.file.getFullPathName();

    return {};
}

void PluginProcessor::restoreLoadedPreset (const juce::String& record, bool recordedModified)
{
    const juce::ScopedLock hold (presetManager.lock);

    if (record.startsWith (factoryPrefix))
    {
        const auto name = record.substring (factoryPrefix.length());

        for (const auto& [id, preset] : presetManager.factoryPresets)
        {
            if (preset.name == name)
            {
                // The restore itself has set the flag; what counts is
                // whether the preset had been changed when it was saved.
                presetManager.selectedId = id;
                applyRecordedModified (recordedModified);
                break;
            }
        }

        return;
    }

    const juce::File file (juce::File::isAbsolutePath (record) ? record : juce::String());
    auto* preset = presetManager.getPreset (file);

    if (preset == nullptr && presetManager.userRoot != nullptr)
    {
        presetManager.userRoot->scan (0);
        preset = presetManager.getPreset (file);
    }

    if (preset == nullptr)
    {
        presetManager.currentUserPreset = nullptr;
        presetManager.selectedId = newPresetCommandId;

        if (presetModified.exchange (false))
            showPresetModified();

        return;
    }

    presetManager.currentUserPreset = preset;
    presetManager.selectedId = preset->id;
    applyRecordedModified (recordedModified);
}

void PluginProcessor::applyRecordedModified (bool recordedModified)
{
    if (presetModified.exchange (recordedModified) != recordedModified)
        showPresetModified();
}

void PluginProcessor::showPresetModified()
{
    if (! juce::MessageManager::existsAndIsCurrentThread())
        requestFeedback (presetDisplayBit);
    else if (display != nullptr)
        display->updatedPresetModified (presetModified.load());
}

void PluginProcessor::initDefault()
{
    for (const auto& id : ModelTree::canonicalIds())
        if (auto* parameter = tree.parameter (id))
            parameter->setValueNotifyingHost (parameter->getDefaultValue());

    if (presetModified.exchange (false))
        showPresetModified();
}
