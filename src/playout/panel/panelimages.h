#pragma once

#include "platform/ui/imagelist.h"

// The keyboard panel's artwork, drawn by code when the window is made: the player buttons'
// eject, cue, play, pause and power faces in white (enabled) and grey ("dis"), the log's
// 48-pixel "Go" face and its 32-pixel standby faces in green, red and grey.
void FillPlayerImages(ImageList& imgListPlayer);
void FillGoImages(ImageList& imgList48);
void FillPowerImages(ImageList& imgList32);
