#include "GalleryPage.h"
#include <EmbeddedResources.h>
#include <editor/WebPages.h>

namespace
{
const char* const iconNames[] = { "undo_svg", "redo_svg", "reload_svg", "new_svg", "randomPreset_svg" };
} // namespace

GalleryPage::GalleryPage()
    : titleLabels (lookAndFeel, "Quillmark", web_pages::makerHome(), "Palimpsester_v1-1-3", web_pages::product()),
      toggleOff (lookAndFeel),
      toggleOn (lookAndFeel),
      textButton (lookAndFeel, "Button", false, nullptr),
      textButtonOn (lookAndFeel, "Toggled", true, nullptr),
      textEditor (lookAndFeel),
      menu (lookAndFeel),
      grid (lookAndFeel, { 4, 3, 3, 3 }, 4, 1, lookAndFeel.secondaryColour),
      notice (lookAndFeel),
      linkRow (lookAndFeel, { "User Guide", "Get Support" }, { web_pages::userGuide(), web_pages::support() }),
      tipDisplay (lookAndFeel)
{
    using namespace juce;
    using namespace juce::vorn_gui;

    addAndMakeVisible (titleLabels);

    toggleOn.setToggleState (true, dontSendNotification);
    textButtonOn.setToggleState (true, dontSendNotification);
    for (auto* c : std::initializer_list<Component*> { &toggleOff, &toggleOn, &textButton, &textButtonOn })
        addAndMakeVisible (c);

    for (auto* name : iconNames)
    {
        int size = 0;
        const auto* svg = BinaryData::getNamedResource (name, size);
        addAndMakeVisible (icons.add (new IconButton (svg, size, lookAndFeel.secondaryColour, name, nullptr)));
    }
    icons.getLast()->setEnabled (false);

    for (auto orientation : { TriangleButton::left, TriangleButton::right, TriangleButton::up, TriangleButton::down })
        addAndMakeVisible (triangles.add (new TriangleButton (orientation, lookAndFeel, "Triangle", nullptr)));

    for (int state : { -1, 0, 1, 2 })
    {
        auto* light = lights.add (new IndicatorLight ("IndicatorLight", lookAndFeel.counterBackgroundColour,
                                                      { lookAndFeel.primaryColour, lookAndFeel.secondaryColour,
                                                        lookAndFeel.primaryColour.withMultipliedAlpha (0.6f) }));
        light->currentState = state;
        addAndMakeVisible (light);
    }

    for (auto* slider : { &horizontal, &horizontalDisabled })
        slider->setSliderStyle (Slider::LinearHorizontal);
    vertical.setSliderStyle (Slider::LinearVertical);
    for (auto* slider : { &rotary, &rotaryDisabled })
        slider->setSliderStyle (Slider::RotaryHorizontalVerticalDrag);

    for (auto* slider : { &horizontal, &horizontalDisabled, &vertical, &rotary, &rotaryDisabled })
    {
        slider->setTextBoxStyle (Slider::NoTextBox, true, 0, 0);
        slider->setRange (0.0, 100.0);
        slider->setValue (62.0);
        slider->setLookAndFeel (&lookAndFeel);
        addAndMakeVisible (slider);
    }
    horizontalDisabled.setEnabled (false);
    rotaryDisabled.setEnabled (false);

    comboBox.setLookAndFeel (&lookAndFeel);
    comboBox.setText ("Funboi*", dontSendNotification);
    addAndMakeVisible (comboBox);

    textEditor.setLookAndFeel (&lookAndFeel);
    textEditor.setText ("typed text", false);
    addAndMakeVisible (textEditor);

    addAndMakeVisible (menu);

    tabs.setLookAndFeel (&lookAndFeel);
    for (auto* name : { "Series", "Parallel", "Bypass" })
        tabs.addTab (name, Colours::transparentBlack, -1);
    tabs.setCurrentTabIndex (1);
    addAndMakeVisible (tabs);

    const char* gridLabels[] = { "Stage 1", "N: 31", "Segment Size: 11.0\xc2\xb5s", "Mix: 100.0%" };
    for (int i = 0; i < grid.suites.size(); ++i)
        grid.suites[i].suite->setLabelText (CharPointer_UTF8 (gridLabels[i]));
    grid.lightSuites[0]->light.currentState = 0;
    for (auto* suite : grid.horizontalSliderSuites)
    {
        suite->slider.setRange (0.0, 100.0);
        suite->slider.setValue (40.0);
    }
    addAndMakeVisible (grid);

    notice.setButtonText ("A notice from the maker, with a link.");
    notice.setLinkIfSafe (web_pages::product());
    notice.setVisible (true);
    addAndMakeVisible (notice);
    addAndMakeVisible (linkRow);
    addAndMakeVisible (tipDisplay);

    setSize (width, height);
}

