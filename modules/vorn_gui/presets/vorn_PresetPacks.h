#pragma once

namespace juce::vorn_gui::presetPacks
{

/** What an archive may hold before it is refused. Presets are a few
    kilobytes, so a megabyte is far above any. */
struct Limits
{
    int maxEntries = 1000;
    int64 maxEntryBytes = 1 << 20;
    int maxFolderDepth = 3;
};

/** Whether an archive entry name may become a file below the import
    folder: relative, "/"-separated, at most `maxFolderDepth` folders deep,
    no empty, "." or ".." parts, no drive, no backslash, only names the file
    system takes as they are, and the preset suffix at the end. */
bool isSafeEntryName (const String& name, const String& presetExtension, int maxFolderDepth);

/** Unpacks the presets of `archive` into a new folder below
    `presetsFolder`, named from the archive (a folder of that name that the
    user has already is left alone: the new one gets a number). Symbolic
    links, folders and every entry that `isSafeEntryName` refuses or that is
    larger than allowed are skipped; an archive with too many entries is
    refused whole. Each file is written through a temporary file. Returns
    the new folder, or no file when nothing was imported (then no folder is
    left behind). */
File importPack (const File& archive, const File& presetsFolder, const String& presetExtension, const Limits& limits = {});

/** Writes the category's presets, and those of its sub-categories, into a
    pack at `target` (given the pack suffix), through a temporary file that
    replaces the target only when the archive is complete. Each preset's
    bytes are stored, so a preset that is a link is packed as a file.
    Returns false, leaving any earlier file at the target as it was, when a
    preset cannot be read or the archive cannot be written. */
bool createPack (const PresetManager::PresetCategory& category, const File& target, const String& packExtension);

} // namespace juce::vorn_gui::presetPacks
