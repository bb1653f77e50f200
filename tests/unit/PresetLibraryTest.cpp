#include "../support/ProcessorProbes.h"
#include <FactoryPresets.h>
#include "../support/TemporaryFolder.h"
#include <gtest/gtest.h>

namespace
{
using juce::vorn_gui::PresetManager;

/** A presets folder of its own for each test, removed afterwards. */
class Library : public testing::Test
{
protected:

    juce::File addFile (const juce::String& relativePath)
    {
        const auto file = folder.getChildFile (relativePath);
        file.getParentDirectory().createDirectory();
        file.replaceWithText ("x");
        return file;
    }

    std::unique_ptr<PresetManager> makeLibrary()
    {
        return std::make_unique<PresetManager> (nullptr, folder, "Pl11", registerFactoryPresets);
    }

    static juce::StringArray menuTexts (const juce::PopupMenu& menu)
    {
        juce::StringArray texts;
        for (juce::PopupMenu::MenuItemIterator item (menu, true); item.next();)
            if (item.getItem().subMenu == nullptr)
                texts.add (item.getItem().text);
        return texts;
    }

    static juce::StringArray fullMenu (PresetManager& library)
    {
        juce::PopupMenu menu;
        juce::StringArray used;
        library.factoryRoot->addToMenu (menu, used);
        library.userRoot->addToMenu (menu, used);
        return menuTexts (menu);
    }

    static int idOf (const PresetManager& library, const juce::String& name)
    {
        for (const auto& [id, preset] : library.factoryPresets)
            if (preset.name == name)
                return id;
        return -1;
    }

