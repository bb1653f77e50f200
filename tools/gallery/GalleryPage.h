#pragma once

#include <editor/Style.h>

/** Every widget of the toolkit on one page, in the plug-in's look: what a
    reader of the README sees of it, and what a developer opens to check a
    drawing change. */
class GalleryPage : public juce::Component
{
public:
    GalleryPage();
    ~GalleryPage() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    static constexpr int width = 720, height = 600;

private:
    /** A pop-up menu drawn by the look and feel without opening one. */
    struct MenuPreview : juce::Component
    {
        explicit MenuPreview (juce::vorn_gui::LookAndFeel& lf) : lookAndFeel (lf) {}
        void paint (juce::Graphics& g) override;
        juce::vorn_gui::LookAndFeel& lookAndFeel;
    };

    juce::vorn_gui::BasicLabel& caption (const juce::String& text);

    PalimpsesterLookAndFeel lookAndFeel;
    juce::OwnedArray<juce::vorn_gui::BasicLabel> captions;

    juce::vorn_gui::TitleLabels titleLabels;
    juce::vorn_gui::BoxToggleButton toggleOff, toggleOn;
    juce::vorn_gui::MouseoverTextButton textButton, textButtonOn;
    juce::OwnedArray<juce::vorn_gui::IconButton> icons;
    juce::OwnedArray<juce::vorn_gui::TriangleButton> triangles;
    juce::OwnedArray<juce::vorn_gui::IndicatorLight> lights;
    juce::Slider horizontal, horizontalDisabled, vertical, rotary, rotaryDisabled;
    juce::ComboBox comboBox;
    juce::vorn_gui::BasicTextEditor textEditor;
    MenuPreview menu;
    juce::TabbedButtonBar tabs { juce::TabbedButtonBar::TabsAtTop };
    juce::vorn_gui::LabeledSuiteGrid grid;
    juce::vorn_gui::NotificationLabel notice;
    juce::vorn_gui::HyperlinkLabelRow linkRow;
    juce::vorn_gui::TipDisplayComponent tipDisplay;
};
