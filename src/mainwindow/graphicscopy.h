#pragma once

#include <QString>

// The messages database keeps the graphics of its templates beside them; the rendered
// message list is written into the program's Temp folder and finds them there. Copies every
// regular file of templatesFolder except the "htm" templates (which are read where they are)
// into targetFolder when the copy there is missing or older. Nothing is copied when
// templatesFolder is empty or is not a folder. Returns the number of files copied; a copy
// that fails is logged and left for the next opening.
int CopyDatabaseGraphics(const QString& templatesFolder, const QString& targetFolder);
