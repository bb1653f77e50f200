namespace juce::vorn_gui
{

namespace
{
/** Reads a plain decimal number at the start of `text`; returns how many
    characters it took, 0 for none. */
size_t readDecimal (const std::string& text, double& value)
{
    const auto* begin = text.data();
    const auto* end = begin + text.size();
    const auto* digits = begin + (text.size() > 0 && text[0] == '+' ? 1 : 0);

    // The sign after a '+' is the number's own business: "+-1" is none.
    if (digits != begin && digits < end && *digits == '-')
        return 0;

    const auto [stop, error] = std::from_chars (digits, end, value, std::chars_format::general);

    if (error != std::errc() || stop == digits)
        return 0;

    const std::string read (digits, stop);

    if (read.find_first_not_of ("0123456789-.eE") != std::string::npos || ! std::isfinite (value))
        return 0;

    return (size_t) (stop - begin);
}
} // namespace

std::optional<double> leadingNumber (const String& text)
{
    double value = 0;

    if (readDecimal (text.trimStart().toStdString(), value) == 0)
        return {};

    return value;
}

std::optional<double> wholeNumber (const String& text)
{
    const auto trimmed = text.trim().toStdString();
    double value = 0;

    if (trimmed.empty() || readDecimal (trimmed, value) != trimmed.size())
        return {};

    return value;
}

} // namespace juce::vorn_gui
