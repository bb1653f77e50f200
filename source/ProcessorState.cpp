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

    // The restore of a preset load's undo must not clear the history from
    // inside the undo step; it is cleared when the step ends.
    if (tree.undoManager.isPerformingUndoRedo())
    {
        tree.state = restored;
        tree.undoManager.clearWhenSafe();
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
                presetManager.selectedId = id;
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
