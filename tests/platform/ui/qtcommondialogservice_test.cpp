#include "platform/ui/commondialogs.h"
#include "platform/ui/fontresolution.h"

#include "support/realcommondialogs.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>

#include <gtest/gtest.h>

#include <optional>

namespace {

// The real chooser, opened on a font and accepted as it opened: it shows the face this machine
// draws, with the font's weight, slant and size, and gives back exactly the font it was given,
// the stored name of a face no machine has included.
TEST(QtCommonDialogService, AChooserAcceptedUnchangedGivesBackTheFontItWasGiven) {
    ASSERT_TRUE(QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")));
    ASSERT_FALSE(QFontDatabase::hasFamily(QStringLiteral("Nowhere Grotesk")));
    const RealCommonDialogs real;
    for (const char* family : {"Nowhere Grotesk", "Liberation Sans"}) {
        for (const bool bold : {false, true}) {
            for (const bool italic : {false, true}) {
                for (const double points : {10.0, 14.0}) {
                    QFont given(QString::fromUtf8(family));
                    given.setPointSizeF(points);
                    given.setBold(bold);
                    given.setItalic(italic);
                    const std::string name = std::string(family) + (bold ? " bold" : "") +
                                             (italic ? " italic" : "") + " " +
                                             std::to_string(static_cast<int>(points));
                    QFont opened;
                    AnswerNextDialog<QFontDialog>(
                        [&](QFontDialog& chooser) { opened = chooser.currentFont(); }, true);
                    FontDialogRequest request;
                    request.initial = given;
                    request.withEffects = false;
                    const std::optional<FontAnswer> answer = CommonDialogs().askFont(request);
                    ASSERT_TRUE(answer.has_value()) << name;
                    EXPECT_EQ(answer->font, given) << name;
                    EXPECT_EQ(answer->font.family(), given.family()) << name;
                    EXPECT_EQ(answer->font.toString(), given.toString()) << name;
                    EXPECT_EQ(opened.family(), QFontInfo(given).family()) << name;
                    EXPECT_EQ(opened.bold(), bold) << name;
                    EXPECT_EQ(opened.italic(), italic) << name;
                    EXPECT_DOUBLE_EQ(opened.pointSizeF(), points) << name;
                }
            }
        }
    }
}

// A page is told the stored face, then the face drawn here, then a generic family.
TEST(FontResolution, APageIsGivenTheStoredFaceThenTheDrawnFaceThenAGenericFamily) {
    const QString drawn = QFontInfo(QFont(QStringLiteral("Nowhere Grotesk"))).family();
    ASSERT_FALSE(drawn.isEmpty());
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("Nowhere Grotesk"),
         QStringLiteral("\"Nowhere Grotesk\", \"%1\", sans-serif").arg(drawn)},
        {QStringLiteral("Liberation Sans"), QStringLiteral("\"Liberation Sans\", sans-serif")},
        {QStringLiteral("Liberation Serif"), QStringLiteral("\"Liberation Serif\", serif")},
        {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("\"DejaVu Sans Mono\", monospace")},
        {QStringLiteral("Odd \"Quoted\" \\ Face"),
         QStringLiteral("\"Odd \\\"Quoted\\\" \\\\ Face\", \"%1\", sans-serif").arg(drawn)},
        {QStringLiteral("  "), QString()},
    };
    for (const auto& [name, css] : cases) {
        EXPECT_EQ(FontResolution::CssFamilies(name), css) << name.toStdString();
    }
}

} // namespace
