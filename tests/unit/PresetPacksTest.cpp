// Preset packs: hostile archives write nothing outside the new import
// folder and nothing but presets inside it; packs are written whole or not
// at all, and read back to the same files.
#include "../support/ProcessorProbes.h"
#include "../support/TemporaryFolder.h"
#include <gtest/gtest.h>

namespace
{
using namespace juce::vorn_gui;

/** One entry of a crafted archive: stored, optionally as a symbolic link. */
struct Entry
{
    std::string name, data;
    bool symlink = false;
};

juce::uint32 crc32 (const std::string& data)
{
    juce::uint32 crc = 0xffffffffu;
    for (auto byte : data)
    {
        crc ^= (juce::uint8) byte;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

/** A zip archive written byte by byte, as an attacker would, with any names
    and entry types. */
juce::MemoryBlock craftZip (const std::vector<Entry>& entries)
{
    juce::MemoryOutputStream out, central;
    for (const auto& e : entries)
    {
        const auto offset = (int) out.getPosition();
        const auto crc = crc32 (e.data);
        const auto size = (int) e.data.size();

        out.writeInt (0x04034b50); out.writeShort (20); out.writeShort (0); out.writeShort (0);
        out.writeShort (0); out.writeShort (0x21); out.writeInt ((int) crc); out.writeInt (size); out.writeInt (size);
        out.writeShort ((short) e.name.size()); out.writeShort (0);
        out.write (e.name.data(), e.name.size()); out.write (e.data.data(), e.data.size());

        central.writeInt (0x02014b50); central.writeShort (0x031e); central.writeShort (20); central.writeShort (0);
        central.writeShort (0); central.writeShort (0); central.writeShort (0x21); central.writeInt ((int) crc);
        central.writeInt (size); central.writeInt (size); central.writeShort ((short) e.name.size());
        central.writeShort (0); central.writeShort (0); central.writeShort (0); central.writeShort (0);
        central.writeInt (e.symlink ? (int) 0xa1ff0000u : (int) 0x81a40000u); central.writeInt (offset);
        central.write (e.name.data(), e.name.size());
    }

    const auto centralOffset = (int) out.getPosition();
    out << central.getMemoryBlock();
    out.writeInt (0x06054b50); out.writeShort (0); out.writeShort (0);
    out.writeShort ((short) entries.size()); out.writeShort ((short) entries.size());
    out.writeInt ((int) central.getDataSize()); out.writeInt (centralOffset); out.writeShort (0);
    return out.getMemoryBlock();
}

/** Every file below `folder`, as sorted relative paths. */
std::vector<std::string> filesBelow (const juce::File& folder)
{
    std::vector<std::string> found;
    for (const auto& file : folder.findChildFiles (juce::File::findFiles, true, "*", juce::File::FollowSymlinks::no))
        found.push_back (file.getRelativePathFrom (folder).toStdString());
    std::sort (found.begin(), found.end());
    return found;
}

struct PackCase
{
    const char* name;
    std::vector<Entry> entries;
    std::vector<std::string> imported; // below the new folder
};

class HostilePacks : public testing::TestWithParam<PackCase> {};

TEST_P (HostilePacks, WriteOnlyPresetsAndOnlyIntoTheNewFolder)
{
    const auto& p = GetParam();
    TemporaryFolder root ("packs");
    const auto presets = root.folder.getChildFile ("Presets");
    const auto outside = root.folder.getChildFile ("outside");
    ASSERT_TRUE (presets.createDirectory() && outside.createDirectory());

    auto entries = p.entries;
    for (auto& e : entries) // "@OUTSIDE@" stands for the real folder beside the presets
        e.data = juce::String (e.data).replace ("@OUTSIDE@", outside.getFullPathName()).toStdString();

    const auto archive = root.folder.getChildFile ("Warm_pads.pl11_pack");
    ASSERT_TRUE (archive.replaceWithData (craftZip (entries).getData(), craftZip (entries).getSize()));

    const auto folder = presetPacks::importPack (archive, presets, ".pl11");

    if (p.imported.empty())
    {
        EXPECT_EQ (folder, juce::File()) << p.name;
        EXPECT_TRUE (filesBelow (presets).empty()) << p.name;
    }
    else
    {
        EXPECT_EQ (folder, presets.getChildFile ("Warm_pads")) << p.name;
        EXPECT_EQ (filesBelow (folder), p.imported) << p.name;
    }

    EXPECT_TRUE (filesBelow (outside).empty()) << p.name;
    EXPECT_FALSE (juce::File ("/tmp/palimpsester-pack-escape.pl11").exists()) << p.name;
    EXPECT_EQ (filesBelow (root.folder).size(), 1 + filesBelow (presets).size()) << p.name; // the archive itself
}

std::vector<Entry> manyEntries (int count)
{
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back ({ "p" + std::to_string (i) + ".pl11", "x" });
    return entries;
}

INSTANTIATE_TEST_SUITE_P (Table, HostilePacks, testing::Values (
    PackCase { "Presets", { { "warm.pl11", "a" }, { "Pads/soft.pl11", "b" } }, { "Pads/soft.pl11", "warm.pl11" } },
    PackCase { "ClimbingName", { { "../escape.pl11", "x" }, { "ok.pl11", "y" } }, { "ok.pl11" } },
    PackCase { "ClimbingInside", { { "a/../../escape.pl11", "x" } }, {} },
    PackCase { "AbsoluteName", { { "/tmp/palimpsester-pack-escape.pl11", "x" } }, {} },
    PackCase { "DriveLetter", { { "C:/escape.pl11", "x" }, { "C:escape.pl11", "x" } }, {} },
    PackCase { "Backslashes", { { "..\\escape.pl11", "x" }, { "Pads\\soft.pl11", "x" } }, {} },
    PackCase { "LinkThenFileThroughIt", { { "link", "@OUTSIDE@", true }, { "link/escape.pl11", "x" } }, { "link/escape.pl11" } },
    PackCase { "LinkNamedLikeAPreset", { { "soft.pl11", "@OUTSIDE@", true } }, {} },
    PackCase { "HugeEntry", { { "huge.pl11", std::string ((1 << 20) + 1, 'x') }, { "small.pl11", "y" } }, { "small.pl11" } },
    PackCase { "TooManyEntries", manyEntries (1001), {} },
    PackCase { "NotPresets", { { "readme.txt", "x" }, { "run.sh", "x" }, { ".pl11", "x" } }, {} },
    PackCase { "TooDeep", { { "a/b/c/d/deep.pl11", "x" }, { "a/b/c/ok.pl11", "y" } }, { "a/b/c/ok.pl11" } },
    PackCase { "FolderEntries", { { "Pads/", "" }, { "Pads/soft.pl11", "b" } }, { "Pads/soft.pl11" } }),
    [] (const testing::TestParamInfo<PackCase>& testCase) { return std::string (testCase.param.name); });

TEST (PresetPacks, AnImportNeverTouchesAFolderTheUserHas)
{
    TemporaryFolder root ("packs");
    const auto presets = root.folder.getChildFile ("Presets");
    const auto mine = presets.getChildFile ("Warm_pads/soft.pl11");
    ASSERT_TRUE (mine.create() && mine.replaceWithText ("mine"));

    const auto archive = root.folder.getChildFile ("Warm_pads.pl11_pack");
    const auto zip = craftZip ({ { "soft.pl11", "theirs" } });
    ASSERT_TRUE (archive.replaceWithData (zip.getData(), zip.getSize()));

    const auto folder = presetPacks::importPack (archive, presets, ".pl11");
    EXPECT_NE (folder, mine.getParentDirectory());
    EXPECT_EQ (folder.getChildFile ("soft.pl11").loadFileAsString(), "theirs");
    EXPECT_EQ (mine.loadFileAsString(), "mine");

    // Nothing to import into: no presets folder, a folder that is a link,
    // an archive whose name leaves nothing.
    EXPECT_EQ (presetPacks::importPack (archive, juce::File(), ".pl11"), juce::File());
    const auto link = root.folder.getChildFile ("LinkedPresets");
    ASSERT_TRUE (presets.createSymbolicLink (link, true));
    EXPECT_EQ (presetPacks::importPack (archive, link, ".pl11"), juce::File());
    const auto nameless = root.folder.getChildFile (".pl11_pack");
    ASSERT_TRUE (nameless.replaceWithData (zip.getData(), zip.getSize()));
    EXPECT_EQ (presetPacks::importPack (nameless, presets, ".pl11"), juce::File());
}

class PackRoundTrip : public testing::Test
{
protected:
    void SetUp() override
    {
        write ("warm.pl11", "warm preset");
        write ("Pads/soft.pl11", "soft preset");
        write ("Pads/notes.txt", "not a preset");
        ASSERT_TRUE (elsewhere.folder.getChildFile ("linked.bin").replaceWithText ("linked preset"));
        ASSERT_TRUE (elsewhere.folder.getChildFile ("linked.bin").createSymbolicLink (presets().getChildFile ("Pads/linked.pl11"), true));
        processor.presetManager.userRoot->scan (0);
    }

    void TearDown() override { presets().deleteRecursively(); }

    juce::File presets() const { return processor.presetManager.userRoot->folder; }

    void write (const juce::String& path, const juce::String& text)
    {
        const auto file = presets().getChildFile (path);
        ASSERT_TRUE (file.create() && file.replaceWithText (text));
    }

    PluginProcessor processor;
    TemporaryFolder elsewhere { "pack-source" }, target { "pack-target" };
};

TEST_F (PackRoundTrip, APackReadsBackToTheSameFilesWithLinksStoredAsFiles)
{
    const auto pack = target.folder.getChildFile ("Everything"); // the suffix is added
    ASSERT_TRUE (presetPacks::createPack (*processor.presetManager.userRoot, pack, ".pl11_pack"));
    const auto written = pack.withFileExtension (".pl11_pack");
    ASSERT_TRUE (written.existsAsFile());

    juce::ZipFile zip (written);
    ASSERT_EQ (zip.getNumEntries(), 3);
    for (int i = 0; i < zip.getNumEntries(); ++i)
        EXPECT_FALSE (zip.getEntry (i)->isSymbolicLink) << zip.getEntry (i)->filename;
    EXPECT_NE (zip.getEntry ("Pads/soft.pl11"), nullptr);

    const auto into = target.folder.getChildFile ("Presets");
    ASSERT_TRUE (into.createDirectory());
    const auto folder = presetPacks::importPack (written, into, ".pl11");
    EXPECT_EQ (filesBelow (folder), (std::vector<std::string> { "Pads/linked.pl11", "Pads/soft.pl11", "warm.pl11" }));
    EXPECT_EQ (folder.getChildFile ("Pads/linked.pl11").loadFileAsString(), "linked preset");
    EXPECT_FALSE (folder.getChildFile ("Pads/linked.pl11").isSymbolicLink());
}

TEST_F (PackRoundTrip, APresetThatCannotBeReadLeavesTheEarlierPackAsItWas)
{
    const auto pack = target.folder.getChildFile ("Everything.pl11_pack");
    ASSERT_TRUE (pack.replaceWithText ("the earlier pack"));
    ASSERT_TRUE (presets().getChildFile ("warm.pl11").deleteFile()); // removed after the scan

    EXPECT_FALSE (presetPacks::createPack (*processor.presetManager.userRoot, pack, ".pl11_pack"));
    EXPECT_EQ (pack.loadFileAsString(), "the earlier pack");
    EXPECT_EQ (target.folder.getNumberOfChildFiles (juce::File::findFiles), 1);
}
} // namespace
