// The preset selector and its arrows: the menu, the marker, every command
// and every dialog's callback, called directly.
#include "../support/ProcessorProbes.h"
#include "../support/TemporaryFolder.h"
#include <editor/Style.h>
#include <editor/WebPages.h>
#include <gtest/gtest.h>

#include <set>

namespace
{
using namespace juce::vorn_gui;
using Command = PresetComponent::Command;

/** Every item of a menu, depth first: headers and items by their text,
    separators as "-", sub-menus as "> name". */
std::vector<std::string> itemsOf (const juce::PopupMenu& menu)
{
    std::vector<std::string> items;
    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
    {
        const auto& item = it.getItem();
        if (item.isSeparator)
            items.push_back ("-");
        else if (item.subMenu != nullptr)
        {
            items.push_back ("> " + item.text.toStdString());
            for (auto& inner : itemsOf (*item.subMenu))
                items.push_back ("  " + inner);
        }
        else
            items.push_back (item.text.toStdString());
    }
    return items;
}

class Selector : public testing::Test
{
protected:
    Selector()
    {
        write ("warm.pl11");
        write ("Keys/soft.pl11");
        write ("Pads/soft.pl11");
        processor.display = nullptr;
        selector = std::make_unique<PresetComponent> (lookAndFeel, web_pages::presetDownloads(), processor.presetManager);
    }

    ~Selector() override
    {
        selector.reset();
        presets().deleteRecursively();
    }

    juce::File presets() const { return processor.presetManager.userRoot->folder; }

    /** A preset file made by another processor, with the tone at `tone`. */
    void write (const juce::String& path, float tone = 20)
    {
        PluginProcessor source;
        setPlain (source, "Tone", tone);
        const auto file = presets().getChildFile (path);
        ASSERT_TRUE (file.create());
        ASSERT_TRUE (source.savePresetState (file));
    }

    int idOf (const juce::String& path)
    {
        processor.presetManager.userRoot->scan (0);
        return processor.presetManager.getPreset (presets().getChildFile (path))->id;
    }

    int factoryId (const juce::String& name)
    {
        for (const auto& [id, preset] : processor.presetManager.factoryPresets)
            if (preset.name == name)
                return id;
        return -1;
    }

    void choose (int id) { selector->setSelectedId (id, juce::sendNotificationSync); }

