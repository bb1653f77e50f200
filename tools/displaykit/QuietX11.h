#pragma once

/** JUCE installs its X11 error handlers only in its own applications; in a
    plug-in the host does. A program of ours that opens JUCE windows without
    a JUCEApplication (a test, a picture tool) would otherwise die on the
    first harmless X error (an atom that the window manager of a virtual
    display never created) under Xlib's default handler. This does what
    JUCE's applications do: thread support on, X errors ignored. Call it
    before the first window. */
void quietX11Errors();