GalleryPage::~GalleryPage()
{
    for (auto* slider : { &horizontal, &horizontalDisabled, &vertical, &rotary, &rotaryDisabled })
        slider->setLookAndFeel (nullptr);
    comboBox.setLookAndFeel (nullptr);
    textEditor.setLookAndFeel (nullptr);
    tabs.setLookAndFeel (nullptr);
}

juce::vorn_gui::BasicLabel& GalleryPage::caption (const juce::String& text)
{
    for (auto* existing : captions)
        if (existing->getText() == text)
            return *existing;

    auto* label = captions.add (new juce::vorn_gui::BasicLabel (lookAndFeel, text));
    label->setColour (juce::Label::textColourId, lookAndFeel.secondaryColour);
    addAndMakeVisible (label);
    return *label;
}

void GalleryPage::paint (juce::Graphics& g)
{
    g.fillAll (lookAndFeel.backgroundColour);
}

void GalleryPage::MenuPreview::paint (juce::Graphics& g)
{
    const auto w = getWidth(), item = 28;
    lookAndFeel.drawPopupMenuBackground (g, w, getHeight());
    lookAndFeel.drawPopupMenuSectionHeader (g, { 0, 4, w, item }, "Options:");
    lookAndFeel.drawPopupMenuItem (g, { 2, 4 + item, w - 4, item }, false, true, false, false, false, "New", {}, nullptr, nullptr);
    lookAndFeel.drawPopupMenuItem (g, { 2, 4 + 2 * item, w - 4, item }, false, true, true, false, false, "Save as...", {}, nullptr, nullptr);
    lookAndFeel.drawPopupMenuItem (g, { 2, 4 + 3 * item, w - 4, 4 }, true, true, false, false, false, {}, {}, nullptr, nullptr);
    lookAndFeel.drawPopupMenuItem (g, { 2, 8 + 3 * item, w - 4, item }, false, true, false, false, true, "Preset Pack Options", {}, nullptr, nullptr);
}

void GalleryPage::resized()
{
    const int margin = 10, rowHeight = 26;
    titleLabels.setBounds (margin, 4, width - 2 * margin, 34);

    // Left column: buttons, lights, sliders, the combo box and the text field.
    int y = 48;
    auto row = [&] (const juce::String& name, int h)
    {
        caption (name).setBounds (margin, y, 130, h);
        const auto top = y;
        y += h + 8;
        return top;
    };

    auto top = row ("Toggles", rowHeight);
    toggleOff.setBounds (150, top + 3, 20, 20);
    toggleOn.setBounds (180, top + 3, 20, 20);
    textButton.setBounds (214, top, 100, rowHeight);
    textButtonOn.setBounds (322, top, 100, rowHeight);

    top = row ("Icons", rowHeight);
    for (int i = 0; i < icons.size(); ++i)
        icons[i]->setBounds (150 + i * 34, top, rowHeight, rowHeight);

    top = row ("Triangles", rowHeight);
    for (int i = 0; i < triangles.size(); ++i)
        triangles[i]->setBounds (150 + i * 34, top + 4, 18, 18);

    top = row ("Lights", rowHeight);
    for (int i = 0; i < lights.size(); ++i)
        lights[i]->setBounds (150 + i * 34, top + 5, 16, 16);

    top = row ("Sliders", 16);
    horizontal.setBounds (150, top, 250, 16);
    top = row ("Disabled", 16);
    horizontalDisabled.setBounds (150, top, 250, 16);

    top = row ("Knobs", 70);
    rotary.setBounds (150, top, 70, 70);
    rotaryDisabled.setBounds (240, top, 70, 70);
    vertical.setBounds (340, top, 16, 70);

    top = row ("Combo box", rowHeight);
    comboBox.setBounds (150, top, 250, 24);
    top = row ("Text field", rowHeight);
    textEditor.setBounds (150, top, 250, 26);

    top = row ("Tabs", 30);
    tabs.setBounds (150, top, 300, 30);

    // Right column: the menu; below, the stage grid across the page.
    menu.setBounds (470, 48, 230, 4 * 28 + 40);

    grid.setBounds (margin, 420, 420, 104);
    notice.setBounds (margin, height - 74, width - 2 * margin, 20);
    tipDisplay.setBounds (margin, height - 50, width - 2 * margin, 22);
    linkRow.setBounds (margin, height - 26, 530, 22);
}