    const TemporaryFolder temporary { "library" };
    const juce::File folder = temporary.folder;
};

TEST (PresetTitles, FromFileNames)
{
    struct Row { const char* name; const char* title; };
    for (const auto& row : { Row { "my_preset.pl11", "My preset" }, Row { "Drums.old", "Drums" }, Row { "a.b.pl11", "A.b" },
                             Row { "_lead.pl11", " lead" }, Row { ".pl11", "" }, Row { "UPPER_case", "UPPER case" } })
        EXPECT_EQ (PresetManager::Preset::titleFromFilename (juce::File ("/tmp").getChildFile (row.name)), row.title) << row.name;
}

TEST_F (Library, SuffixesComeFromTheFormatName)
{
    const auto library = makeLibrary();
    EXPECT_EQ (library->fileExtension, ".pl11");
    EXPECT_EQ (library->packExtension, ".pl11_pack");
    EXPECT_EQ (PresetManager (nullptr, folder, ".Pl11", {}).fileExtension, ".pl11");
}

TEST_F (Library, FactoryTreeInTableOrder)
{
    const auto library = makeLibrary();
    ASSERT_NE (library->factoryRoot, nullptr);
    EXPECT_EQ (library->factoryPresets.size(), 35u);

    juce::StringArray tops;
    for (auto* category : library->factoryRoot->subCategories)
        tops.add (category->name);
    EXPECT_EQ (tops, juce::StringArray ({ "Bass", "Drums", "Guitar", "One-stage", "Series", "Parallel" }));

    EXPECT_EQ (idOf (*library, "Black pepper"), 10);
    EXPECT_EQ (idOf (*library, "Twinkle"), 32);
    EXPECT_EQ (idOf (*library, "Zentrovox called"), 44);
    EXPECT_EQ (library->nextId, 45);

    juce::PopupMenu menu;
    juce::StringArray used;
    library->factoryRoot->addToMenu (menu, used);
    EXPECT_EQ (used.size(), 35);

    juce::StringArray labels;
    for (juce::PopupMenu::MenuItemIterator item (menu, false); item.next();)
        labels.add (item.getItem().text);
    EXPECT_EQ (labels, tops);

    const auto& bass = library->factoryCategories.at ("Bass");
    EXPECT_EQ (bass.subCategories[0]->name, "Bass//Guitar");
    EXPECT_EQ (bass.subCategories[0]->presets[2]->name, "Special sauce");
    EXPECT_EQ (library->factoryCategories.at ("One-stage").presets.size(), 5);
}

TEST_F (Library, UserPresetsFoundAtStartTakeTheFirstIds)
{
    addFile ("one.pl11");
    addFile ("two.pl11");
    addFile ("Sub/three.pl11");

    const auto library = makeLibrary();
    EXPECT_EQ (idOf (*library, "Black pepper"), 13);
    EXPECT_EQ (library->userPresets.size(), 3u);
    EXPECT_EQ (library->getPreset (folder.getChildFile ("Sub/three.pl11"))->title, "Three");
}

TEST_F (Library, ScanListsThreeFolderLevelsAndOnlyPresetFiles)
{
    addFile ("top.pl11");
    addFile ("notes.txt");
    addFile ("A/B/C/level3.pl11");
    addFile ("A/B/C/D/level4.pl11");
    addFile (".hidden.pl11");

    const auto library = makeLibrary();
    const auto texts = fullMenu (*library);
    EXPECT_TRUE (texts.contains ("Top"));
    EXPECT_TRUE (texts.contains ("Level3"));
    EXPECT_TRUE (texts.contains (".hidden"));
    EXPECT_FALSE (texts.contains ("Level4"));
    EXPECT_FALSE (texts.contains ("Notes"));
}

TEST_F (Library, MenuTextsStayUniqueAcrossFactoryAndUserTrees)
{
    addFile ("twinkle.pl11");
    addFile ("Pads/pad.pl11");
    addFile ("More/Pad.pl11");

    const auto library = makeLibrary();
    const auto texts = fullMenu (*library);

    EXPECT_EQ (texts.indexOf ("Twinkle"), texts.indexOf ("Twinkle", false, texts.indexOf ("Twinkle")));
    EXPECT_EQ (texts.indexOf ("Twinkle", false, texts.indexOf ("Twinkle") + 1), -1);
    EXPECT_TRUE (texts.contains ("Twinkle (2)"));
    EXPECT_TRUE (texts.contains ("Pad"));
    EXPECT_TRUE (texts.contains ("Pad (2)"));
    EXPECT_EQ (texts.size(), 35 + 3);
}

TEST_F (Library, NextAndPreviousWrapAndSkipGapsAndVanishedFiles)
{
    const auto kept = addFile ("kept.pl11");
    const auto vanishing = addFile ("vanishing.pl11");
    auto library = makeLibrary();

    // User presets took 10 and 11, the factory presets 12 to 46.
    const auto keptId = library->getPreset (kept)->id;
    const auto vanishingId = library->getPreset (vanishing)->id;
    ASSERT_EQ (library->nextId, 47);

    EXPECT_EQ (library->selectionIdAfterInc (0), -1);

    library->selectedId = -1;
    EXPECT_EQ (library->selectionIdAfterInc (1), 10);

    library->selectedId = 46;
    EXPECT_EQ (library->selectionIdAfterInc (1), 10);

    library->selectedId = 10;
    EXPECT_EQ (library->selectionIdAfterInc (-1), 46);

    library->selectedId = 4; // the "New" command
    EXPECT_EQ (library->selectionIdAfterInc (1), 10);

    ASSERT_TRUE (vanishing.deleteFile());
    library->selectedId = keptId;
    EXPECT_EQ (library->selectionIdAfterInc (1), 12);
    library->selectedId = 12;
    EXPECT_EQ (library->selectionIdAfterInc (-1), keptId);
    EXPECT_FALSE (library->isAvailable (vanishingId));
    EXPECT_FALSE (fullMenu (*library).contains ("Vanishing"));
}

TEST_F (Library, AWalkOverNothingAvailableEnds)
{
    PresetManager empty (nullptr, folder, "Pl11", {});
    empty.selectedId = 4;
    EXPECT_EQ (empty.selectionIdAfterInc (1), -1);
    EXPECT_EQ (empty.selectionIdAfterInc (-1), -1);
}

TEST_F (Library, AFileKeepsItsIdAcrossRemovalAndReturn)
{
    const auto file = addFile ("Keep/me.pl11");
    auto library = makeLibrary();
    const auto id = library->getPreset (file)->id;

    ASSERT_TRUE (file.deleteFile());
    library->userRoot->scan (0);
    EXPECT_EQ (library->getPreset (file), nullptr);

    addFile ("Keep/me.pl11");
    library->userRoot->scan (0);
    ASSERT_NE (library->getPreset (file), nullptr);
    EXPECT_EQ (library->getPreset (file)->id, id);
}

TEST_F (Library, RandomEngineIsTheMinimalStandardGenerator)
{
    const auto library = makeLibrary();
    EXPECT_EQ (decltype (library->randomEngine)::multiplier, 48271u);
    EXPECT_EQ (decltype (library->randomEngine)::modulus, 2147483647u);

    auto copy = library->randomEngine;
    EXPECT_EQ (copy(), library->randomEngine());
}

TEST (ExternalPreset, BecomesTheCurrentUserPresetWithoutChangingTheSelection)
{
    PluginProcessor processor;
    DisplayRecorder display;
    processor.display = &display;
    setPlain (processor, "Tone", 12);
    processor.presetManager.selectedId = 17;

    const juce::File outside ("/tmp/elsewhere/my_sound.pl11");
    processor.presetManager.setExternalPreset (outside);

    ASSERT_NE (processor.presetManager.currentUserPreset, nullptr);
    EXPECT_EQ (processor.presetManager.currentUserPreset->title, "My sound");
    EXPECT_EQ (processor.presetManager.currentUserPreset->id, -1);
    EXPECT_EQ (processor.presetManager.selectedId, 17);
    EXPECT_FALSE (processor.presetModified.load());
    EXPECT_EQ (display.shown.back(), false);
    processor.display = nullptr;
}
} // namespace
