namespace juce::vorn_gui
{
namespace
{
/** Retries `attempt` until it succeeds, waiting between tries; gives up
    early when the calling framework thread is asked to stop. */
template <typename Attempt>
bool withRetries (int attempts, int waitMs, Attempt&& attempt)
{
    for (int i = 0; i < attempts; ++i)
    {
        if (attempt())
            return true;

        if (Thread::currentThreadShouldExit())
            return false;

        if (waitMs > 0)
            Thread::sleep (waitMs);
    }

    return false;
}
} // namespace

bool createDirectory (File folder, int attempts, int waitMs)
{
    return withRetries (attempts, waitMs, [&] { return folder.isDirectory() || folder.createDirectory().wasOk(); });
}

bool createFile (File file, int attempts, int waitMs)
{
    return withRetries (attempts, waitMs, [&] { return file.existsAsFile() || (! file.exists() && file.create().wasOk()); });
}

const Array<File::SpecialLocationType> FileServerManager::possibleRootLocations {
    File::globalApplicationsDirectory,
    File::commonApplicationDataDirectory,
    File::commonDocumentsDirectory,
    File::userApplicationDataDirectory,
    File::userDocumentsDirectory,
    File::userHomeDirectory
};

const String FileServerManager::dataFolderName = "/Quillmark/" + String ("Palimpsester_v1-1").replaceCharacter (' ', '_');

FileServerManager::FileServerManager()
    : FileServerManager (defaultBaseLocations())
{
}

FileServerManager::FileServerManager (const Array<File>& baseLocations)
{
    resolve (baseLocations);
}

Array<File> FileServerManager::defaultBaseLocations()
{
    const auto overridden = SystemStats::getEnvironmentVariable ("PALIMPSESTER_DATA_ROOT", {});

    if (overridden.isNotEmpty())
        return { File (overridden) };

    Array<File> bases;

   #if JUCE_LINUX || JUCE_BSD
    // The framework maps the first system-wide locations to /usr and /opt
    // here: only the user's own folders are candidates.
    const auto dataHome = SystemStats::getEnvironmentVariable ("XDG_DATA_HOME", {});
    bases.add (File::isAbsolutePath (dataHome) ? File (dataHome)
                                               : File::getSpecialLocation (File::userHomeDirectory).getChildFile (".local/share"));
    bases.add (File::getSpecialLocation (File::userApplicationDataDirectory));
    bases.add (File::getSpecialLocation (File::userDocumentsDirectory));
    bases.add (File::getSpecialLocation (File::userHomeDirectory));
   #else
    for (auto location : possibleRootLocations)
        bases.add (File::getSpecialLocation (location));
   #endif

    return bases;
}

void FileServerManager::_specifyFilesFromRootDir (const String& rootPath)
{
    presetsFolder = File (rootPath + "/Presets");
}

void FileServerManager::resolve (const Array<File>& baseLocations)
{
    auto candidate = [] (const File& base) { return File (base.getFullPathName() + dataFolderName); };

    for (const auto& base : baseLocations)
    {
        if (candidate (base).isDirectory())
        {
            dataFolder = candidate (base);
            _specifyFilesFromRootDir (dataFolder.getFullPathName());

            if (! presetsFolder.isDirectory())
                createDirectory (presetsFolder, 5, 100);

            return;
        }
    }

    for (const auto& base : baseLocations)
    {
        if (createDirectory (candidate (base), 5, 100))
        {
            dataFolder = candidate (base);
            _specifyFilesFromRootDir (dataFolder.getFullPathName());
            createDirectory (presetsFolder, 5, 100);
            return;
        }
    }
}

} // namespace juce::vorn_gui
