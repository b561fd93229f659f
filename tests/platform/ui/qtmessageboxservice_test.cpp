#include "platform/ui/messagebox.h"
#include "platform/ui/qtmessageboxservice.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
struct Seen {
    bool found = false;
    Qt::TextFormat format = Qt::AutoText;
    QString text;
    int labelHeight = 0;
    int plainHeight = 0;
};

// Inspects the box the real service has open, then answers it as the user would.
Seen ShowAndInspect(const QString& text) {
    Seen seen;
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        seen.found = true;
        seen.format = box->textFormat();
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            seen.text = label->text();
            seen.labelHeight = label->heightForWidth(label->width());
            if (seen.labelHeight < 0) {
                seen.labelHeight = label->sizeHint().height();
            }
            // The height the text takes when every character is drawn literally.
            seen.plainHeight = QFontMetrics(label->font())
                                   .boundingRect(QRect(0, 0, label->width(), 100000),
                                                 Qt::TextWordWrap | Qt::AlignLeft, label->text())
                                   .height();
        }
        box->button(QMessageBox::Ok)->click();
    });
    QtMessageBoxService service;
    MessageBoxRequest request;
    request.text = text;
    request.icon = MsgIcon::Exclamation;
    request.caption = QStringLiteral("Orlix");
    const MsgResult result = service.show(request);
    EXPECT_EQ(result, MsgResult::OK) << text.toStdString();
    return seen;
}
} // namespace

TEST(QtMessageBoxService, OutsideTextIsShownLiterallyWithItsLineFeeds) {
    struct Case {
        const char* name;
        QString text;
        QString shown;
    };
    const QString sms =
        QStringLiteral("Do you want to save the changes you made to the Message '<b>bold</b> "
                       "&amp; more'?");
    const QString greeting =
        QStringLiteral("<h1><font color=red>PLAYOUT FAULT</font></h1><img src=x>");
    const QString unknown = QStringLiteral("From (<Unknown> )");
    const QString twoLines = QStringLiteral("The first line.\nThe <i>second</i> line.");
    const Case cases[] = {
        {"a forwarded SMS with markup", sms, sms},
        {"a playout greeting with a heading", greeting, greeting},
        {"the program's own place-holder", unknown, unknown},
        {"two lines joined by a line feed", twoLines, twoLines},
        {"an override in a quoted subject",
         QStringLiteral("Do you want to save the changes you made to the Message 'Ann\u202e'?"),
         QStringLiteral("Do you want to save the changes you made to the Message 'Ann'?")},
    };
    for (const Case& c : cases) {
        const Seen seen = ShowAndInspect(c.text);
        ASSERT_TRUE(seen.found) << c.name;
        EXPECT_EQ(seen.format, Qt::PlainText) << c.name;
        EXPECT_EQ(seen.text, c.shown) << c.name;
        // Rendered markup (a heading, a bold run, a block) would make the row taller than the
        // literal text's lines.
        EXPECT_NEAR(seen.labelHeight, seen.plainHeight, 2) << c.name;
    }
}
