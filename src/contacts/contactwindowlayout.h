#pragma once

#include <QtGlobal>

// Where the contact window puts its controls, in twips, from its inner size. Every width and
// height is clamped at 0, so a window made tiny lays out without negative sizes.
namespace ContactWindowLayout {

// The designed inner size is the smallest the window keeps; the largest is far beyond any
// screen.
constexpr qint32 kMinWidth = 6750;
constexpr qint32 kMinHeight = 7065;
constexpr qint32 kMaxWidth = 90000;
constexpr qint32 kMaxHeight = 90000;

struct Rect {
    qint32 left = 0;
    qint32 top = 0;
    qint32 width = 0;
    qint32 height = 0;
    bool operator==(const Rect&) const = default;
};

struct Input {
    qint32 width = 0; // inner size
    qint32 height = 0;
    qint32 toolbarTop = 0;
    qint32 toolbarHeight = 0;
    qint32 okWidth = 0;
    qint32 okHeight = 0;
    qint32 cancelWidth = 0;
    qint32 cancelHeight = 0;
    qint32 contactTop = 0; // the contact control keeps its top
    // The contact control's tab page, left and top relative to the control.
    qint32 pageLeft = 0;
    qint32 pageTop = 0;
    qint32 pageWidth = 0;
    qint32 pageHeight = 0;
    // The widths of the lists' columns other than the one that fills; -1: a list without
    // columns, whose fill column is left alone.
    qint32 messagesOtherColumns = -1;
    qint32 prizesOtherColumns = -1;
};

struct Result {
    qint32 lineDarkTop = 0;
    qint32 lineLightTop = 0;
    qint32 lineWidth = 0;
    Rect ok;
    Rect cancel;
    Rect contact;
    Rect frame; // both history frames
    Rect list;  // inside its frame
    // -1 when the list has no columns.
    qint32 messagesFillWidth = -1;
    qint32 prizesFillWidth = -1;
};

Result Compute(const Input& in);

} // namespace ContactWindowLayout
