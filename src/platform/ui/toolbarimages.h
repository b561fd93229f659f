#pragma once

#include <QStringList>

class ImageList;

// The toolbars' small pictures (16x16), our own drawings kept as resources, under the keys
// the toolbars give their buttons ("open", "reply", "disk", "bold", ...). Some pictures stand
// under more than one key where toolbars name the same command differently ("disk" and
// "save", "folderadd" and "copymessage").
void FillToolbarImages(ImageList& images);

// Every key FillToolbarImages fills.
QStringList ToolbarImageKeys();
