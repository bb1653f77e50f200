#pragma once

namespace juce::vorn_gui
{

/** √3/2: the height of an equilateral triangle of side 1. */
constexpr float _sqrt_3_ovr_2 = 0.8660254f;

/** The toolkit's one look and feel: a flat look of solid fills, hard
    outlines and equilateral triangles, in four colours, with one bold
    monospaced font for all running text. Widgets of the toolkit take a
    reference to it and read its colours and fonts directly. Everything not
    overridden here is drawn as `LookAndFeel_V4` draws it. Message thread
    only. */
class LookAndFeel : public LookAndFeel_V4
{
public:
    /** A black square in place of the tab bar's extras button. */
    class ExtrasButtonPlaceholder : public ShapeButton
    {
    public:
        ExtrasButtonPlaceholder() : ShapeButton ("Placeholder", Colours::black, Colours::black, Colours::black) {}
        void paintButton (Graphics& g, bool, bool) override;
    };

    LookAndFeel (Colour primary, Colour secondary, Colour background, Colour counterBackground,
                 const Font& main, const Font& title, const Font& subtitle);

    /** The colour, at 60 % of its alpha when the component or one of its
        parents is disabled. */
    static Colour dimmedWhenDisabled (Colour colour, const Component& component);

    // Text editors
    void fillTextEditorBackground (Graphics&, int width, int height, TextEditor&) override;
    void drawTextEditorOutline (Graphics&, int width, int height, TextEditor&) override;

    // Pop-up menus
    void drawPopupMenuBackground (Graphics&, int width, int height) override;
    void drawPopupMenuItem (Graphics&, const Rectangle<int>& area, bool isSeparator, bool isActive,
                            bool isHighlighted, bool isTicked, bool hasSubMenu, const String& text,
                            const String& shortcutKeyText, const Drawable* icon, const Colour* textColour) override;
    void drawPopupMenuSectionHeader (Graphics&, const Rectangle<int>& area, const String& sectionName) override;
    Font getPopupMenuFont() override;

    // Combo boxes
    void drawComboBox (Graphics&, int width, int height, bool isButtonDown, int buttonX, int buttonY,
                       int buttonW, int buttonH, ComboBox&) override;
    Font getComboBoxFont (ComboBox&) override;

    // Sliders
    void drawLinearSlider (Graphics&, int x, int y, int width, int height, float sliderPos, float minSliderPos,
                           float maxSliderPos, Slider::SliderStyle, Slider&) override;
    void drawRotarySlider (Graphics&, int x, int y, int width, int height, float sliderPos,
                           float rotaryStartAngle, float rotaryEndAngle, Slider&) override;

    // Tabs along the top of a tabbed bar
    int getTabButtonSpaceAroundImage() override;
    int getTabButtonOverlap (int tabDepth) override;
    int getTabButtonBestWidth (TabBarButton&, int tabDepth) override;
    Rectangle<int> getTabButtonExtraComponentBounds (const TabBarButton&, Rectangle<int>& textArea, Component& extraComp) override;
    void drawTabButton (TabBarButton&, Graphics&, bool isMouseOver, bool isMouseDown) override;
    Font getTabButtonFont (TabBarButton&, float height) override;
    void drawTabButtonText (TabBarButton&, Graphics&, bool isMouseOver, bool isMouseDown) override;
    void drawTabbedButtonBarBackground (TabbedButtonBar&, Graphics&) override;
    void drawTabAreaBehindFrontButton (TabbedButtonBar&, Graphics&, int w, int h) override;
    void createTabButtonShape (TabBarButton&, Path& path, bool isMouseOver, bool isMouseDown) override;
    void fillTabButtonShape (TabBarButton&, Graphics&, const Path& path, bool isMouseOver, bool isMouseDown) override;
    Button* createTabBarExtrasButton() override;

    const Colour primaryColour;
    const Colour secondaryColour;
    const Colour backgroundColour;
    const Colour counterBackgroundColour;
    const Font mainFont;
    const Font titleFont;
    const Font subtitleFont;

private:
    void drawHorizontalSliderBody (Graphics&, float sliderPos, float width, float height, Colour thumb, Colour track);
    void drawVerticalSliderBody (Graphics&, float sliderPos, float width, float height, Colour thumb, Colour track);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LookAndFeel)
};

} // namespace juce::vorn_gui