    PluginProcessor processor;
    PalimpsesterLookAndFeel lookAndFeel;
    std::unique_ptr<PresetComponent> selector;
};

TEST_F (Selector, TheMenuListsCommandsFactoryAndUserPresetsWithDistinctTexts)
{
    selector->createSubMenu();
    const auto items = itemsOf (*selector->getRootMenu());

    const std::vector<std::string> head { "Options:", "New", "Browse/Open...", "Save", "Save as...", "-",
                                          "> Preset Pack Options", "  Import...", "  Create...", "  Downloads & Info", "-",
                                          "Factory Presets:" };
    ASSERT_GE (items.size(), head.size());
    EXPECT_EQ (std::vector<std::string> (items.begin(), items.begin() + (long) head.size()), head);

    // Sub-folders come in the file system's order; one list of used texts
    // spans them, so the second "Soft" is told apart.
    const auto user = std::find (items.begin(), items.end(), "User Presets:");
    ASSERT_NE (user, items.end());
    const std::vector<std::string> userItems (user + 1, items.end());
    ASSERT_EQ (userItems.size(), 5u);
    EXPECT_EQ (userItems[0], "Warm");
    EXPECT_EQ (userItems[2], "  Soft");
    EXPECT_EQ (userItems[4], "  Soft (2)");
    EXPECT_EQ (std::set<std::string> ({ userItems[1], userItems[3] }), (std::set<std::string> { "> Keys", "> Pads" }));
    EXPECT_FALSE (selector->getWantsKeyboardFocus()); // arrows never reach the box
}

TEST_F (Selector, TheTextCarriesTheMarkerThroughChangesSavesLoadsNewAndUndo)
{
    const auto funboi = factoryId ("Funboi");
    choose (funboi);
    EXPECT_EQ (selector->getText(), "Funboi ");
    setPlain (processor, "Tone", 3);
    EXPECT_EQ (selector->getText(), "Funboi*");
    choose (funboi); // the loaded preset again: reloaded, unmarked
    EXPECT_EQ (selector->getText(), "Funboi ");
    EXPECT_EQ (selector->getSelectedId(), 0);

    const auto warm = idOf ("warm.pl11");
    choose (warm);
    EXPECT_EQ (selector->getText(), "Warm ");
    processor.undoManager->undo(); // the load of "Warm"
    EXPECT_EQ (selector->getText().trim(), "New");
    EXPECT_EQ (processor.presetManager.currentUserPreset, nullptr);

    choose (warm);
    setPlain (processor, "Tone", 64);
    EXPECT_EQ (selector->getText(), "Warm*");
    selector->triggerSave(); // a user preset: written without a dialog
    EXPECT_EQ (selector->getText(), "Warm ");
    EXPECT_FALSE (selector->isDialogOpen());
    PluginProcessor check;
    juce::MemoryBlock bytes;
    ASSERT_TRUE (presets().getChildFile ("warm.pl11").loadFileAsData (bytes));
    ASSERT_TRUE (check.loadPresetState (bytes));
    EXPECT_FLOAT_EQ (plainValue (check, "Tone"), 64.0f);

    choose (Command::newPreset);
    EXPECT_FLOAT_EQ (plainValue (processor, "Tone"), 75.0f);
    EXPECT_EQ (processor.presetManager.currentUserPreset, nullptr);
}

TEST_F (Selector, SaveAfterNewNeverOverwritesTheLastUserPreset)
{
    const auto warm = idOf ("warm.pl11");
    choose (warm);
    const auto before = presets().getChildFile ("warm.pl11").loadFileAsString();
    choose (Command::newPreset);
    setPlain (processor, "Tone", 1);

    selector->triggerSave(); // goes to Save as
    EXPECT_TRUE (selector->isDialogOpen());
    EXPECT_EQ (presets().getChildFile ("warm.pl11").loadFileAsString(), before);

    selector->launchOpen(); // ignored while the dialog is open
    EXPECT_TRUE (selector->isDialogOpen());
}

TEST_F (Selector, AFailedLoadChangesNothing)
{
    const auto warm = idOf ("warm.pl11");
    choose (warm);
    setPlain (processor, "Tone", 50);
    ASSERT_TRUE (presets().getChildFile ("Keys/soft.pl11").replaceWithText ("not a preset"));
    const auto broken = idOf ("Keys/soft.pl11");

    choose (broken);
    EXPECT_EQ (processor.presetManager.selectedId, warm);
    EXPECT_EQ (processor.presetManager.currentUserPreset->file, presets().getChildFile ("warm.pl11"));
    EXPECT_TRUE (processor.presetModified.load());
    EXPECT_EQ (selector->getText(), "Warm*");
    EXPECT_FLOAT_EQ (plainValue (processor, "Tone"), 50.0f);
}

TEST_F (Selector, TheArrowsWrapAndStartFromNothing)
{
    PresetScroller scroller (lookAndFeel, *selector);
    processor.presetManager.selectedId = -1;
    scroller.buttonClicked (&scroller.rightButton);
    EXPECT_EQ (processor.presetManager.selectedId, 10);

    processor.presetManager.selectedId = -1;
    scroller.buttonClicked (&scroller.leftButton);
    EXPECT_EQ (processor.presetManager.selectedId, processor.presetManager.nextId - 1);

    scroller.buttonClicked (&scroller.rightButton); // past the last: the first
    EXPECT_EQ (processor.presetManager.selectedId, 10);
}

TEST_F (Selector, SaveAsSavesFirstThenAdoptsInsideOrKeepsOutside)
{
    setPlain (processor, "Tone", 33);
    const auto fresh = presets().getChildFile ("Pads/new_lead.pl11");
    selector->saveAsChosen (fresh);
    ASSERT_TRUE (fresh.existsAsFile());
    ASSERT_NE (processor.presetManager.currentUserPreset, nullptr);
    EXPECT_EQ (processor.presetManager.currentUserPreset->file, fresh);
    EXPECT_EQ (processor.presetManager.selectedId, processor.presetManager.getPreset (fresh)->id);
    EXPECT_EQ (selector->getText(), "New lead ");

    // A file that cannot be written: nothing is adopted, nothing left behind.
    const auto before = processor.presetManager.selectedId;
    const juce::File unwritable ("/proc/palimpsester-new.pl11");
    selector->saveAsChosen (unwritable);
    EXPECT_FALSE (unwritable.exists());
    EXPECT_EQ (processor.presetManager.selectedId, before);
    EXPECT_EQ (processor.presetManager.currentUserPreset->file, fresh);

    // Outside the presets folder: saved, and kept as the external preset.
    TemporaryFolder outside ("selector-outside");
    const auto external = outside.folder.getChildFile ("elsewhere.pl11");
    selector->saveAsChosen (external);
    ASSERT_TRUE (external.existsAsFile());
    EXPECT_EQ (processor.presetManager.currentUserPreset, processor.presetManager.externalPreset.get());
    EXPECT_EQ (selector->getText(), "Elsewhere ");

    selector->saveAsChosen (juce::File()); // cancelled
    EXPECT_EQ (selector->getText(), "Elsewhere ");
}

TEST_F (Selector, OpenTakesOnlyPresetsOfThisPlugIn)
{
    TemporaryFolder outside ("selector-open");
    const auto foreign = outside.folder.getChildFile ("foreign.pl11");
    ASSERT_TRUE (foreign.replaceWithText ("not a preset"));
    const auto before = processor.presetManager.selectedId;
    selector->openChosen (foreign);
    EXPECT_EQ (processor.presetManager.selectedId, before);
    EXPECT_EQ (processor.presetManager.currentUserPreset, nullptr);

    const auto inside = presets().getChildFile ("Keys/soft.pl11");
    selector->openChosen (inside);
    EXPECT_EQ (processor.presetManager.currentUserPreset->file, inside);
    EXPECT_FLOAT_EQ (plainValue (processor, "Tone"), 20.0f);
}

TEST_F (Selector, PacksAreCreatedOnlyFromListedFoldersAndImportedIntoNewOnes)
{
    TemporaryFolder outside ("selector-packs");
    selector->packSourceChosen (outside.folder); // not a folder of the library
    EXPECT_FALSE (selector->isDialogOpen());

    ASSERT_NE (processor.presetManager.getCategory (presets().getChildFile ("Pads")), nullptr);
    selector->packSourceChosen (presets().getChildFile ("Pads"));
    EXPECT_TRUE (selector->isDialogOpen()); // the target dialog
    selector->packTargetChosen (outside.folder.getChildFile ("Pads_pack"));
    const auto pack = outside.folder.getChildFile ("Pads_pack.pl11_pack");
    ASSERT_TRUE (pack.existsAsFile());

    selector->unpackChosen (pack);
    const auto imported = presets().getChildFile ("Pads_pack/soft.pl11");
    EXPECT_TRUE (imported.existsAsFile());
    EXPECT_NE (processor.presetManager.getPreset (imported), nullptr); // listed at once
}
} // namespace
