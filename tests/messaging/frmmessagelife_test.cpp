// The e-mail window's own life: where it opens, where the focus goes first, Esc.
#include "emailwindowfixture.h"
#include "platform/system/formhelper.h"
#include "platform/ui/twips.h"
#include "support/waitfor.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QTest>
#include <QToolBar>

namespace {

QString storedPlacement(const std::shared_ptr<DirectoryContact>& user) {
    return user->Settings()
        .GetSetting(QString::fromUtf8(frmMessage::kPositionSetting), QString())
        .toString();
}

void storePlacement(const std::shared_ptr<DirectoryContact>& user, const QString& text) {
    user->Settings().SaveSetting(QString::fromUtf8(frmMessage::kPositionSetting), text, QString());
}

// Shown and activated as a user's click would; the first activation has run.
bool activate(QWidget* window) {
    window->show();
    window->activateWindow();
    return WaitFor([&] { return QApplication::activeWindow() == window; });
}

TEST_F(EmailWindow, WithoutAStoredPlaceTheWindowHasItsDesignSizeAndStoresNothing) {
    frmMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->size(), QSize(TwipsToPixels(11010), TwipsToPixels(6810)));
    EXPECT_EQ(storedPlacement(user), QString());
    // Closing keeps the place for the next window.
    ASSERT_TRUE(Forms::Unload(window));
    EXPECT_EQ(storedPlacement(user), FormHelper::GetPlacementText(window));
}

TEST_F(EmailWindow, NewWindowsLieWholeOnTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    // A main window reaching past the screen's right and bottom edges.
    QWidget main;
    main.setGeometry(area.left() + 40, area.top() + 40, area.width(), area.height());
    main.show(); // shown, it has the frame the message windows will have
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    program().SetMainWindow(&main);
    const auto settingsOfUser = [] { return directory().CurrentUser()->Settings(); };
    // No stored position; then the last window near the screen's bottom right corner.
    for (const bool stored : {false, true}) {
        if (stored) {
            frmMessage* last = newWindow();
            ASSERT_NE(last, nullptr);
            last->setGeometry(area.right() - last->width() / 2, area.bottom() - 40, last->width(),
                              last->height());
            Forms::Unload(last); // which stores its place
        } else {
            settingsOfUser().SaveSetting("MessageWindow.Position", QString(), QString());
        }
        frmMessage* window = newWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        EXPECT_TRUE(area.contains(window->frameGeometry()))
            << stored << ": " << window->frameGeometry().x() << "," << window->frameGeometry().y()
            << " " << window->frameGeometry().width() << "x" << window->frameGeometry().height()
            << " in " << area.width() << "x" << area.height();
        Forms::Unload(window);
    }
    program().SetMainWindow(nullptr);
}

TEST_F(EmailWindow, EachNewWindowCascadesFromTheLastAndStoresItsPlaceAtOnce) {
    QWidget main;
    main.setGeometry(0, 0, 780, 580);
    program().SetMainWindow(&main);
    const int step = TwipsToPixels(255);
    const int margin = TwipsToPixels(500);
    const struct {
        const char* what;
        QRect last;
        QPoint next;
    } cases[] = {
        {"a step on", {40, 50, 400, 300}, {40 + step, 50 + step}},
        {"near the bottom: from the top again", {40, 270, 400, 300}, {40 + step, margin}},
        {"near the right: from the left again", {360, 50, 400, 300}, {margin, 50 + step}},
    };
    for (const auto& c : cases) {
        storePlacement(user, QStringLiteral("%1,%2,%3,%4,0")
                                 .arg(c.last.x())
                                 .arg(c.last.y())
                                 .arg(c.last.width())
                                 .arg(c.last.height()));
        frmMessage* window = newWindow();
        ASSERT_NE(window, nullptr) << c.what;
        EXPECT_EQ(window->geometry().topLeft(), c.next) << c.what;
        EXPECT_EQ(window->size(), c.last.size()) << c.what;
        EXPECT_EQ(storedPlacement(user), FormHelper::GetPlacementText(window)) << c.what;
        // The next one steps on from this one.
        frmMessage* second = newWindow();
        ASSERT_NE(second, nullptr);
        EXPECT_NE(second->geometry().topLeft(), window->geometry().topLeft()) << c.what;
        for (frmMessage* w : {window, second}) {
            Forms::Unload(w);
        }
    }
    program().SetMainWindow(nullptr);
}

