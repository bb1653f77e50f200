#include <vorn_gui/vorn_gui.h>
#include "../support/TemporaryFolder.h"
#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
using juce::vorn_gui::FileServerManager;

class DataFolder : public testing::Test
{
protected:

    juce::File base (const char* name) const { return root.getChildFile (name); }
    static juce::File dataFolderIn (const juce::File& b) { return juce::File (b.getFullPathName() + FileServerManager::dataFolderName); }

    const TemporaryFolder temporary { "datafolder" };
    const juce::File root = temporary.folder;
};

TEST_F (DataFolder, TheFirstBaseThatHasTheFolderWins)
{
    for (auto* name : { "third", "fourth" })
        ASSERT_TRUE (dataFolderIn (base (name)).createDirectory());

    const FileServerManager manager ({ base ("first"), base ("second"), base ("third"), base ("fourth") });

    EXPECT_EQ (manager.dataFolder, dataFolderIn (base ("third")));
    EXPECT_EQ (manager.presetsFolder, dataFolderIn (base ("third")).getChildFile ("Presets"));
    // An existing data folder without presets folder gets one.
    EXPECT_TRUE (manager.presetsFolder.isDirectory());
    EXPECT_FALSE (base ("first").exists());
    EXPECT_FALSE (base ("second").exists());
}

TEST_F (DataFolder, WithoutOneItIsCreatedInTheFirstWritableBase)
{
    // Nothing can be created below /proc, not even by the superuser; each
    // such base costs its five attempts.
    const FileServerManager manager ({ juce::File ("/proc/palimpsester"), base ("second"), base ("third") });

    EXPECT_EQ (manager.dataFolder, dataFolderIn (base ("second")));
    EXPECT_TRUE (manager.presetsFolder.isDirectory());
    EXPECT_EQ (manager.dataFolder.getFullPathName(), base ("second").getFullPathName() + "/Quillmark/Palimpsester_v1-1");
    EXPECT_FALSE (base ("third").exists());
}

TEST_F (DataFolder, NoWritableBaseLeavesBothFoldersUnset)
{
    const FileServerManager manager (juce::Array<juce::File> { juce::File ("/proc/palimpsester") });
    EXPECT_EQ (manager.dataFolder, juce::File());
    EXPECT_EQ (manager.presetsFolder, juce::File());
}

TEST_F (DataFolder, CreateFileLeavesAnExistingFileAlone)
{
    const auto file = root.getChildFile ("deep/down/preset.pl11");
    EXPECT_TRUE (juce::vorn_gui::createFile (file, 5, 100));
    ASSERT_TRUE (file.replaceWithText ("content"));

    const auto start = juce::Time::getMillisecondCounter();
    EXPECT_TRUE (juce::vorn_gui::createFile (file, 5, 100));
    EXPECT_LT (juce::Time::getMillisecondCounter() - start, 100u);
    EXPECT_EQ (file.loadFileAsString(), "content");

    EXPECT_TRUE (juce::vorn_gui::createDirectory (root.getChildFile ("a/b"), 5, 100));
    EXPECT_FALSE (juce::vorn_gui::createFile (root.getChildFile ("a/b"), 1, 0));
}

TEST_F (DataFolder, BaseLocationsStayInTheUsersFoldersOrTheOverride)
{
    const auto* saved = std::getenv ("PALIMPSESTER_DATA_ROOT");
    const juce::String savedRoot (saved != nullptr ? saved : "");

    setenv ("PALIMPSESTER_DATA_ROOT", root.getFullPathName().toRawUTF8(), 1);
    EXPECT_EQ (FileServerManager::defaultBaseLocations(), juce::Array<juce::File> { root });

    unsetenv ("PALIMPSESTER_DATA_ROOT");
    const auto home = juce::File::getSpecialLocation (juce::File::userHomeDirectory);
   #if JUCE_LINUX
    setenv ("XDG_DATA_HOME", root.getChildFile ("xdg").getFullPathName().toRawUTF8(), 1);
    const auto bases = FileServerManager::defaultBaseLocations();
    unsetenv ("XDG_DATA_HOME");
    ASSERT_FALSE (bases.isEmpty());
    EXPECT_EQ (bases[0], root.getChildFile ("xdg"));
    for (const auto& b : bases)
        EXPECT_TRUE (b == root.getChildFile ("xdg") || b.isAChildOf (home) || b == home) << b.getFullPathName();
   #endif

    setenv ("PALIMPSESTER_DATA_ROOT", savedRoot.toRawUTF8(), 1);
}
} // namespace
