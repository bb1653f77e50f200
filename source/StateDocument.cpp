#include "PluginProcessor.h"

#include <cstdlib>

namespace
{
constexpr auto companyName = "Quillmark";
constexpr auto productName = "Palimpsester";
constexpr auto productVersion = "1.1.3";

const juce::Identifier paramType ("PARAM"), idAttribute ("id"), valueAttribute ("value");
const juce::Identifier loadedPresetAttribute ("LoadedPreset"), loadedPresetModifiedAttribute ("LoadedPresetModified");

/** The whole text as a number, or NaN when it is not one. */
double parseNumber (const juce::String& text)
{
    const auto trimmed = text.trim();
    const auto utf8 = trimmed.toStdString();
    char* end = nullptr;
    const auto number = std::strtod (utf8.c_str(), &end);

    if (utf8.empty() || end != utf8.c_str() + utf8.size())
        return std::numeric_limits<double>::quiet_NaN();

    return number;
}
} // namespace

void PluginProcessor::getStateData (juce::MemoryBlock& destination, bool includePresetInfo)
{
    const juce::ScopedLock hold (stateLock);

    auto state = tree.withCanonicalIds (tree.copyState());
    state.setProperty ("CompanyName", companyName, nullptr);
    state.setProperty ("ProductNameWithoutVersion", productName, nullptr);
    state.setProperty ("ProductVersion", productVersion, nullptr);

    if (includePresetInfo)
    {
        const juce::String loadedPreset;
        state.setProperty (loadedPresetAttribute, loadedPreset, nullptr);
        state.setProperty (loadedPresetModifiedAttribute, loadedPreset.isNotEmpty() && presetModified.load() ? "1" : "0", nullptr);
    }

    destination.reset();

    if (const auto xml = state.createXml())
        copyXmlToBinary (*xml, destination);
}

bool PluginProcessor::setFromStateData (const void* data, int sizeInBytes)
{
    const auto xml = getXmlFromBinary (data, sizeInBytes);

    if (xml == nullptr || ! xml->getTagName().equalsIgnoreCase (treeIdentifier.toString()))
        return false;

    xml->setTagName (treeIdentifier.toString());
    auto restored = tree.withLiveIds (juce::ValueTree::fromXml (*xml));
    sanitiseParameterValues (restored);

    {
        const juce::ScopedLock hold (stateLock);

        // The restore of a preset load's undo must not clear the history
        // from inside the undo step; it is cleared when the step ends.
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
    }

    return true;
}

void PluginProcessor::sanitiseParameterValues (juce::ValueTree& state) const
{
    for (auto child : state)
    {
        if (! child.hasType (paramType))
            continue;

        auto* parameter = tree.getParameter (child.getProperty (idAttribute).toString());

        if (parameter == nullptr)
            continue;

        const auto& range = parameter->getNormalisableRange();
        const auto number = parseNumber (child.getProperty (valueAttribute).toString());
        const auto valid = std::isnan (number) ? (double) parameter->convertFrom0to1 (parameter->getDefaultValue())
                                               : juce::jlimit ((double) range.start, (double) range.end, number);

        child.setProperty (valueAttribute, valid, nullptr);
    }
}

void PluginProcessor::initDefault()
{
    for (const auto& id : ModelTree::canonicalIds())
        if (auto* parameter = tree.parameter (id))
            parameter->setValueNotifyingHost (parameter->getDefaultValue());

    if (juce::MessageManager::existsAndIsCurrentThread())
    {
        setPresetModified (false, true);
    }
    else if (presetModified.exchange (false))
    {
        requestFeedback (presetDisplayBit);
    }
}
