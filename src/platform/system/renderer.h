#pragma once

#include <QColor>
#include <QObject>

// The colours of one scheme: the back colour of windows (and their tab controls and
// frames), of the main window's panels, and of the message content view.
struct RendererScheme {
    QColor WindowBackColour;
    QColor PanelBackColour;
    QColor ContentBackColour;

    friend bool operator==(const RendererScheme&, const RendererScheme&) = default;
};

// The program's colour scheme. Windows read its colours as they load; the main window
// also recolours itself and its panes on FactorsChanged. Windows already open are not
// recoloured by it.
class Renderer : public QObject {
    Q_OBJECT
public:
    explicit Renderer(QObject* parent = nullptr);

    // The fixed scheme every renderer starts with.
    static RendererScheme DefaultScheme();

    QColor WindowBackColour() const { return scheme_.WindowBackColour; }
    QColor PanelBackColour() const { return scheme_.PanelBackColour; }
    QColor ContentBackColour() const { return scheme_.ContentBackColour; }

    const RendererScheme& Scheme() const { return scheme_; }
    // Raises FactorsChanged when any colour differs from the current ones. A colour that
    // is not valid keeps the current one, so a scheme can never leave a window colourless.
    void SetScheme(const RendererScheme& scheme);

Q_SIGNALS:
    void FactorsChanged();

private:
    RendererScheme scheme_;
};
