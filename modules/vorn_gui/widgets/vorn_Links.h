#pragma once

namespace juce::vorn_gui
{

/** A text that opens a web address when clicked. */
class HyperlinkLabel : public HyperlinkButton
{
public:
    HyperlinkLabel (const String& linkText, const URL& address, const Font& linkFont, Colour colour, Justification placement);
};

/** The line for an online notice: empty and hidden until its owner gives it
    a text, a hint and an address. */
class NotificationLabel : public HyperlinkLabel
{
public:
    explicit NotificationLabel (LookAndFeel& lf);

    /** Takes an address that came from outside only when it is an https
        address; anything else leaves the notice without a link. */
    void setLinkIfSafe (const URL& address);
};

/** Links side by side, right-aligned, each after the first set off by
    `separatorText`. */
class HyperlinkLabelRow : public Component
{
public:
    HyperlinkLabelRow (LookAndFeel& lf, const StringArray& texts, const Array<URL>& addresses);

    void resized() override;

    static const String separatorText;

    OwnedArray<HyperlinkLabel> links;
    const int numLinks;
};

/** The title line: a title and a subtitle link side by side. */
class TitleLabels : public Component
{
public:
    TitleLabels (LookAndFeel& lf, const String& titleText, const URL& titleAddress,
                 const String& subtitleText, const URL& subtitleAddress);

    void resized() override;

    /** "release_1-1-3" reads "release 1.1.3". */
    static String readableSubtitle (const String& text);

    HyperlinkLabel title;
    HyperlinkLabel subtitle;
};

} // namespace juce::vorn_gui