TEST_F(EmailWindow, TheFirstActivationPlacesTheFocus) {
    enum Target { To, Subject, Body };
    const struct {
        const char* what;
        bool received;
        const char* to;
        const char* subject;
        Target focus;
    } cases[] = {
        {"new and empty", false, "", "", To},
        {"a subject but nobody to send to", false, "", "Hi", To},
        {"a recipient, no subject", false, "bob@example.org", "", Subject},
        {"a recipient and a subject (a reply)", false, "bob@example.org", "RE: Hi", Body},
        {"read-only", true, "", "", Body},
    };
    for (const auto& c : cases) {
        std::shared_ptr<OrlixMessage> message;
        if (c.received) {
            message = received();
        } else {
            message = std::make_shared<OrlixMessage>();
            MimeMessage mime;
            mime.SetTo(QString::fromUtf8(c.to));
            mime.SetSubject(QString::fromUtf8(c.subject));
            mime.SetTextBody(QStringLiteral("Line one\nLine two"));
            message->SetCDOMessage(mime);
        }
        frmMessage* window =
            c.received ? open(message) : qobject_cast<frmMessage*>(NewMessage(message, 1).data());
        ASSERT_NE(window, nullptr) << c.what;
        ASSERT_TRUE(activate(window)) << c.what;
        EXPECT_TRUE(window->Activated()) << c.what;
        QWidget* expected = c.focus == To        ? static_cast<QWidget*>(window->ctlTo())
                            : c.focus == Subject ? static_cast<QWidget*>(window->txtSubject())
                                                 : static_cast<QWidget*>(window->wbBody());
        EXPECT_EQ(window->focusWidget(), expected) << c.what;
        if (c.focus == Body) {
            EXPECT_EQ(window->wbBody()->textCursor().position(), 0) << c.what;
        }
        // Later activations leave the focus where the user put it.
        window->txtSubject()->setFocus();
        window->FirstActivation();
        EXPECT_EQ(window->focusWidget(), window->txtSubject()) << c.what;
        window->Message()->SetEdited(false);
        Forms::Unload(window);
    }
}

TEST_F(EmailWindow, EscClosesFromEveryControlThroughTheCloseQuestion) {
    const struct {
        const char* what;
        int control; // 0 subject, 1 To, 2 body
        MsgResult answer;
        bool closes;
    } cases[] = {
        {"subject, Cancel", 0, MsgResult::Cancel, false},
        {"address box, Cancel", 1, MsgResult::Cancel, false},
        {"body, Cancel", 2, MsgResult::Cancel, false},
        {"body, No", 2, MsgResult::No, true},
    };
    for (const auto& c : cases) {
        TestMessageBoxes().clear();
        frmMessage* window = newWindow();
        ASSERT_NE(window, nullptr);
        window->ctlTo()->setText("bob@example.org");
        window->txtSubject()->setText("Hi");
        ASSERT_TRUE(activate(window)) << c.what;
        QWidget* control = c.control == 0   ? static_cast<QWidget*>(window->txtSubject())
                           : c.control == 1 ? static_cast<QWidget*>(window->ctlTo())
                                            : static_cast<QWidget*>(window->wbBody());
        control->setFocus();
        TestMessageBoxes().queue(c.answer);
        QTest::keyClick(control, Qt::Key_Escape);
        ASSERT_EQ(TestMessageBoxes().shown().size(), 1u) << c.what;
        EXPECT_EQ(TestMessageBoxes().shown()[0].text,
                  "Do you want to save the changes you made to the Message 'Hi'?");
        EXPECT_EQ(Forms::Contains(window), !c.closes) << c.what;
        if (!c.closes) {
            window->Message()->SetEdited(false);
            Forms::Unload(window);
        }
    }

    // A read-only window closes without a question.
    TestMessageBoxes().clear();
    frmMessage* readOnly = open(received());
    ASSERT_NE(readOnly, nullptr);
    ASSERT_TRUE(activate(readOnly));
    QTest::keyClick(readOnly->txtSubject(), Qt::Key_Escape);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_FALSE(Forms::Contains(readOnly));
}

