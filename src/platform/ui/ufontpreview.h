#pragma once

#include "platform/system/fontstyle.h"

#include <QWidget>

// One text shown in one script or talkback font, as the panes show their text. The whole
// text has one format, so what is read back is exactly what was set: the selection members
// act on that one format, and reading them never gives the mixed value (-1) unless it was set.
class uFontPreview : public QWidget {
    Q_OBJECT
public:
    explicit uFontPreview(QWidget* parent = nullptr);

    const QString& PlainText() const { return text_; }
    // The text replaces the old one and the selection is dropped; the format stays.
    void SetPlainText(const QString& text);

    const FontStyle& Style() const { return style_; }
    void SetStyle(const FontStyle& style);

    // The whole text selected. With one format for the whole text, the Sel members read and
    // change that format whatever is selected.
    void SelectAll() { selectedAll_ = true; }
    bool WholeTextSelected() const { return selectedAll_; }

    const QString& SelFontName() const { return style_.Name; }
    void SetSelFontName(const QString& name);
    qint32 SelFontSize() const { return style_.Size; }
    void SetSelFontSize(qint32 step);
    qint32 SelBold() const { return style_.Bold; }
    void SetSelBold(qint32 value);
    qint32 SelItalic() const { return style_.Italic; }
    void SetSelItalic(qint32 value);
    qint32 SelUnderline() const { return style_.UnderLine; }
    void SetSelUnderline(qint32 value);
    qint32 SelStrikeThrough() const { return style_.StrikeThru; }
    void SetSelStrikeThrough(qint32 value);
    qint32 SelTextColour() const { return style_.TextColour; }
    void SetSelTextColour(qint32 colour);

    // The text and its format as a page fragment; setting it back unchanged changes nothing.
    // Setting other HTML takes its text and the format of its first character: a style it
    // leaves on or off as it was keeps its stored number, a colour or face it does not name
    // is kept.
    QString HTML() const;
    void SetHTML(const QString& html);

    // The desktop's font chooser over the format, with effects and colour; a Cancel changes
    // nothing. The point size chosen becomes the nearest size step. True when a font was
    // applied.
    bool ShowFont();

    // The room between the widget's edge and its text, in pixels, as a page body's margins;
    // a page starts with 8 on each side.
    struct Margins {
        int top = 8;
        int bottom = 8;
        int left = 8;
        int right = 8;
    };
    const Margins& BodyMargins() const { return margins_; }
    void SetTopMargin(int pixels);
    void SetBottomMargin(int pixels);
    void SetLeftMargin(int pixels);
    void SetRightMargin(int pixels);

    // As tall as the text needs at a width, so that a large font is not cut off.
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void changed();

    QString text_;
    FontStyle style_;
    Margins margins_;
    bool selectedAll_ = false;
};
