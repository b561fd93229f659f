#pragma once

#include "platform/ui/imagelist.h"

class uPanel3;

// The keyboard panel's artwork, drawn by code when the window is made: the player buttons'
// eject, cue, play, pause and power faces in white (enabled) and grey ("dis"), the log's
// 48-pixel "Go" face and its 32-pixel standby faces in green, red and grey.
void FillPlayerImages(ImageList& imgListPlayer);
void FillGoImages(ImageList& imgList48);
void FillPowerImages(ImageList& imgList32);

// The studio buttons' own look: dark, so that the white faces and captions stand out and the
// grey ones read as off.
void ApplyStudioButtonLook(uPanel3& button);
