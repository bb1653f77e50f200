namespace juce::vorn_gui
{

PresetComponent::PresetComponent (LookAndFeel& lf, const URL& downloadsPage, PresetManager& library)
    : downloadsUrl (downloadsPage), manager (&library)
{
    const auto start = presetsFolder();
    const auto presets = "*" + manager->fileExtension;
    const auto packs = "*" + manager->packExtension;
    saveChooser = std::make_unique<FileChooser> ("Save Preset", start, presets, true);
    openChooser = std::make_unique<FileChooser> ("Load Preset", start, presets, true);
    packSourceChooser = std::make_unique<FileChooser> ("Create Preset Pack From..", start, packs, true);
    packTargetChooser = std::make_unique<FileChooser> ("Save Pack To...", start, packs, true);
    unpackChooser = std::make_unique<FileChooser> ("Open Preset Pack", start, packs, true);

    setLookAndFeel (&lf);

    // A focused combo box would take the arrow keys itself, loading "New"
    // and then opening a dialog: the box never takes the focus.
    setWantsKeyboardFocus (false);
    addListener (this);
    loader().display = this;

    if (manager->userRoot != nullptr)
        manager->userRoot->scan (0);

    createSubMenu();
    resetChoice();
}

PresetComponent::~PresetComponent()
{
    if (loader().display == this)
        loader().display = nullptr;

    removeListener (this);
    setLookAndFeel (nullptr);
}

File PresetComponent::presetsFolder() const
{
    return manager->userRoot != nullptr ? manager->userRoot->folder : File();
}

void PresetComponent::showPopup()
{
    refresh();
    ComboBox::showPopup();
}

void PresetComponent::refresh()
{
    if (manager->userRoot != nullptr)
        manager->userRoot->scan (0);

    createSubMenu();
    resetChoice();
}

void PresetComponent::createSubMenu()
{
    auto& menu = *getRootMenu();
    menu.clear();

    menu.addSectionHeader ("Options:");
    menu.addItem (newPreset, "New");
    menu.addItem (browseOpen, "Browse/Open...");
    menu.addItem (save, "Save");
    menu.addItem (saveAs, "Save as...");
    menu.addSeparator();

    PopupMenu packOptions;
    packOptions.addItem (importPack, "Import...");
    packOptions.addItem (createPack, "Create...");
    packOptions.addItem (downloads, "Downloads & Info");
    menu.addSubMenu ("Preset Pack Options", packOptions);
    menu.addSeparator();

    StringArray usedNames;
    menu.addSectionHeader ("Factory Presets:");
    if (manager->factoryRoot != nullptr)
        manager->factoryRoot->addToMenu (menu, usedNames);

    menu.addSectionHeader ("User Presets:");
    if (manager->userRoot != nullptr)
        manager->userRoot->addToMenu (menu, usedNames);
}

void PresetComponent::resetChoice()
{
    String text ("*New ");

    {
        const ScopedLock hold (manager->lock);
        const auto id = manager->selectedId;
        const auto user = manager->userPresets.find (id);

        if (manager->currentUserPreset != nullptr && manager->currentUserPreset == manager->externalPreset.get())
            text = manager->currentUserPreset->title + " ";
        else if (user != manager->userPresets.end() && user->second.file.existsAsFile())
            text = user->second.title + " ";
        else if (const auto* factory = manager->factoryPresetWithId (id))
            text = factory->name + " ";
    }

    // Between choices the box holds no item: choosing any, the loaded one
    // included, is reported as a change.
    setSelectedId (cleared, dontSendNotification);
    setText (text, dontSendNotification);
    updatedPresetModified (loader().presetModified.load());
}

void PresetComponent::updatedPresetModified (bool modified)
{
    const auto text = getText();

    if (modified && ! text.endsWithChar ('*'))
        setText (text.trimEnd() + "*", dontSendNotification);
    else if (! modified && text.endsWithChar ('*'))
        setText (text.dropLastCharacters (1) + " ", dontSendNotification);
}

void PresetComponent::selectNewPreset (NotificationType notification)
{
    // Whatever shows "New" has no user preset that Save could overwrite.
    {
        const ScopedLock hold (manager->lock);
        manager->currentUserPreset = nullptr;
    }

    setSelectedId (newPreset, notification);
}

void PresetComponent::comboBoxChanged (ComboBox*)
{
    const auto id = getSelectedId();

    switch (id)
    {
        case save:           triggerSave(); return;
        case saveAs:         launchSaveAs(); break;
        case browseOpen:     launchOpen(); break;
        case createPack:     launchCreatePresetPack(); break;
        case importPack:     launchUnpackPresetPack(); break;
        case downloads:      downloadsUrl.launchInDefaultBrowser(); break;

        case newPreset:
        {
            // The box keeps showing "New"; reload still reloads the preset
            // selected before, but Save has nothing to overwrite.
            loader().initDefault();
            const ScopedLock hold (manager->lock);
            manager->currentUserPreset = nullptr;
            return;
        }

        default:
            if (id >= firstPresetId)
                loadPreset (id);
            break;
    }

    resetChoice();
}

bool PresetComponent::loadPreset (int id)
{
    PresetManager::Preset* user = nullptr;
    MemoryBlock bytes;

    {
        const ScopedLock hold (manager->lock);
        const auto found = manager->userPresets.find (id);

        if (found != manager->userPresets.end() && found->second.file.existsAsFile())
            user = &found->second;
        else if (const auto* factory = manager->factoryPresetWithId (id))
            bytes = factory->data; // a copy: loading unscrambles in place
        else
            return false;
    }

    // A preset that cannot be read or is not ours changes nothing: the
    // selection, the current preset, the marker and the text stay.
    if (user != nullptr && ! user->file.loadFileAsData (bytes))
        return false;

    if (! loader().loadPresetState (bytes))
        return false;

    const ScopedLock hold (manager->lock);
    manager->currentUserPreset = user;
    manager->selectedId = id;
    loader().setPresetModified (false, true);
    return true;
}

void PresetComponent::adopt (PresetManager::Preset* preset)
{
    const ScopedLock hold (manager->lock);
    manager->currentUserPreset = preset;
    manager->selectedId = preset->id;
    loader().setPresetModified (false, true);
}

void PresetComponent::triggerSave()
{
    PresetManager::Preset* current = nullptr;

    {
        const ScopedLock hold (manager->lock);
        current = manager->currentUserPreset;
    }

    if (current != nullptr && loader().savePresetState (current->file))
    {
        resetChoice();
        return;
    }

    launchSaveAs();
    resetChoice();
}

//==============================================================================
void PresetComponent::launch (FileChooser& chooser, int chooserFlags, std::function<void (const File&)> callback)
{
    // A second launch while a dialog is open would destroy the running one.
    if (dialogOpen)
        return;

    dialogOpen = true;
    SafePointer<PresetComponent> self (this);

    chooser.launchAsync (chooserFlags, [self, callback] (const FileChooser& finished)
    {
        if (self == nullptr)
            return;

        self->dialogOpen = false;
        callback (finished.getResult());
    });
}

void PresetComponent::launchSaveAs()
{
    launch (*saveChooser, FileBrowserComponent::saveMode | FileBrowserComponent::canSelectFiles | FileBrowserComponent::warnAboutOverwriting,
            [this] (const File& file) { saveAsChosen (file); });
}

void PresetComponent::launchOpen()
{
    launch (*openChooser, FileBrowserComponent::openMode | FileBrowserComponent::canSelectFiles,
            [this] (const File& file) { openChosen (file); });
}

void PresetComponent::launchCreatePresetPack()
{
    launch (*packSourceChooser, FileBrowserComponent::openMode | FileBrowserComponent::canSelectDirectories,
            [this] (const File& folder) { packSourceChosen (folder); });
}

void PresetComponent::launchUnpackPresetPack()
{
    launch (*unpackChooser, FileBrowserComponent::openMode | FileBrowserComponent::canSelectFiles,
            [this] (const File& archive) { unpackChosen (archive); });
}

void PresetComponent::saveAsChosen (const File& file)
{
    if (file != File() && ! file.isDirectory())
    {
        // Saved first; only a file that now holds the state is adopted. A file
        // made for this save goes again when the save fails.
        const auto created = ! file.existsAsFile();

        if (created && ! createFile (file, 5, 100))
        {
            refresh();
            return;
        }

        if (loader().savePresetState (file))
        {
            if (file.isAChildOf (presetsFolder()))
                adopt (manager->addPreset (file));
            else
                manager->setExternalPreset (file);
        }
        else if (created)
        {
            file.deleteFile();
        }
    }

    refresh();
}

void PresetComponent::openChosen (const File& file)
{
    MemoryBlock bytes;

    if (file.existsAsFile() && file.loadFileAsData (bytes) && loader().loadPresetState (bytes))
    {
        if (file.isAChildOf (presetsFolder()))
            adopt (manager->addPreset (file));
        else
            manager->setExternalPreset (file);
    }

    refresh();
}

void PresetComponent::packSourceChosen (const File& folder)
{
    // Only a folder the library lists: the presets folder or one below it.
    packSource = folder != File() ? manager->getCategory (folder) : nullptr;

    if (packSource != nullptr)
        launch (*packTargetChooser, FileBrowserComponent::saveMode | FileBrowserComponent::canSelectFiles | FileBrowserComponent::warnAboutOverwriting,
                [this] (const File& file) { packTargetChosen (file); });
}

void PresetComponent::packTargetChosen (const File& file)
{
    if (file != File() && packSource != nullptr)
        presetPacks::createPack (*packSource, file, manager->packExtension);

    packSource = nullptr;
}

void PresetComponent::unpackChosen (const File& archive)
{
    if (archive != File())
        presetPacks::importPack (archive, presetsFolder(), manager->fileExtension);

    refresh();
}

//==============================================================================
PresetScroller::PresetScroller (LookAndFeel& lf, PresetComponent& selector)
    : leftButton (TriangleButton::left, lf, "LeftScrollerButton", this),
      rightButton (TriangleButton::right, lf, "RightScrollerButton", this),
      presetComponent (&selector)
{
    addAndMakeVisible (leftButton);
    addAndMakeVisible (rightButton);
}

PresetScroller::~PresetScroller()
{
    leftButton.removeListener (this);
    rightButton.removeListener (this);
}

void PresetScroller::resized()
{
    const auto w = (float) getWidth(), h = (float) getHeight();
    const auto side = jmin (w / 2, h / 2);
    const auto left = jmin (w, side);
    const auto right = jmin (w - left, side);
    leftButton.setBounds (Rectangle<float> (0, 0, left, h).toNearestInt());
    rightButton.setBounds (Rectangle<float> (w - right, 0, right, h).toNearestInt());
}

void PresetScroller::buttonClicked (Button* button)
{
    const auto next = presetComponent->manager->selectionIdAfterInc (button == &leftButton ? -1 : 1);

    if (next != -1)
        presetComponent->setSelectedId (next, sendNotificationSync);
}

} // namespace juce::vorn_gui
