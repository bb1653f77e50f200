#pragma once

namespace juce::vorn_gui
{

/** The preset selector: a combo box whose menu is rebuilt from the preset
    library every time it opens, and the loader's display, which shows the
    loaded preset's title with a trailing space, or with "*" once changed.
    Every file dialog is asynchronous; its callback is a function of the
    chosen file, which tests call directly. Message thread only. */
class PresetComponent : public ComboBox,
                        public ComboBox::Listener,
                        public PresetManager::PresetLoader::PresetDisplay
{
public:
    /** The menu's commands; presets take the ids from `firstPresetId` on. */
    enum Command
    {
        save = 1,
        saveAs = 2,
        browseOpen = 3,
        newPreset = 4,
        createPack = 5,
        importPack = 6,
        downloads = 7,
        cleared = 9,
        firstPresetId = 10
    };

    PresetComponent (LookAndFeel& lookAndFeel, const URL& downloadsPage, PresetManager& library);
    ~PresetComponent() override;

    void showPopup() override;
    void comboBoxChanged (ComboBox*) override;
    void updatedPresetModified (bool modified) override;
    void selectNewPreset (NotificationType notification) override;

    void createSubMenu();
    void resetChoice();
    void triggerSave();

    void launchSaveAs();
    void launchOpen();
    void launchCreatePresetPack();
    void launchUnpackPresetPack();

    /** What each dialog does with the file chosen (none: cancelled). */
    void saveAsChosen (const File& file);
    void openChosen (const File& file);
    void packSourceChosen (const File& folder);
    void packTargetChosen (const File& file);
    void unpackChosen (const File& archive);

    /** Whether one of the selector's dialogs is open; a launch meanwhile is
        ignored. */
    bool isDialogOpen() const noexcept { return dialogOpen; }

    URL downloadsUrl;
    PresetManager* manager;

private:
    void launch (FileChooser& chooser, int chooserFlags, std::function<void (const File&)> callback);
    bool loadPreset (int id);
    void adopt (PresetManager::Preset* preset);
    void refresh();
    File presetsFolder() const;
    PresetManager::PresetLoader& loader() const { return *manager->loader; }

    std::unique_ptr<FileChooser> saveChooser, openChooser, packSourceChooser, packTargetChooser, unpackChooser;
    PresetManager::PresetCategory* packSource = nullptr;
    bool dialogOpen = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetComponent)
};

/** The previous and next buttons beside the selector. */
class PresetScroller : public Component, public Button::Listener
{
public:
    PresetScroller (LookAndFeel& lookAndFeel, PresetComponent& selector);
    ~PresetScroller() override;

    void resized() override;
    void buttonClicked (Button* button) override;

    TriangleButton leftButton, rightButton;
    PresetComponent* presetComponent;
};

} // namespace juce::vorn_gui
