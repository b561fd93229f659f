#include "platform/ui/fontconversion.h"

#include <gtest/gtest.h>

#include <limits>

TEST(FontConversion, SizeStepsBecomePointSizesWithinOneToSeven) {
    const struct {
        qint32 step;
        double points;
    } cases[] = {{-3, 0},
                 {0, 0},
                 {1, 8},
                 {2, 10},
                 {3, 12},
                 {4, 14},
                 {5, 18},
                 {6, 24},
                 {7, 36},
                 {8, 36},
                 {std::numeric_limits<qint32>::max(), 36}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(FontConversion::StepPointSize(c.step), c.points) << c.step;
    }
}

TEST(FontConversion, AStandardFontSetsOnlyWhatItGives) {
    StdFont f;
    f.Name = QStringLiteral("  Courier New ");
    f.Size = 11.5;
    f.Bold = true;
    f.Strikethrough = true;
    const QFont q = FontConversion::ToQFont(f);
    EXPECT_EQ(q.family(), QStringLiteral("Courier New"));
    EXPECT_DOUBLE_EQ(q.pointSizeF(), 11.5);
    EXPECT_TRUE(q.bold());
    EXPECT_FALSE(q.italic());
    EXPECT_FALSE(q.underline());
    EXPECT_TRUE(q.strikeOut());

    // A font with no name or size (or a size that is none) leaves them to the widget.
    for (const double size : {0.0, -4.0, std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity()}) {
        StdFont blank;
        blank.Size = size;
        const QFont resolved =
            FontConversion::ToQFont(blank).resolve(QFont(QStringLiteral("Serif"), 17));
        EXPECT_EQ(resolved.family(), QStringLiteral("Serif")) << size;
        EXPECT_EQ(resolved.pointSize(), 17) << size;
    }
    StdFont huge;
    huge.Size = 1e12;
    EXPECT_DOUBLE_EQ(FontConversion::ToQFont(huge).pointSizeF(), 1000.0);
}

TEST(FontConversion, AScriptFontTakesItsSizeNameAndColour) {
    FontStyle f;
    f.Name = QStringLiteral("Arial");
    f.Size = 5;
    f.TextColour = 0x0000FF; // 0x00BBGGRR: red
    const QFont q = FontConversion::ToQFont(f);
    EXPECT_EQ(q.family(), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(q.pointSizeF(), 18);
    EXPECT_EQ(FontConversion::TextColour(f), QColor(255, 0, 0));
    f.TextColour = 0x01000000; // bits above the blue byte: no colour
    EXPECT_FALSE(FontConversion::TextColour(f).isValid());
}

TEST(FontConversion, AScriptFontStyleFlagIsOnForEveryNumberButZero) {
    const struct {
        qint32 stored;
        bool on;
    } cases[] = {
        {0, false}, {1, true}, {-1, true}, {2, true}, {std::numeric_limits<qint32>::min(), true}};
    for (const auto& c : cases) {
        // Each flag alone, so that one read the wrong way cannot hide behind another.
        FontStyle bold;
        bold.Bold = c.stored;
        FontStyle italic;
        italic.Italic = c.stored;
        FontStyle underline;
        underline.UnderLine = c.stored;
        FontStyle strike;
        strike.StrikeThru = c.stored;
        EXPECT_EQ(FontConversion::ToQFont(bold).bold(), c.on) << c.stored;
        EXPECT_EQ(FontConversion::ToQFont(italic).italic(), c.on) << c.stored;
        EXPECT_EQ(FontConversion::ToQFont(underline).underline(), c.on) << c.stored;
        EXPECT_EQ(FontConversion::ToQFont(strike).strikeOut(), c.on) << c.stored;
    }
}
