#include "../support/ProcessorProbes.h"
#include <gtest/gtest.h>

#include <cstring>

namespace
{
juce::MemoryBlock stateOf (PluginProcessor& processor, bool includePresetInfo = true)
{
    juce::MemoryBlock block;
    processor.getStateData (block, includePresetInfo);
    return block;
}

juce::String xmlTextOf (const juce::MemoryBlock& block)
{
    return juce::String::fromUTF8 (static_cast<const char*> (block.getData()) + 8, (int) block.getSize() - 9);
}

juce::MemoryBlock blockWithText (const juce::String& text)
{
    juce::MemoryBlock block;
    juce::MemoryOutputStream out (block, false);
    out.writeInt (0x21324356);
    out.writeInt ((int) text.getNumBytesAsUTF8() + 1);
    out << text;
    out.writeByte (0);
    out.flush();
    return block;
}

void changeSomeParameters (PluginProcessor& processor)
{
    setPlain (processor, "Mode", 1);
    setPlain (processor, "Tone", 33.3f);
    setPlain (processor, "2- N Segs", 7);
    setPlain (processor, "3- Seg Size", 41.5f);
    setPlain (processor, "3- Seg Mix", 120);
}

std::vector<float> valuesOf (PluginProcessor& processor)
{
    std::vector<float> values;
    for (const auto& id : ModelTree::canonicalIds())
        values.push_back (processor.tree.parameter (id)->getValue());
    return values;
}

TEST (StateDocument, BlockLayoutAndAttributes)
{
    PluginProcessor processor;
    const auto block = stateOf (processor);
    const auto* bytes = static_cast<const juce::uint8*> (block.getData());

    EXPECT_EQ (juce::ByteOrder::littleEndianInt (bytes), 0x21324356u);
    EXPECT_EQ (juce::ByteOrder::littleEndianInt (bytes + 4), (juce::uint32) block.getSize() - 9);
    EXPECT_EQ (bytes[block.getSize() - 1], 0);

    const auto text = xmlTextOf (block);
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <Pl11 "));
    EXPECT_FALSE (text.containsChar ('\n'));

    const auto xml = juce::parseXML (text);
    ASSERT_NE (xml, nullptr);
    const juce::StringArray expectedAttributes { "CompanyName", "ProductNameWithoutVersion", "ProductVersion", "LoadedPreset", "LoadedPresetModified" };
    juce::StringArray attributes;
    for (int i = 0; i < xml->getNumAttributes(); ++i)
        attributes.add (xml->getAttributeName (i));
    EXPECT_EQ (attributes, expectedAttributes);
    EXPECT_EQ (xml->getStringAttribute ("CompanyName"), "Quillmark");
    EXPECT_EQ (xml->getStringAttribute ("ProductVersion"), "1.1.3");
    EXPECT_EQ (xml->getStringAttribute ("LoadedPresetModified"), "0");
    EXPECT_EQ (xml->getNumChildElements(), 11);
    EXPECT_DOUBLE_EQ (xml->getChildByAttribute ("id", "1- Seg Mix")->getDoubleAttribute ("value"), 100.0);

    const auto presetFile = juce::parseXML (xmlTextOf (stateOf (processor, false)));
    EXPECT_FALSE (presetFile->hasAttribute ("LoadedPreset"));
    EXPECT_FALSE (presetFile->hasAttribute ("LoadedPresetModified"));
}

TEST (StateDocument, RoundTripThroughASecondInstance)
{
    PluginProcessor first;
    changeSomeParameters (first);
    juce::MemoryBlock block;
    first.getStateInformation (block);

    PluginProcessor second;
    second.setStateInformation (block.getData(), (int) block.getSize());

    EXPECT_EQ (valuesOf (second), valuesOf (first));
    EXPECT_TRUE (second.stateLoaded);
    EXPECT_FALSE (second.tree.undoManager.canUndo());
    EXPECT_EQ (second.dsp.mode.index.load(), 1);
    EXPECT_EQ (second.dsp.stages[1]->numSegments.value.load(), 7);
}

struct MalformedCase
{
    const char* name;
    std::function<juce::MemoryBlock (const juce::MemoryBlock&)> damage;
};

class MalformedBlocks : public testing::TestWithParam<MalformedCase> {};

TEST_P (MalformedBlocks, AreRefusedWithNothingChanged)
{
    PluginProcessor source;
    changeSomeParameters (source);
    const auto damaged = GetParam().damage (stateOf (source));

    PluginProcessor processor;
    setPlain (processor, "Tone", 12);
    processor.tree.undoManager.beginNewTransaction();
    processor.tree.state.setProperty ("marker", 1, &processor.tree.undoManager);
    const auto before = valuesOf (processor);

    EXPECT_FALSE (processor.setFromStateData (damaged.getData(), (int) damaged.getSize()));
    EXPECT_EQ (valuesOf (processor), before);
    EXPECT_TRUE (processor.tree.undoManager.canUndo());
    EXPECT_FALSE (processor.stateLoaded);
}

juce::MemoryBlock withInt (juce::MemoryBlock block, int offset, juce::uint32 value)
{
    auto* bytes = static_cast<juce::uint8*> (block.getData()) + offset;
    for (int i = 0; i < 4; ++i)
        bytes[i] = (juce::uint8) (value >> (8 * i));
    return block;
}

INSTANTIATE_TEST_SUITE_P (Table, MalformedBlocks, testing::Values (
    MalformedCase { "Empty", [] (const juce::MemoryBlock&) { return juce::MemoryBlock(); } },
    MalformedCase { "EightBytes", [] (const juce::MemoryBlock& b) { return juce::MemoryBlock (b.getData(), 8); } },
    MalformedCase { "WrongMagic", [] (const juce::MemoryBlock& b) { return withInt (b, 0, 0x21324357); } },
    MalformedCase { "LengthZero", [] (const juce::MemoryBlock& b) { return withInt (b, 4, 0); } },
    MalformedCase { "LengthNegative", [] (const juce::MemoryBlock& b) { return withInt (b, 4, 0xfffffff0u); } },
    MalformedCase { "NotXml", [] (const juce::MemoryBlock&) { return blockWithText ("this is not XML at all"); } },
    MalformedCase { "WrongRoot", [] (const juce::MemoryBlock&) { return blockWithText ("<Other><PARAM id=\"Tone\" value=\"3\"/></Other>"); } },
    MalformedCase { "Truncated", [] (const juce::MemoryBlock& b) { return juce::MemoryBlock (b.getData(), 40); } }),
    [] (const testing::TestParamInfo<MalformedCase>& testCase) { return std::string (testCase.param.name); });

TEST (StateDocument, RootNameIsComparedWithoutCaseAndLengthIsClipped)
{
    PluginProcessor processor;
    auto block = blockWithText ("<pl11><PARAM id=\"Tone\" value=\"20\"/></pl11>");
    block = withInt (block, 4, 100000);

    ASSERT_TRUE (processor.setFromStateData (block.getData(), (int) block.getSize()));
    EXPECT_FLOAT_EQ (plainValue (processor, "Tone"), 20.0f);
    EXPECT_TRUE (xmlTextOf (stateOf (processor)).contains ("<Pl11 "));
}

TEST (StateDocument, ValuesThatAreNotValidNumbersCannotReachTheDsp)
{
    PluginProcessor processor;
    const auto block = blockWithText ("<Pl11>"
                                      "<PARAM id=\"Tone\" value=\"nan\"/>"
                                      "<PARAM id=\"1- Seg Size\" value=\"inf\"/>"
                                      "<PARAM id=\"2- Seg Size\" value=\"-1e30\"/>"
                                      "<PARAM id=\"1- Seg Mix\" value=\"lots\"/>"
                                      "<PARAM id=\"3- N Segs\" value=\"1e9\"/>"
                                      "<PARAM id=\"2- Seg Mix\" value=\"60\"/>"
                                      "</Pl11>");

    ASSERT_TRUE (processor.setFromStateData (block.getData(), (int) block.getSize()));

    EXPECT_FLOAT_EQ (plainValue (processor, "Tone"), 75.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "1- Seg Size"), 48.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "2- Seg Size"), 1.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "1- Seg Mix"), 100.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "3- N Segs"), 91.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "2- Seg Mix"), 60.0f);

    for (auto& stage : processor.dsp.stages)
    {
        EXPECT_TRUE (std::isfinite (stage->segmentSize.target));
        EXPECT_TRUE (std::isfinite (stage->mix.target));
        EXPECT_TRUE (std::isfinite (stage->toneFilter.tone.value.load()));
    }
}

