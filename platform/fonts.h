#pragma once

#include <QString>
#include <QStringList>

// The forms ask for the font families of the platform they were designed on
// ("微软雅黑", "Arial", ...). Where those are not installed, Qt is told which
// installed families stand in for them, so Chinese and Cyrillic texts render
// with real glyphs and similar metrics.
namespace fonts {

// The families the forms name.
QStringList designFamilies();

// The installed families (from `installed`) that stand in for `family`,
// best first; empty when `family` itself is installed or nothing fits.
QStringList substitutesFor(const QString &family, const QStringList &installed);

// Registers the substitutes of every design family with QFont; needs the
// application object.
void installSubstitutions();

} // namespace fonts
