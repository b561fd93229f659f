#include "platform/system/graphicsrenderer.h"
#include "platform/system/renderer.h"
#include "platform/system/renderservices.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

TEST(Renderer, StartsWithTheFixedDefaultScheme) {
    const RendererScheme scheme = Renderer::DefaultScheme();
    EXPECT_TRUE(scheme.WindowBackColour.isValid());
    EXPECT_TRUE(scheme.PanelBackColour.isValid());
    EXPECT_TRUE(scheme.ContentBackColour.isValid());
    EXPECT_EQ(scheme, Renderer::DefaultScheme()); // fixed, not taken from the desktop

    Renderer renderer;
    EXPECT_EQ(renderer.WindowBackColour(), scheme.WindowBackColour);
    EXPECT_EQ(renderer.PanelBackColour(), scheme.PanelBackColour);
    EXPECT_EQ(renderer.ContentBackColour(), scheme.ContentBackColour);
}

TEST(Renderer, RaisesFactorsChangedOnlyWhenAColourChanges) {
    Renderer renderer;
    QSignalSpy spy(&renderer, &Renderer::FactorsChanged);

    renderer.SetScheme(Renderer::DefaultScheme());
    EXPECT_EQ(spy.count(), 0);

    RendererScheme dark = Renderer::DefaultScheme();
    dark.PanelBackColour = QColor(0x20, 0x20, 0x20);
    renderer.SetScheme(dark);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(renderer.PanelBackColour(), QColor(0x20, 0x20, 0x20));
    EXPECT_EQ(renderer.WindowBackColour(), Renderer::DefaultScheme().WindowBackColour);

    renderer.SetScheme(dark);
    EXPECT_EQ(spy.count(), 1);
}

TEST(Renderer, AnInvalidColourKeepsTheCurrentOne) {
    Renderer renderer;
    QSignalSpy spy(&renderer, &Renderer::FactorsChanged);
    renderer.SetScheme(RendererScheme{QColor(), QColor(), QColor()});
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(renderer.Scheme(), Renderer::DefaultScheme());

    renderer.SetScheme(RendererScheme{QColor(Qt::red), QColor(), QColor()});
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(renderer.WindowBackColour(), QColor(Qt::red));
    EXPECT_EQ(renderer.ContentBackColour(), Renderer::DefaultScheme().ContentBackColour);
}

TEST(RenderServices, OwnsOneRendererForItsLife) {
    auto services = std::make_unique<RenderServices>();
    Renderer* renderer = services->Renderer();
    ASSERT_NE(renderer, nullptr);
    EXPECT_EQ(services->Renderer(), renderer);
    QSignalSpy destroyed(renderer, &QObject::destroyed);
    services.reset();
    EXPECT_EQ(destroyed.count(), 1);
}

TEST(GraphicsRenderer, GivesTheDefaultUntilTheMainWindowHandsOverItsOwn) {
    Renderer& before = GraphicsRenderer();
    EXPECT_EQ(before.Scheme(), Renderer::DefaultScheme());
    EXPECT_EQ(&GraphicsRenderer(), &before); // one program-wide renderer

    auto services = std::make_unique<RenderServices>();
    HandOverGraphicsRenderer(services->Renderer());
    EXPECT_EQ(&GraphicsRenderer(), services->Renderer());

    HandOverGraphicsRenderer(nullptr);
    EXPECT_EQ(&GraphicsRenderer(), &before);
}

TEST(GraphicsRenderer, FallsBackToTheDefaultWhenTheHandedOverRendererIsGone) {
    Renderer& fallback = GraphicsRenderer();
    auto services = std::make_unique<RenderServices>();
    HandOverGraphicsRenderer(services->Renderer());
    services.reset(); // the main window unloads
    EXPECT_EQ(&GraphicsRenderer(), &fallback);
    EXPECT_EQ(GraphicsRenderer().Scheme(), Renderer::DefaultScheme());
}
