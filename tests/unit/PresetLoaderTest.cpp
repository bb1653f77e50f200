#include "../support/ProcessorProbes.h"
#include <gtest/gtest.h>

namespace
{
using juce::vorn_gui::applyBitShift;

juce::MemoryBlock bytes (std::initializer_list<int> values)
{
    juce::MemoryBlock block;
    for (auto v : values)
        block.append (&v, 1);
    return block;
}

TEST (BitShift, KnownValues)
{
    auto block = bytes ({ 0x01 });
    applyBitShift (block, 5);
    EXPECT_EQ (block, bytes ({ 0x20 }));

    block = bytes ({ 0x80 });
    applyBitShift (block, 1);
    EXPECT_EQ (block, bytes ({ 0x00, 0x01 }));

    block = bytes ({ 0x00, 0x01 });
    applyBitShift (block, -1);
    EXPECT_EQ (block, bytes ({ 0x80 }));

    block = bytes ({ 0x07 });
    applyBitShift (block, -2);
    EXPECT_EQ (block, bytes ({ 0x01 }));
}

TEST (BitShift, RoundTripsDropOnlyTrailingZeroBytes)
{
    juce::Random random (4);

    for (int size : { 1, 2, 9, 300, 4096 })
        for (int trailingZeros : { 0, 1, 3 })
        {
            juce::MemoryBlock block;
            for (int i = 0; i < size; ++i)
            {
                const auto b = (juce::uint8) (i == size - 1 ? 1 + random.nextInt (255) : random.nextInt (256));
                block.append (&b, 1);
            }
            const auto expected = block;
            block.append (juce::MemoryBlock ((size_t) trailingZeros, true).getData(), (size_t) trailingZeros);

            applyBitShift (block, 5);
            applyBitShift (block, -5);
            EXPECT_EQ (block, expected) << size << " bytes, " << trailingZeros << " zeros";
        }

    juce::MemoryBlock zeros (16, true);
    applyBitShift (zeros, 5);
    EXPECT_TRUE (zeros.isEmpty());
}

/** A preset file's bytes, made from a processor whose parameters were set by
    `configure`. */
juce::MemoryBlock presetFile (std::function<void (PluginProcessor&)> configure)
{
    PluginProcessor source;
    configure (source);
    juce::MemoryBlock block;
    source.getStateData (block, false);
    applyBitShift (block, source.create_BIT_SHIFT());
    return block;
}

class Loader : public testing::Test
{
protected:
    void SetUp() override { processor.display = &display; }
    void TearDown() override { processor.display = nullptr; }

    PluginProcessor processor;
    DisplayRecorder display;
    juce::MemoryBlock presetA = presetFile ([] (PluginProcessor& p) { setPlain (p, "Tone", 10); setPlain (p, "2- Seg Mix", 30); });
    juce::MemoryBlock presetB = presetFile ([] (PluginProcessor& p) { setPlain (p, "Tone", 90); setPlain (p, "Mode", 1); });
};

TEST_F (Loader, LoadIsOneStepWhoseUndoRestoresAndLeavesNothingToRedo)
{
    // Through the framework's own type, as the tree and the loader hold it.
    juce::UndoManager& history = *processor.undoManager;
    auto edit = [this, &history] (const char* property)
    {
        history.beginNewTransaction();
        processor.tree.state.setProperty (property, 1, &history);
    };

    setPlain (processor, "Tone", 55);
    auto data = presetA;
    ASSERT_TRUE (processor.loadPresetState (data));
    EXPECT_FLOAT_EQ (plainValue (processor, "Tone"), 10.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "2- Seg Mix"), 30.0f);
    EXPECT_TRUE (history.canUndo());

    ASSERT_TRUE (history.undo());
    EXPECT_FLOAT_EQ (plainValue (processor, "Tone"), 55.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "2- Seg Mix"), 0.0f);
    EXPECT_FALSE (history.canUndo());
    EXPECT_FALSE (history.canRedo());
    EXPECT_EQ (display.newPresetSelections, 1);

    // The history starts again with the next edits, which undo one by one
    // and stay in the history through later undos.
    edit ("first");
    edit ("second");
    EXPECT_TRUE (history.undo());
    EXPECT_FALSE (processor.tree.state.hasProperty ("second"));
    EXPECT_TRUE (history.canUndo());
    EXPECT_TRUE (history.undo());
    EXPECT_FALSE (processor.tree.state.hasProperty ("first"));
    EXPECT_TRUE (history.redo());
    EXPECT_TRUE (history.redo());
    EXPECT_TRUE (processor.tree.state.hasProperty ("second"));
}