TEST_F(EmailWindow, AtItsDesignSizeEveryControlLiesInsideItsFrameAndNoneOverlap) {
    const QString a = TestHome() + QStringLiteral("/running-order.txt");
    const QString b = TestHome() + QStringLiteral("/jingle.mp3");
    for (const QString& path : {a, b}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    frmMessage* editable = newWindow();
    ASSERT_TRUE(editable->AddAttachment(a));
    ASSERT_TRUE(editable->AddAttachment(b));
    auto personal = received();
    personal->SetPersonalOwner(user->Reference());
    frmMessage* readOnly = open(personal);
    for (frmMessage* window : {editable, readOnly}) {
        window->resize(TwipsToPixels(11010), TwipsToPixels(6810));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        QWidget* frame = window->ctlFrom()->parentWidget();
        EXPECT_TRUE(window->rect().contains(frame->geometry()));
        QList<QWidget*> shown;
        for (QWidget* w : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->isVisibleTo(window)) {
                shown.append(w);
            }
        }
        for (QWidget* w : shown) {
            EXPECT_TRUE(frame->rect().contains(w->geometry()))
                << w->metaObject()->className() << " " << w->objectName().toStdString();
            for (QWidget* other : shown) {
                if (other != w) {
                    EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                        << w->metaObject()->className() << " and "
                        << other->metaObject()->className();
                }
            }
        }
        // Both toolbars lie inside the window, apart from each other and from the frame, and
        // every tool the edit toolbar shows stands on it, none left to its overflow.
        QToolBar* main = window->toolbarMain();
        QToolBar* edit = window->toolBarEdit();
        EXPECT_TRUE(window->rect().contains(main->geometry()));
        EXPECT_FALSE(main->geometry().intersects(frame->geometry()));
        EXPECT_EQ(edit->isVisibleTo(window), window == editable);
        if (edit->isVisibleTo(window)) {
            EXPECT_TRUE(window->rect().contains(edit->geometry()));
            EXPECT_FALSE(edit->geometry().intersects(main->geometry()));
            EXPECT_FALSE(edit->geometry().intersects(frame->geometry()));
            int tools = 0;
            for (QAction* action : edit->actions()) {
                if (!action->isVisible() || action->isSeparator()) {
                    continue;
                }
                QWidget* tool = edit->widgetForAction(action);
                ASSERT_NE(tool, nullptr) << action->toolTip().toStdString();
                EXPECT_TRUE(tool->isVisibleTo(edit)) << action->toolTip().toStdString();
                EXPECT_TRUE(edit->rect().contains(tool->geometry()))
                    << action->toolTip().toStdString();
                ++tools;
            }
            EXPECT_GT(tools, 10);
        }
        EXPECT_EQ(window->lvwAttachments()->isVisibleTo(window), window == editable);
        EXPECT_EQ(window->cmdAttachments()->isVisibleTo(window), window == editable);
        EXPECT_EQ(window->picPersonal()->isVisibleTo(window), window == readOnly);
        // The answer buttons of the read-only window stand apart on their toolbar places.
        if (window == readOnly) {
            EXPECT_LT(window->cmdReply()->geometry().right(),
                      window->cmdReplyAll()->geometry().left());
            EXPECT_LT(window->cmdReplyAll()->geometry().right(),
                      window->cmdForward()->geometry().left());
        }
        const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
        if (!shots.isEmpty()) {
            const QString name = window == editable ? QStringLiteral("email-design-new.png")
                                                    : QStringLiteral("email-design-received.png");
            EXPECT_TRUE(window->grab().toImage().save(shots + QLatin1Char('/') + name));
        }
        // The body fills what the header leaves of the frame.
        QWidget* body = window->wbBody()->parentWidget();
        EXPECT_EQ(body->geometry().bottom(), frame->rect().bottom());
        EXPECT_EQ(window->wbBody()->geometry(), body->rect());
    }
    editable->Message()->SetEdited(false);
}

} // namespace
