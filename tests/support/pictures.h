#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <cstdlib>

// What a window's picture shows, read back from its pixels and from where its controls lie,
// so that a test of a grab asserts what a user would see rather than that something was drawn.
namespace Pictures {

// Where a control lies in its window's picture.
inline QRect RectIn(const QWidget* window, const QWidget* child) {
    return QRect(child->mapTo(window, QPoint(0, 0)), child->size());
}

// Whether two colours differ enough for the eye: text drawn over a background, a cell's fill.
inline bool Differs(const QColor& a, const QColor& b, int tolerance = 60) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) >
           tolerance;
}

// The box around every pixel of an area that differs from its background; empty when the
// area shows the background alone.
inline QRect InkBounds(const QImage& image, const QRect& area, const QColor& background,
                       int tolerance = 60) {
    const QRect inside = area.intersected(image.rect());
    int left = inside.right() + 1;
    int right = inside.left() - 1;
    int top = inside.bottom() + 1;
    int bottom = inside.top() - 1;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (Differs(image.pixelColor(x, y), background, tolerance)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < left ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Whether the area shows the whole text in the font, neither cut nor elided: the ink is as
// wide as the text's own, within a pixel or two of smoothing, and tall enough for each of its
// lines (left-aligned, one under the other).
inline bool ShowsWholeText(const QImage& image, const QRect& area, const QColor& background,
                           const QFont& font, const QString& text) {
    const QRect ink = InkBounds(image, area, background);
    const QFontMetrics metrics(font);
    const QStringList lines = text.split(QLatin1Char('\n'));
    int left = 0;
    int right = 0;
    bool first = true;
    for (const QString& line : lines) {
        const QRect box = metrics.tightBoundingRect(line);
        if (box.isEmpty()) {
            continue;
        }
        left = first ? box.left() : std::min(left, box.left());
        right = first ? box.right() : std::max(right, box.right());
        first = false;
    }
    const int wanted = right - left + 1;
    return !ink.isEmpty() && std::abs(ink.width() - wanted) <= 3 &&
           ink.height() >= (lines.size() - 1) * metrics.lineSpacing();
}

// Whether a control lies whole inside every parent up to the window: nothing of it is cut off
// by a parent's edge.
inline bool LiesWhole(const QWidget* window, const QWidget* control) {
    const QWidget* child = control;
    while (child != window && child->parentWidget() != nullptr) {
        const QWidget* parent = child->parentWidget();
        if (!parent->rect().contains(child->geometry())) {
            return false;
        }
        child = parent;
    }
    return child == window;
}

// Whether a control has at least the room its own contents ask for.
inline bool HasItsRoom(const QWidget* control) {
    const QSize wanted = control->minimumSizeHint();
    return !wanted.isValid() ||
           (control->width() >= wanted.width() && control->height() >= wanted.height());
}

// The controls a user sees inside a page: the page's own descendants, not the inner parts of
// a list, a scroll area or a composite control.
inline QList<QWidget*> VisibleControls(QWidget* page) {
    QList<QWidget*> controls;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (w->isWindow() || !w->isVisibleTo(page) ||
            w->objectName().startsWith(QLatin1String("qt_"))) {
            continue;
        }
        bool inner = false;
        for (QWidget* p = w->parentWidget(); p != nullptr && p != page; p = p->parentWidget()) {
            if (qobject_cast<QAbstractScrollArea*>(p) != nullptr) {
                inner = true;
                break;
            }
        }
        if (!inner) {
            controls.append(w);
        }
    }
    return controls;
}

} // namespace Pictures