/** A document that names only some parameters, or none: the others take
    their defaults, and every document written afterwards names every
    parameter with its value. */
TEST (StateDocument, APartialDocumentIsCompletedWithDefaults)
{
    PluginProcessor processor;
    changeSomeParameters (processor);
    const auto block = blockWithText ("<Pl11><PARAM id=\"2- Seg Mix\" value=\"60\"/></Pl11>");
    ASSERT_TRUE (processor.setFromStateData (block.getData(), (int) block.getSize()));

    EXPECT_FLOAT_EQ (plainValue (processor, "2- Seg Mix"), 60.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "Tone"), 75.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "Mode"), 0.0f);

    const auto written = stateOf (processor);
    const auto xml = juce::parseXML (xmlTextOf (written));
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getNumChildElements(), 11);
    for (auto* param : xml->getChildIterator())
        EXPECT_TRUE (param->hasAttribute ("value")) << param->getStringAttribute ("id");

    // Written out and read back, the document stays as it is.
    ASSERT_TRUE (processor.setFromStateData (written.getData(), (int) written.getSize()));
    EXPECT_EQ (stateOf (processor), written);
}

/** An attribute or a parameter that a document names twice: the first
    counts, and the document written from it stays the same when read back
    (found by fuzzing). */
TEST (StateDocument, RepetitionsInADocumentCountOnce)
{
    PluginProcessor processor;
    const auto block = blockWithText ("<Pl11 Extra=\"a\" Extra=\"b\">"
                                      "<PARAM id=\"2- Seg Size\" value=\"nonsense\" value=\"85\"/>"
                                      "<PARAM id=\"Tone\" value=\"20\"/>"
                                      "<PARAM id=\"Tone\" value=\"90\"/>"
                                      "</Pl11>");
    ASSERT_TRUE (processor.setFromStateData (block.getData(), (int) block.getSize()));

    EXPECT_FLOAT_EQ (plainValue (processor, "2- Seg Size"), 11.0f); // "nonsense": the default
    EXPECT_FLOAT_EQ (plainValue (processor, "Tone"), 20.0f);

    const auto written = stateOf (processor);
    const auto xml = juce::parseXML (xmlTextOf (written));
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getStringAttribute ("Extra"), "a");
    EXPECT_EQ (xml->getNumChildElements(), 11);

    ASSERT_TRUE (processor.setFromStateData (written.getData(), (int) written.getSize()));
    EXPECT_EQ (stateOf (processor), written);
}

