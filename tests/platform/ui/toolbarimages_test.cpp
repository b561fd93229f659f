#include "platform/ui/imagelist.h"
#include "platform/ui/toolbarimages.h"

#include <gtest/gtest.h>
#include <QImage>

namespace {
bool drawn(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                return true;
            }
        }
    }
    return false;
}
} // namespace

// Every key the toolbars use has a drawn 16x16 picture, not a blank or missing one.
TEST(ToolbarImages, EveryToolbarKeyHasADrawnPicture) {
    ImageList images;
    FillToolbarImages(images);
    const char* const used[] = {// messages pane
                                "email", "sms", "open", "reply", "replyall", "forward", "disk",
                                "print", "delete", "folderadd", "folderexport", "help",
                                // e-mail and SMS windows
                                "send", "save", "copymessage", "movemessage", "history", "undo",
                                "redo", "cut", "copy", "paste", "font", "resetfont", "bold",
                                "italic", "underline", "strikethrough", "bulletlist",
                                "addattachment", "hyperlink", "internet", "spell"};
    for (const char* key : used) {
        const QPixmap picture = images.ListImages(QLatin1String(key));
        ASSERT_FALSE(picture.isNull()) << key;
        EXPECT_EQ(picture.size(), QSize(16, 16)) << key;
        EXPECT_TRUE(drawn(picture.toImage())) << key;
    }
    for (const QString& key : ToolbarImageKeys()) {
        EXPECT_TRUE(images.Contains(key)) << key.toStdString();
    }
}
