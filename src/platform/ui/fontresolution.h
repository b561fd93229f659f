#pragma once

#include <QFont>
#include <QString>

// What a stored font name comes to on this machine. A name is kept as the profile stores it
// (another studio computer may have the face), while what is shown is the face Qt draws for it
// here: a chooser opens on that face, and a page is told both, so that it draws what the
// program's own controls draw.
namespace FontResolution {

// The face Qt draws for a name: the name's own face when it is installed, else the one it
// falls back to. "" for an empty name.
QString DrawnFamily(const QString& name);

// The font as drawn: the drawn face at the font's weight, slant, effects and size, the size in
// whole points (a font given in pixels is turned into its points).
QFont AsDrawn(const QFont& font);

// Whether a chooser's answer is the font it was opened on: the same face, size in points,
// boldness, slant and effects.
bool SameChoice(const QFont& a, const QFont& b);

// A page's font-family for a stored name: the stored face, then the drawn face, then a generic
// family, each name quoted. "" for an empty name.
QString CssFamilies(const QString& name);

} // namespace FontResolution
