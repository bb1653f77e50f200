#pragma once

namespace juce::vorn_gui
{

/** Creates a folder and its missing parents, trying `attempts` times with
    `waitMs` between tries; an existing folder counts as success. */
bool createDirectory (File folder, int attempts, int waitMs);

/** The same for an empty file; an existing file is left as it is. */
bool createFile (File file, int attempts, int waitMs);

/** Holder of the plug-in's data folder and its "Presets" folder, found or
    created once per processor instance, and of what the online notices
    leave for the editor.

    The data folder is "Quillmark/Palimpsester_v1-1" below the first base
    location that has it, or else below the first where it can be created.
    On Linux the bases are the user's own folders only: the XDG data folder,
    the configuration folder, the documents folder and the home folder. On
    macOS they are `possibleRootLocations`, system-wide ones first. The
    environment variable PALIMPSESTER_DATA_ROOT, when set, is the only base:
    tests and tools use it to keep away from the user's folders. */
class FileServerManager
{
public:
    /** Supplies the shift count of the preset file format. */
    class KeyMaker
    {
    public:
        virtual int create_BIT_SHIFT() const = 0;

    protected:
        ~KeyMaker() = default;
    };

    /** What a reply of the maker's web service may carry for the editor's
        notice line. */
    struct Notification
    {
        bool present = false;
        String link, text, hint;
    };

    static const Array<File::SpecialLocationType> possibleRootLocations;
    static const String dataFolderName;

    /** Resolves the folders from the platform's base locations. */
    FileServerManager();

    /** Resolves the folders from the given base locations, in this order. */
    explicit FileServerManager (const Array<File>& baseLocations);

    /** The base locations for this platform, in order of preference. */
    static Array<File> defaultBaseLocations();

    void _specifyFilesFromRootDir (const String& rootPath);

    File dataFolder;
    File presetsFolder;

    std::atomic<bool> replyProcessed { false };
    Notification notification;

private:
    void resolve (const Array<File>& baseLocations);
};

} // namespace juce::vorn_gui
