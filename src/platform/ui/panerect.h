#pragma once

#include <QtGlobal>

// A pane's place in twips, relative to the control that reports it.
struct PaneRect {
    qint32 Left = 0;
    qint32 Top = 0;
    qint32 Width = 0;
    qint32 Height = 0;
    friend bool operator==(const PaneRect&, const PaneRect&) = default;
};
