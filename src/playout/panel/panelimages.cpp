#include "playout/panel/panelimages.h"

#include "platform/ui/upanel3.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {
const QColor kWhite(255, 255, 255);
const QColor kGrey(128, 128, 128);

QPixmap draw(int size, const std::function<void(QPainter&, double)>& paint) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    paint(painter, size);
    return picture;
}

QPainterPath triangle(QPointF a, QPointF b, QPointF c) {
    QPainterPath path(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    return path;
}

void eject(QPainter& p, double s) {
    p.drawPath(triangle({s * 0.5, s * 0.15}, {s * 0.85, s * 0.55}, {s * 0.15, s * 0.55}));
    p.drawRect(QRectF(s * 0.15, s * 0.68, s * 0.7, s * 0.15));
}

void cue(QPainter& p, double s) {
    // Back to the start: a bar and a triangle pointing at it.
    p.drawRect(QRectF(s * 0.18, s * 0.2, s * 0.14, s * 0.6));
    p.drawPath(triangle({s * 0.82, s * 0.2}, {s * 0.82, s * 0.8}, {s * 0.36, s * 0.5}));
}

void play(QPainter& p, double s) {
    p.drawPath(triangle({s * 0.25, s * 0.15}, {s * 0.85, s * 0.5}, {s * 0.25, s * 0.85}));
}

void pause(QPainter& p, double s) {
    p.drawRect(QRectF(s * 0.22, s * 0.18, s * 0.2, s * 0.64));
    p.drawRect(QRectF(s * 0.58, s * 0.18, s * 0.2, s * 0.64));
}

void power(QPainter& p, double s, const QColor& colour) {
    QPen pen(colour, s * 0.1, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(s * 0.18, s * 0.2, s * 0.64, s * 0.64), 120 * 16, 300 * 16);
    p.drawLine(QPointF(s * 0.5, s * 0.1), QPointF(s * 0.5, s * 0.48));
}

void go(QPainter& p, double s) {
    // A large play mark over the word.
    p.drawPath(triangle({s * 0.3, s * 0.08}, {s * 0.75, s * 0.34}, {s * 0.3, s * 0.6}));
    QFont font;
    font.setBold(true);
    font.setPixelSize(static_cast<int>(s * 0.32));
    p.setFont(font);
    p.setPen(p.brush().color());
    p.drawText(QRectF(0, s * 0.62, s, s * 0.36), Qt::AlignCenter, QStringLiteral("GO"));
}
} // namespace

void FillPlayerImages(ImageList& imgListPlayer) {
    constexpr int kSize = 24;
    const std::pair<const char*, void (*)(QPainter&, double)> faces[] = {
        {"eject", eject}, {"cue", cue}, {"play", play}, {"pause", pause}};
    for (const auto& [base, paint] : faces) {
        for (const auto& [state, colour] : {std::pair{"white", kWhite}, std::pair{"dis", kGrey}}) {
            imgListPlayer.Add(
                QLatin1String(base) + QLatin1String(state),
                draw(kSize, [&, paint = paint, colour = colour](QPainter& p, double s) {
                    p.setBrush(colour);
                    paint(p, s);
                }));
        }
    }
    imgListPlayer.Add(QStringLiteral("powerwhite"),
                      draw(kSize, [](QPainter& p, double s) { power(p, s, kWhite); }));
    imgListPlayer.Add(QStringLiteral("powerdis"),
                      draw(kSize, [](QPainter& p, double s) { power(p, s, kGrey); }));
}

void FillGoImages(ImageList& imgList48) {
    for (const auto& [key, colour] : {std::pair{"gowhite", kWhite}, std::pair{"godis", kGrey}}) {
        imgList48.Add(QLatin1String(key), draw(48, [colour = colour](QPainter& p, double s) {
                          p.setBrush(colour);
                          go(p, s);
                      }));
    }
}

void FillPowerImages(ImageList& imgList32) {
    const std::pair<const char*, QColor> faces[] = {
        {"powergreen", QColor(0, 190, 60)}, {"powerred", QColor(220, 30, 30)}, {"powerdis", kGrey}};
    for (const auto& [key, colour] : faces) {
        imgList32.Add(QLatin1String(key),
                      draw(32, [colour = colour](QPainter& p, double s) { power(p, s, colour); }));
    }
}

void ApplyStudioButtonLook(uPanel3& button) {
    button.SetBackColour(QColor(52, 58, 68));
    QPalette palette = button.palette();
    palette.setColor(QPalette::Active, QPalette::ButtonText, kWhite);
    palette.setColor(QPalette::Inactive, QPalette::ButtonText, kWhite);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, kGrey);
    button.setPalette(palette);
}
