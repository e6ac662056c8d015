#pragma once

// Small helpers shared by the device page, its pages and the wait notices:
// catalogue texts, theme colours, picture folders and the dialog look.

#include <QString>

class QWidget;
class QDialog;

// Text of `key` in catalogue section `section` ("mouse" part) for language
// `index`; empty when the dictionary lacks it.
QString pageText(const QString &section, const QString &key, int index);

// The three numbers of a theme colour of Config.ini group "Option", joined
// with "," for an rgb(...) rule. A list shorter than three items gives the
// numbers it has, padded with 0, so a damaged catalogue never crashes a page.
QString themeRgb(const QString &key);

// Application directory + "/Picture/" + folder + "/".
QString pictureFolder(const QString &folder);

// Frameless modal notice look shared by every notice of the program.
void applyNoticeFlags(QDialog *dialog);

// Divides the point size of `widget` and every descendant by (logical DPI / 96).
void scaleFontsForScreen(QWidget *widget);

