#include "../support/ProcessorProbes.h"
#include <gtest/gtest.h>

namespace
{
juce::File presetsFolder()
{
    return juce::File (juce::SystemStats::getEnvironmentVariable ("PALIMPSESTER_DATA_ROOT", {})
                       + juce::vorn_gui::FileServerManager::dataFolderName + "/Presets");
}

int factoryId (PluginProcessor& processor, const juce::String& name)
{
    for (const auto& [id, preset] : processor.presetManager.factoryPresets)
        if (preset.name == name)
            return id;
    return -1;
}

juce::MemoryBlock hostState (PluginProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

juce::MemoryBlock withRecord (PluginProcessor& processor, const juce::String& loadedPreset, const char* modified)
{
    auto xml = juce::AudioProcessor::getXmlFromBinary (hostState (processor).getData(), (int) hostState (processor).getSize());
    xml->setAttribute ("LoadedPreset", loadedPreset);
    xml->setAttribute ("LoadedPresetModified", modified);
    juce::MemoryBlock block;
    juce::AudioProcessor::copyXmlToBinary (*xml, block);
    return block;
}

class PresetRecord : public testing::Test
{
protected:
    void TearDown() override { presetsFolder().deleteRecursively(); }
};

TEST_F (PresetRecord, AFactoryPresetIsRestoredByName)
{
    PluginProcessor first;
    first.presetManager.selectedId = factoryId (first, "Funboi");
    const auto xml = juce::AudioProcessor::getXmlFromBinary (hostState (first).getData(), (int) hostState (first).getSize());
    EXPECT_EQ (xml->getStringAttribute ("LoadedPreset"), "FactoryPreset:Funboi");

    PluginProcessor second;
    const auto block = hostState (first);
    second.setStateInformation (block.getData(), (int) block.getSize());
    EXPECT_EQ (second.presetManager.selectedId, factoryId (second, "Funboi"));
}

/** A session saved with a factory preset loaded reopens with the marker it
    had, although restoring the preset's values into a fresh instance
    changes parameters. */
class FactoryPresetMarker : public testing::TestWithParam<bool> {};

TEST_P (FactoryPresetMarker, ComesBackAsItWasSaved)
{
    const bool modified = GetParam();
    PluginProcessor first;
    const auto id = factoryId (first, "Funboi");
    auto payload = first.presetManager.factoryPresetWithId (id)->data;
    ASSERT_TRUE (first.loadPresetState (payload));
    first.presetManager.selectedId = id;
    first.presetModified = false; // as the selector leaves it after a load
    if (modified)
        setPlain (first, "Tone", 12);

    PluginProcessor second;
    DisplayRecorder display;
    second.display = &display;
    const auto block = hostState (first);
    second.setStateInformation (block.getData(), (int) block.getSize());

    EXPECT_EQ (second.presetManager.selectedId, id);
    EXPECT_EQ (second.presetModified.load(), modified);
    second.display = nullptr;
}

INSTANTIATE_TEST_SUITE_P (UnmodifiedAndModified, FactoryPresetMarker, testing::Bool());

TEST_F (PresetRecord, AnUnknownFactoryNameLeavesTheSelection)
{
    PluginProcessor processor;
    processor.presetManager.selectedId = 20;
    const auto block = withRecord (processor, "FactoryPreset:No such preset", "1");
    ASSERT_TRUE (processor.setFromStateData (block.getData(), (int) block.getSize()));
    EXPECT_EQ (processor.presetManager.selectedId, 20);
}

TEST_F (PresetRecord, AUserPresetComesBackWithItsModifiedMarker)
{
    ASSERT_TRUE (presetsFolder().getChildFile ("Leads").createDirectory());
    const auto file = presetsFolder().getChildFile ("Leads/bright_lead.pl11");

    PluginProcessor first;
    ASSERT_TRUE (juce::vorn_gui::createFile (file, 5, 100));
    ASSERT_TRUE (first.savePresetState (file));
    first.presetManager.userRoot->scan (0);
    auto* preset = first.presetManager.getPreset (file);
    ASSERT_NE (preset, nullptr);
    first.presetManager.selectedId = preset->id;
    setPlain (first, "Tone", 31);
    ASSERT_TRUE (first.presetModified.load());

    const auto block = hostState (first);
    const auto xml = juce::AudioProcessor::getXmlFromBinary (block.getData(), (int) block.getSize());
    EXPECT_EQ (xml->getStringAttribute ("LoadedPreset"), file.getFullPathName());
    EXPECT_EQ (xml->getStringAttribute ("LoadedPresetModified"), "1");

    PluginProcessor second;
    DisplayRecorder display;
    second.display = &display;
    second.setStateInformation (block.getData(), (int) block.getSize());

    ASSERT_NE (second.presetManager.currentUserPreset, nullptr);
    EXPECT_EQ (second.presetManager.currentUserPreset->file, file);
    EXPECT_EQ (second.presetManager.selectedId, second.presetManager.getPreset (file)->id);
    EXPECT_TRUE (second.presetModified.load());
    second.display = nullptr;
}

TEST_F (PresetRecord, AVanishedUserFileSelectsNewAndClearsTheMarker)
{
    PluginProcessor processor;
    DisplayRecorder display;
    processor.display = &display;
    setPlain (processor, "Tone", 31);
    ASSERT_TRUE (processor.presetModified.load());
    display.shown.clear();

    const auto block = withRecord (processor, presetsFolder().getChildFile ("gone.pl11").getFullPathName(), "1");
    ASSERT_TRUE (processor.setFromStateData (block.getData(), (int) block.getSize()));

    EXPECT_EQ (processor.presetManager.selectedId, 4);
    EXPECT_EQ (processor.presetManager.currentUserPreset, nullptr);
    EXPECT_FALSE (processor.presetModified.load());
    EXPECT_EQ (display.shown, std::vector<bool> { false });
    processor.display = nullptr;
}

TEST_F (PresetRecord, UserPresetsAtStartAreListedBeforeTheFactoryPresets)
{
    ASSERT_TRUE (presetsFolder().createDirectory());
    for (auto* name : { "a.pl11", "b.pl11", "c.pl11" })
        ASSERT_TRUE (presetsFolder().getChildFile (name).replaceWithText ("x"));

    PluginProcessor processor;
    EXPECT_EQ (factoryId (processor, "Black pepper"), 13);
    EXPECT_EQ (processor.presetManager.userRoot->folder, presetsFolder());
}
} // namespace