TEST_F (Loader, UndoAfterTwoLoadsReturnsToTheFirstPreset)
{
    auto a = presetA, b = presetB;
    ASSERT_TRUE (processor.loadPresetState (a));
    ASSERT_TRUE (processor.loadPresetState (b));
    EXPECT_FLOAT_EQ (plainValue (processor, "Tone"), 90.0f);

    ASSERT_TRUE (processor.tree.undoManager.undo());
    EXPECT_FLOAT_EQ (plainValue (processor, "Tone"), 10.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "Mode"), 0.0f);
    EXPECT_FALSE (processor.tree.undoManager.canUndo());
}

TEST_F (Loader, ForeignBytesAreRefusedWithNothingChanged)
{
    setPlain (processor, "Tone", 44);
    processor.tree.undoManager.beginNewTransaction();
    processor.tree.state.setProperty ("edit", 1, &processor.tree.undoManager);

    const char zipHeader[] = "PK\x03\x04 not a preset at all";
    juce::MemoryBlock foreign (zipHeader, sizeof (zipHeader) - 1);
    EXPECT_FALSE (processor.loadPresetState (foreign));
    EXPECT_FLOAT_EQ (plainValue (processor, "Tone"), 44.0f);
    EXPECT_TRUE (processor.tree.undoManager.canUndo());
}

TEST_F (Loader, SavedFilesLoadBackAndClearTheMarker)
{
    const juce::TemporaryFile temporary (".pl11");
    const auto file = temporary.getFile();
    ASSERT_TRUE (file.create());

    setPlain (processor, "3- N Segs", 64);
    ASSERT_TRUE (processor.presetModified.load());
    display.shown.clear();

    ASSERT_TRUE (processor.savePresetState (file));
    EXPECT_FALSE (processor.presetModified.load());
    EXPECT_EQ (display.shown, std::vector<bool> { false });

    juce::MemoryBlock expected;
    processor.getStateData (expected, false);
    applyBitShift (expected, processor.create_BIT_SHIFT());
    juce::MemoryBlock written;
    ASSERT_TRUE (file.loadFileAsData (written));
    EXPECT_EQ (written, expected);

    PluginProcessor other;
    ASSERT_TRUE (other.loadPresetState (written));
    EXPECT_FLOAT_EQ (plainValue (other, "3- N Segs"), 64.0f);
}

TEST_F (Loader, AFailedSaveRestoresTheFlagSilently)
{
    setPlain (processor, "Tone", 20);
    display.shown.clear();

    // A file that exists but next to which nothing can be written, even as
    // the superuser.
    const juce::File unwritable ("/proc/version");
    ASSERT_TRUE (unwritable.existsAsFile());

    EXPECT_FALSE (processor.savePresetState (unwritable));
    EXPECT_TRUE (processor.presetModified.load());
    EXPECT_EQ (display.shown, std::vector<bool> { false });
}

/** A loader whose state cannot be serialised. */
struct EmptyStateLoader : juce::vorn_gui::PresetManager::PresetLoader,
                          juce::vorn_gui::FileServerManager::KeyMaker
{
    EmptyStateLoader() { keyMaker = this; }
    void getStateData (juce::MemoryBlock& destination, bool) override { destination.reset(); }
    bool setFromStateData (const void*, int) override { return false; }
    void initDefault() override {}
    int create_BIT_SHIFT() const override { return 5; }
};

TEST (PresetSave, AStateThatCannotBeSerialisedLeavesTheUsersFileAndFails)
{
    const juce::TemporaryFile temporary (".pl11");
    const auto file = temporary.getFile();
    ASSERT_TRUE (file.replaceWithText ("the user's preset"));

    EmptyStateLoader loader;
    loader.presetModified = true;
    EXPECT_FALSE (loader.savePresetState (file));
    EXPECT_EQ (file.loadFileAsString(), "the user's preset");
    EXPECT_TRUE (loader.presetModified.load());
}

TEST_F (Loader, SavingToAMissingFileOrAFolderWritesNothing)
{
    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("loader", "");
    ASSERT_TRUE (folder.createDirectory());
    const auto gone = folder.getChildFile ("deleted.pl11");

    setPlain (processor, "Tone", 20);
    EXPECT_FALSE (processor.savePresetState (gone));
    EXPECT_FALSE (processor.savePresetState (folder));
    EXPECT_FALSE (processor.savePresetState (juce::File()));
    EXPECT_FALSE (gone.exists());
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);
    EXPECT_TRUE (processor.presetModified.load());
    folder.deleteRecursively();
}
} // namespace
