namespace juce::vorn_gui
{
namespace
{
/** The minimal standard generator's seed from the system's random device. */
std::minstd_rand::result_type seedFromRandomDevice()
{
    uint32 value = 0;
    FileInputStream device (File ("/dev/urandom"));

    if (! (device.openedOk() && device.read (&value, sizeof (value)) == (int) sizeof (value)))
        value = (uint32) std::random_device{}();

    const auto seed = value % 2147483647u;
    return seed == 0 ? 1u : seed;
}

String extensionFor (const String& formatName)
{
    const auto lower = formatName.toLowerCase();
    return lower.startsWithChar ('.') ? lower : "." + lower;
}
} // namespace

//==============================================================================
String PresetManager::Preset::titleFromFilename (const File& file)
{
    // Everything from the last dot on goes, also for names that start with it.
    const auto name = file.getFileName();
    auto title = name.substring (0, name.lastIndexOfChar ('.') >= 0 ? name.lastIndexOfChar ('.') : name.length())
                     .replaceCharacter ('_', ' ');

    if (title.isNotEmpty())
        title = title.substring (0, 1).toUpperCase() + title.substring (1);

    return title;
}

void PresetManager::PresetCategory::scan (int depth)
{
    presets.clear();
    subCategories.clear();

    for (const auto& file : folder.findChildFiles (File::findFiles, false, "*" + manager->fileExtension))
        presets.add (manager->addPreset (file));

    if (depth > 2)
        return;

    for (const auto& child : folder.findChildFiles (File::findDirectories, false))
    {
        auto* category = manager->addCategory (child, depth + 1);
        subCategories.add (category);
        category->scan (depth + 1);
    }
}

void PresetManager::PresetCategory::addToMenu (PopupMenu& menu, StringArray& usedNames) const
{
    for (const auto* preset : presets)
    {
        if (preset->file.getFullPathName().isEmpty() || ! preset->file.existsAsFile())
            continue;

        auto text = preset->title;
        for (int n = 2; usedNames.contains (text, true); ++n)
            text = preset->title + " (" + String (n) + ")";

        menu.addItem (preset->id, text, true, false);
        usedNames.add (text);
    }

    for (const auto* category : subCategories)
    {
        PopupMenu subMenu;
        category->addToMenu (subMenu, usedNames);
        menu.addSubMenu (category->title, subMenu);
    }
}

void PresetManager::FactoryPresetCategory::addToMenu (PopupMenu& menu, StringArray& usedNames) const
{
    for (const auto* preset : presets)
    {
        menu.addItem (preset->id, preset->name, true, false);
        usedNames.add (preset->name);
    }

    for (const auto* category : subCategories)
    {
        PopupMenu subMenu;
        category->addToMenu (subMenu, usedNames);
        menu.addSubMenu (category->name.fromLastOccurrenceOf ("//", false, false), subMenu);
    }
}

//==============================================================================
PresetManager::PresetManager (PresetLoader* loaderToUse, const File& presetsFolder, const String& formatName,
                              const FactoryRegistrar& registerFactoryPresets)
    : fileExtension (extensionFor (formatName)),
      packExtension (fileExtension + "_pack"),
      loader (loaderToUse),
      randomEngine (seedFromRandomDevice())
{
    if (presetsFolder.isDirectory())
        userRoot = addCategory (presetsFolder, 0);

    if (registerFactoryPresets)
        registerFactoryPresets (*this);

    userRoot = addCategory (presetsFolder, 0);
}

PresetManager::FactoryPreset* PresetManager::_addFactoryPreset (const String& name, const void* data, size_t numBytes)
{
    const auto id = nextId++;
    auto& preset = factoryPresets[id];
    preset.id = id;
    preset.name = name;
    preset.data = MemoryBlock (data, numBytes);
    return &preset;
}

PresetManager::FactoryPresetCategory* PresetManager::_addFactoryCategory (const String& name, const Array<FactoryPreset*>& presets)
{
    FactoryPresetCategory category;
    category.name = name;
    category.presets = presets;
    return storeFactoryCategory (std::move (category), false);
}

PresetManager::FactoryPresetCategory* PresetManager::_addFactoryCategory (const String& name, const Array<FactoryPresetCategory*>& subCategories,
                                                                          bool isRoot)
{
    FactoryPresetCategory category;
    category.name = name;
    category.subCategories = subCategories;
    return storeFactoryCategory (std::move (category), isRoot);
}

PresetManager::FactoryPresetCategory* PresetManager::storeFactoryCategory (FactoryPresetCategory category, bool isRoot)
{
    category.manager = this;
    auto* stored = &factoryCategories.emplace (category.name, std::move (category)).first->second;

    if (isRoot)
        factoryRoot = stored;

    return stored;
}

PresetManager::Preset* PresetManager::addPreset (const File& file)
{
    if (auto* known = getPreset (file))
        return known;

    const auto id = nextId++;
    auto& preset = userPresets[id];
    preset.file = file;
    preset.title = Preset::titleFromFilename (file);
    preset.id = id;
    userPresetFiles[file] = &preset;
    return &preset;
}

PresetManager::PresetCategory* PresetManager::addCategory (const File& folder, int depth)
{
    if (auto* known = getCategory (folder))
        return known;

    PresetCategory category;
    category.folder = folder;
    category.title = Preset::titleFromFilename (folder);
    category.manager = this;
    category.scan (depth);

    return &userCategories.emplace (folder, std::move (category)).first->second;
}

PresetManager::Preset* PresetManager::getPreset (const File& file)
{
    const auto found = userPresetFiles.find (file);
    return found != userPresetFiles.end() && file.existsAsFile() ? found->second : nullptr;
}

PresetManager::PresetCategory* PresetManager::getCategory (const File& folder)
{
    const auto found = userCategories.find (folder);
    return found != userCategories.end() && folder.isDirectory() ? &found->second : nullptr;
}

void PresetManager::setExternalPreset (const File& file)
{
    externalPreset = std::make_unique<Preset>();
    externalPreset->file = file;
    externalPreset->title = Preset::titleFromFilename (file);
    externalPreset->id = -1;
    currentUserPreset = externalPreset.get();

    if (loader != nullptr)
        loader->setPresetModified (false, true);
}

bool PresetManager::isAvailable (int id) const
{
    if (factoryPresets.count (id) != 0)
        return true;

    const auto found = userPresets.find (id);
    return found != userPresets.end() && found->second.file.existsAsFile();
}

const PresetManager::FactoryPreset* PresetManager::factoryPresetWithId (int id) const
{
    const auto found = factoryPresets.find (id);
    return found != factoryPresets.end() ? &found->second : nullptr;
}

int PresetManager::selectionIdAfterInc (int step) const
{
    if (step == 0)
        return -1;

    // Every id is visited at most once per walk: the walk ends even when
    // nothing at all is available.
    const auto limit = nextId + 16;
    int n = selectedId + step;

    if (step > 0)
    {
        for (int visited = 0; n != selectedId && visited < limit; ++visited)
        {
            if (isAvailable (n))
                return n;

            n = n + 1 < nextId ? n + 1 : 10;
        }

        return -1;
    }

    for (int visited = 0; visited < limit; ++visited)
    {
        if (isAvailable (n))
            return n;

        if (n <= 10)
            n = nextId;

        if (n == selectedId + 1)
            return -1;

        --n;
    }

    return -1;
}

} // namespace juce::vorn_gui
