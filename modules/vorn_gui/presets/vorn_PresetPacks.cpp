namespace juce::vorn_gui
{

bool PresetManager::PresetCategory::_addToPack (ZipFile::Builder& builder, const File& base) const
{
    for (const auto* preset : presets)
    {
        MemoryBlock bytes;

        if (preset == nullptr || ! preset->file.existsAsFile() || ! preset->file.loadFileAsData (bytes))
            return false;

        auto name = preset->file.getRelativePathFrom (base).replaceCharacter ('\\', '/');

        if (name.isEmpty())
            name = preset->file.getFileName();

        builder.addEntry (new MemoryInputStream (std::move (bytes)), 5, name, preset->file.getLastModificationTime());
    }

    for (const auto* category : subCategories)
        if (category == nullptr || ! category->_addToPack (builder, base))
            return false;

    return true;
}

namespace presetPacks
{

bool isSafeEntryName (const String& name, const String& presetExtension, int maxFolderDepth)
{
    if (name.isEmpty() || name.startsWithChar ('/') || name.containsAnyOf ("\\:") || name.containsChar (0))
        return false;

    const auto parts = StringArray::fromTokens (name, "/", {});

    if (parts.size() > maxFolderDepth + 1)
        return false;

    for (const auto& part : parts)
        if (part.isEmpty() || part == "." || part == ".." || File::createLegalFileName (part) != part)
            return false;

    const auto& fileName = parts[parts.size() - 1];
    const auto hasExtension = File::areFileNamesCaseSensitive() ? fileName.endsWith (presetExtension)
                                                                : fileName.endsWithIgnoreCase (presetExtension);
    return hasExtension && fileName.length() > presetExtension.length();
}

namespace
{
/** The entry's bytes, or nothing when it holds more than `maxBytes`
    (whatever its header claims). */
std::optional<MemoryBlock> readEntry (ZipFile& zip, int index, int64 maxBytes)
{
    std::unique_ptr<InputStream> stream (zip.createStreamForEntry (index));

    if (stream == nullptr)
        return {};

    MemoryBlock bytes;
    const auto read = stream->readIntoMemoryBlock (bytes, (ssize_t) maxBytes + 1);

    if ((int64) read > maxBytes)
        return {};

    return bytes;
}

bool writeThroughTemporary (const File& destination, const MemoryBlock& bytes)
{
    TemporaryFile temporary (destination);

    {
        FileOutputStream out (temporary.getFile());

        if (! out.openedOk() || ! out.write (bytes.getData(), bytes.getSize()))
            return false;

        out.flush();

        if (! out.getStatus().wasOk())
            return false;
    }

    return temporary.overwriteTargetFileWithTemporary();
}
} // namespace

File importPack (const File& archive, const File& presetsFolder, const String& presetExtension, const Limits& limits)
{
    // Never through a link: the presets folder must be the real one.
    if (presetsFolder == File() || ! presetsFolder.isDirectory() || presetsFolder.isSymbolicLink() || ! archive.existsAsFile())
        return {};

    const auto name = File::createLegalFileName (archive.getFileNameWithoutExtension()).trim();

    if (name.isEmpty() || name.startsWithChar ('.'))
        return {};

    ZipFile zip (archive);

    if (zip.getNumEntries() <= 0 || zip.getNumEntries() > limits.maxEntries)
        return {};

    const auto target = presetsFolder.getNonexistentChildFile (name, {}, true);

    if (! target.createDirectory() || target.isSymbolicLink())
        return {};

    int written = 0;

    for (int i = 0; i < zip.getNumEntries(); ++i)
    {
        const auto* entry = zip.getEntry (i);

        if (entry == nullptr || entry->isSymbolicLink || entry->filename.endsWithChar ('/')
            || entry->uncompressedSize > limits.maxEntryBytes
            || ! isSafeEntryName (entry->filename, presetExtension, limits.maxFolderDepth))
            continue;

        const auto destination = target.getChildFile (entry->filename);

        if (! destination.isAChildOf (target) || ! destination.getParentDirectory().createDirectory())
            continue;

        if (const auto bytes = readEntry (zip, i, limits.maxEntryBytes))
            written += writeThroughTemporary (destination, *bytes) ? 1 : 0;
    }

    if (written == 0)
    {
        target.deleteRecursively (false);
        return {};
    }

    return target;
}

bool createPack (const PresetManager::PresetCategory& category, const File& target, const String& packExtension)
{
    if (target == File() || target.isDirectory())
        return false;

    ZipFile::Builder builder;

    if (! category._addToPack (builder, category.folder))
        return false;

    const auto packFile = target.hasFileExtension (packExtension) ? target : target.withFileExtension (packExtension);
    TemporaryFile temporary (packFile);

    {
        FileOutputStream out (temporary.getFile(), 16384);

        if (! out.openedOk() || ! builder.writeToStream (out, nullptr))
            return false;

        out.flush();

        if (! out.getStatus().wasOk())
            return false;
    }

    return temporary.overwriteTargetFileWithTemporary();
}

} // namespace presetPacks
} // namespace juce::vorn_gui