/** Text that is not valid UTF-8 (a character cut off at the end, a stray
    continuation byte) is refused before it is parsed, and nothing changes
    (found by fuzzing: the framework's parser read past such a text). */
TEST (StateDocument, TextThatIsNotUtf8IsRefused)
{
    for (const char* tail : { "\xde", "\xe2\x82", "\x80" })
    {
        PluginProcessor processor;
        setPlain (processor, "Tone", 30);
        const auto before = stateOf (processor);

        auto block = blockWithText ("<?xml version=\"1.0\"?><Pl11><PARAM id=\"Tone\" value=\"20\"/></Pl11>");
        block.removeSection (block.getSize() - 1, 1);        // the closing zero byte
        block.append (tail, std::strlen (tail));
        EXPECT_FALSE (processor.setFromStateData (block.getData(), (int) block.getSize()));
        EXPECT_EQ (stateOf (processor), before);
    }
}

TEST (StateDocument, ARestoredPresetRecordIsCarriedAlong)
{
    PluginProcessor processor;
    const auto block = blockWithText ("<Pl11 LoadedPreset=\"\" LoadedPresetModified=\"1\" Extra=\"kept\"><PARAM id=\"Tone\" value=\"20\"/></Pl11>");
    ASSERT_TRUE (processor.setFromStateData (block.getData(), (int) block.getSize()));

    const auto xml = juce::parseXML (xmlTextOf (stateOf (processor, false)));
    EXPECT_EQ (xml->getStringAttribute ("Extra"), "kept");
    EXPECT_TRUE (xml->hasAttribute ("LoadedPresetModified"));
}

TEST (StateDocument, RestoringClearsTheUndoHistory)
{
    PluginProcessor processor;
    processor.tree.undoManager.beginNewTransaction();
    processor.tree.state.setProperty ("marker", 1, &processor.tree.undoManager);
    ASSERT_TRUE (processor.tree.undoManager.canUndo());

    const auto block = stateOf (processor);
    ASSERT_TRUE (processor.setFromStateData (block.getData(), (int) block.getSize()));
    EXPECT_FALSE (processor.tree.undoManager.canUndo());
    EXPECT_FALSE (processor.tree.undoManager.canRedo());
}

TEST (StateDocument, InitDefaultResetsParametersAndTheModifiedFlag)
{
    PluginProcessor processor;
    DisplayRecorder display;
    processor.display = &display;
    changeSomeParameters (processor);
    ASSERT_TRUE (processor.presetModified.load());

    processor.initDefault();
    for (const auto& id : ModelTree::canonicalIds())
        EXPECT_EQ (processor.tree.parameter (id)->getValue(), processor.tree.parameter (id)->getDefaultValue()) << id;
    EXPECT_FALSE (processor.presetModified.load());
    EXPECT_EQ (display.shown.back(), false);
    processor.display = nullptr;
}
} // namespace
