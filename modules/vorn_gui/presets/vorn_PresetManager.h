#pragma once

namespace juce::vorn_gui
{

/** The catalogue of presets: the factory presets carried inside the plug-in
    in a fixed category tree, and the user's ".pl11" files under the presets
    folder, listed by sub-folder. Hands out ids from one counter for both,
    remembers the selected id and the user file that Save writes to, steps
    through the presets and builds the selector's menu.

    Map entries are never erased while the processor lives, so pointers into
    the maps stay valid; entries whose file has vanished are skipped
    wherever files are used. Message thread, except for the state calls of
    a host thread, which hold `lock` like every other user of the fields. */
class PresetManager
{
public:
    class PresetLoader;

    struct FactoryPreset
    {
        int id = 0;
        String name;
        MemoryBlock data;
    };

    struct FactoryPresetCategory
    {
        /** Adds the presets, then a sub-menu per sub-category; records the
            texts used. */
        void addToMenu (PopupMenu& menu, StringArray& usedNames) const;

        String name;
        Array<FactoryPreset*> presets;
        Array<FactoryPresetCategory*> subCategories;
        PresetManager* manager = nullptr;
    };

    struct Preset
    {
        /** The file name without extension, "_" as spaces, the first
            character upper case. */
        static String titleFromFilename (const File& file);

        File file;
        String title;
        int id = -1;
    };

    struct PresetCategory
    {
        /** Lists the folder's preset files, and below depth 3 its folders. */
        void scan (int depth);

        /** Adds the presets whose files exist under texts not used yet,
            then a sub-menu per sub-folder. */
        void addToMenu (PopupMenu& menu, StringArray& usedNames) const;

        /** Adds the bytes of every listed preset, then those of the
            sub-categories, named by their paths relative to `base`. False
            when a preset cannot be read: the pack would be incomplete. */
        bool _addToPack (ZipFile::Builder& builder, const File& base) const;

        File folder;
        String title;
        Array<Preset*> presets;
        Array<PresetCategory*> subCategories;
        PresetManager* manager = nullptr;
    };

    /** Orders files by path, ignoring case. */
    struct FileOrder
    {
        bool operator() (const File& a, const File& b) const
        {
            return a.getFullPathName().compareIgnoreCase (b.getFullPathName()) < 0;
        }
    };

    using FactoryRegistrar = std::function<void (PresetManager&)>;

    /** Scans the user presets under `presetsFolder` (they take the first
        ids), then lets `registerFactoryPresets` add the factory tree. */
    PresetManager (PresetLoader* loaderToUse, const File& presetsFolder, const String& formatName, const FactoryRegistrar& registerFactoryPresets);

    FactoryPreset* _addFactoryPreset (const String& name, const void* data, size_t numBytes);
    FactoryPresetCategory* _addFactoryCategory (const String& name, const Array<FactoryPreset*>& presets);
    FactoryPresetCategory* _addFactoryCategory (const String& name, const Array<FactoryPresetCategory*>& subCategories, bool isRoot);

    Preset* addPreset (const File& file);
    PresetCategory* addCategory (const File& folder, int depth);
    Preset* getPreset (const File& file);
    PresetCategory* getCategory (const File& folder);
    void setExternalPreset (const File& file);

    /** The id previous (-1) or next (+1) selects, or -1 when there is none. */
    int selectionIdAfterInc (int step) const;

    /** Whether a factory preset has the id, or a user preset whose file
        exists. */
    bool isAvailable (int id) const;

    const FactoryPreset* factoryPresetWithId (int id) const;

    String fileExtension;
    String packExtension;
    PresetLoader* loader;
    int selectedId = -1;
    int nextId = 10;
    std::map<int, FactoryPreset> factoryPresets;
    std::map<String, FactoryPresetCategory> factoryCategories;
    FactoryPresetCategory* factoryRoot = nullptr;
    std::map<int, Preset> userPresets;
    std::map<File, Preset*, FileOrder> userPresetFiles;
    Preset* currentUserPreset = nullptr;
    std::map<File, PresetCategory, FileOrder> userCategories;
    PresetCategory* userRoot = nullptr;
    std::unique_ptr<Preset> externalPreset;
    std::minstd_rand randomEngine;

    /** Guards the fields above against the state calls of a host thread. */
    CriticalSection lock;

private:
    FactoryPresetCategory* storeFactoryCategory (FactoryPresetCategory category, bool isRoot);
};

} // namespace juce::vorn_gui
