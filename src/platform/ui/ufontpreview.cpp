#include "platform/ui/ufontpreview.h"

#include "platform/ui/commondialogs.h"
#include "platform/ui/fontconversion.h"
#include "platform/web/htmltext.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace {
// The stored number when the page leaves the style as it was, else the plain on or off.
qint32 flag(qint32 stored, bool on) {
    return (stored != 0) == on ? stored : (on ? 1 : 0);
}

qint32 colourNumber(const QColor& colour) {
    return static_cast<qint32>((static_cast<quint32>(colour.blue()) << 16) |
                               (static_cast<quint32>(colour.green()) << 8) |
                               static_cast<quint32>(colour.red()));
}
} // namespace

uFontPreview::uFontPreview(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setSizePolicy([] {
        QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        return policy;
    }());
}

void uFontPreview::SetPlainText(const QString& text) {
    text_ = text;
    selectedAll_ = false;
    changed();
}

void uFontPreview::SetStyle(const FontStyle& style) {
    style_ = style;
    changed();
}

void uFontPreview::SetSelFontName(const QString& name) {
    style_.Name = name;
    changed();
}

void uFontPreview::SetSelFontSize(qint32 step) {
    style_.Size = step;
    changed();
}

void uFontPreview::SetSelBold(qint32 value) {
    style_.Bold = value;
    changed();
}

void uFontPreview::SetSelItalic(qint32 value) {
    style_.Italic = value;
    changed();
}

void uFontPreview::SetSelUnderline(qint32 value) {
    style_.UnderLine = value;
    changed();
}

void uFontPreview::SetSelStrikeThrough(qint32 value) {
    style_.StrikeThru = value;
    changed();
}

void uFontPreview::SetSelTextColour(qint32 colour) {
    style_.TextColour = colour;
    changed();
}

QString uFontPreview::HTML() const {
    QString attributes;
    if (!style_.Name.isEmpty()) {
        attributes += QStringLiteral(" face=\"") + HtmlText::Escape(style_.Name) + QLatin1Char('"');
    }
    if (style_.Size > 0) {
        attributes += QStringLiteral(" size=\"") + QString::number(std::min(style_.Size, 7)) +
                      QLatin1Char('"');
    }
    if (const QColor colour = FontConversion::TextColour(style_); colour.isValid()) {
        attributes += QStringLiteral(" color=\"") + colour.name() + QLatin1Char('"');
    }
    QString open;
    QString close;
    const auto wrap = [&](qint32 value, const char* tag) {
        if (value != 0) {
            open += QLatin1Char('<') + QLatin1String(tag) + QLatin1Char('>');
            close.prepend(QStringLiteral("</") + QLatin1String(tag) + QLatin1Char('>'));
        }
    };
    wrap(style_.Bold, "b");
    wrap(style_.Italic, "i");
    wrap(style_.UnderLine, "u");
    wrap(style_.StrikeThru, "s");
    return QStringLiteral("<font") + attributes + QLatin1Char('>') + open + HtmlText::Lines(text_) +
           close + QStringLiteral("</font>");
}

void uFontPreview::SetHTML(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    text_ = document.toPlainText();
    selectedAll_ = false;
    const QTextBlock first = document.begin();
    if (first.isValid() && first.begin() != first.end()) {
        const QTextCharFormat format = first.begin().fragment().charFormat();
        const QStringList families = format.fontFamilies().toStringList();
        if (format.hasProperty(QTextFormat::FontFamilies) && !families.isEmpty()) {
            style_.Name = families.first();
        }
        qint32 step = 0;
        if (format.hasProperty(QTextFormat::FontSizeAdjustment)) {
            step = std::clamp(format.intProperty(QTextFormat::FontSizeAdjustment) + 3, 1, 7);
        } else if (format.hasProperty(QTextFormat::FontPointSize)) {
            step = FontConversion::PointSizeStep(format.fontPointSize());
        }
        // A stored step above the largest draws as the largest and is kept as it was.
        if (step > 0 && step != std::min(style_.Size, 7)) {
            style_.Size = step;
        }
        style_.Bold = flag(style_.Bold, format.fontWeight() >= QFont::Bold);
        style_.Italic = flag(style_.Italic, format.fontItalic());
        style_.UnderLine = flag(style_.UnderLine, format.fontUnderline());
        style_.StrikeThru = flag(style_.StrikeThru, format.fontStrikeOut());
        if (format.hasProperty(QTextFormat::ForegroundBrush)) {
            const QColor colour = format.foreground().color();
            if (colour.isValid() && colour != FontConversion::TextColour(style_)) {
                style_.TextColour = colourNumber(colour);
            }
        }
    }
    changed();
}

bool uFontPreview::ShowFont() {
    FontDialogRequest request;
    request.initial = FontConversion::ToQFont(style_);
    request.withColour = true;
    request.colour = FontConversion::TextColour(style_);
    request.owner = this;
    const auto answer = CommonDialogs().askFont(request);
    if (!answer) {
        return false;
    }
    style_.Name = answer->font.family();
    style_.Size = FontConversion::PointSizeStep(answer->font.pointSizeF());
    style_.Bold = answer->font.bold() ? 1 : 0;
    style_.Italic = answer->font.italic() ? 1 : 0;
    style_.UnderLine = answer->font.underline() ? 1 : 0;
    style_.StrikeThru = answer->font.strikeOut() ? 1 : 0;
    if (answer->colour.isValid()) {
        style_.TextColour = colourNumber(answer->colour);
    }
    changed();
    return true;
}

void uFontPreview::SetTopMargin(int pixels) {
    margins_.top = std::max(pixels, 0);
    changed();
}

void uFontPreview::SetBottomMargin(int pixels) {
    margins_.bottom = std::max(pixels, 0);
    changed();
}

void uFontPreview::SetLeftMargin(int pixels) {
    margins_.left = std::max(pixels, 0);
    changed();
}

void uFontPreview::SetRightMargin(int pixels) {
    margins_.right = std::max(pixels, 0);
    changed();
}

void uFontPreview::changed() {
    updateGeometry();
    update();
}

int uFontPreview::heightForWidth(int width) const {
    const QFontMetrics metrics(FontConversion::ToQFont(style_));
    const int textWidth = std::max(width - margins_.left - margins_.right, 1);
    const QRect needed = metrics.boundingRect(QRect(0, 0, textWidth, 100000),
                                              Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                              text_.isEmpty() ? QStringLiteral(" ") : text_);
    return needed.height() + margins_.top + margins_.bottom;
}

QSize uFontPreview::sizeHint() const {
    constexpr int kWidth = 240;
    return {kWidth, heightForWidth(kWidth)};
}

QSize uFontPreview::minimumSizeHint() const {
    return {QFontMetrics(FontConversion::ToQFont(style_)).averageCharWidth() * 8,
            QFontMetrics(FontConversion::ToQFont(style_)).height() + margins_.top +
                margins_.bottom};
}

void uFontPreview::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QFont font = FontConversion::ToQFont(style_);
    painter.setFont(font);
    const QColor colour = FontConversion::TextColour(style_);
    painter.setPen(colour.isValid() ? colour : palette().color(QPalette::Text));
    painter.drawText(
        rect().adjusted(margins_.left, margins_.top, -margins_.right, -margins_.bottom),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text_);
}
