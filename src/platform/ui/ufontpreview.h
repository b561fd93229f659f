#pragma once

#include "platform/system/fontstyle.h"

#include <QWidget>

// One text shown in one script or talkback font, as the panes show their text. The whole
// text has one format, so what is read back is exactly what was set.
class uFontPreview : public QWidget {
    Q_OBJECT
public:
    explicit uFontPreview(QWidget* parent = nullptr);

    const QString& PlainText() const { return text_; }
    void SetPlainText(const QString& text);

    const FontStyle& Style() const { return style_; }
    void SetStyle(const FontStyle& style);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    FontStyle style_;
};
