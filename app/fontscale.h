#pragma once

class QWidget;

// Multiplies the font of a widget and of all its descendant widgets by a
// factor. Every widget ends at its own font as it was before the call times
// the factor, once: fonts are read for the whole tree first, so a child
// that inherits its parent's font is not scaled twice.
// The widget named "Receive_2" keeps its font (its children are scaled);
// the font of the widget named "NoApear" also becomes the tool-tip font.
void scaleFonts(QWidget *widget, float factor);

// The same without the two named exceptions; every dialog scales its own
// tree with it in its constructor.
void scaleChildren(QWidget *widget, float factor);
