#include "core/printing/frmhtmlprintpreview.h"
#include "core/printing/printfile.h"

#include "platform/ui/forms.h"
#include "platform/web/webbrowser.h"
#include "support/scriptedcommondialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"
#include "support/waitfor.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QToolBar>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>

namespace {

class WebEngineHtmlPreviewTest : public ::testing::Test {
protected:
    void SetUp() override { owner_ = std::make_unique<QWidget>(); }
    void TearDown() override {
        owner_.reset(); // takes the previews it owns along
        QList<QPointer<QWidget>> left;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<frmHTMLPrintPreview*>(w) != nullptr) {
                left << w;
            }
        }
        for (const QPointer<QWidget>& w : left) {
            delete w.data();
        }
    }
    QString write(const QString& name, const QByteArray& html) {
        const QString path = TestHome() + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(html);
        return path;
    }
    // The calling order of the template printer: create, AddFileToDelete, PrintPreviewFile.
    QPointer<frmHTMLPrintPreview> preview(const QString& path) {
        QPointer<frmHTMLPrintPreview> form = new frmHTMLPrintPreview();
        form->AddFileToDelete(path);
        bool loaded = false;
        QObject::connect(form->WebBrowser1, &WebBrowser::LoadFinished, form, [&loaded, form](bool) {
            loaded = form->WebBrowser1->CurrentUrl().isLocalFile();
        });
        form->PrintPreviewFile(path, owner_.get(), false);
        EXPECT_TRUE(WaitFor([&] { return loaded; }));
        return form;
    }
    static QString pageText(frmHTMLPrintPreview* form) {
        QString text;
        bool done = false;
        form->WebBrowser1->View()->page()->toPlainText([&](const QString& t) {
            text = t;
            done = true;
        });
        WaitFor([&] { return done; });
        return text;
    }
    static QAction* button(frmHTMLPrintPreview* form, const char* key) {
        return form->toolbarMessages->findChild<QAction*>(QLatin1String(key));
    }

    std::unique_ptr<QWidget> owner_;
};

TEST_F(WebEngineHtmlPreviewTest, ShowsTheDocumentInAWindowOwnedByTheCaller) {
    const QString path = write(QStringLiteral("Winners.htm"), "<h1>Concert tickets</h1>");
    auto form = preview(path);
    ASSERT_TRUE(form);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Print Preview"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isWindow());
    EXPECT_FALSE(form->isModal());
    EXPECT_EQ(form->parentWidget(), owner_.get());
    EXPECT_EQ(form->cmdPrint->text(), QStringLiteral("&Print"));
    EXPECT_EQ(form->cmdPreview->text(), QStringLiteral("P&review"));
    EXPECT_TRUE(pageText(form).contains(QStringLiteral("Concert tickets")));
}

TEST_F(WebEngineHtmlPreviewTest, ClosingDeletesItsFiles) {
    const QString path = write(QStringLiteral("Winners.htm"), "<p>x</p>");
    auto form = preview(path);
    ASSERT_TRUE(form);
    form->AddFileToDelete(path); // twice: the second attempt fails silently
    form->AddFileToDelete(QString());
    EXPECT_EQ(form->FilesToDelete(), QStringList({path, path}));
    button(form, "close")->trigger();
    ASSERT_TRUE(WaitFor([&] { return form.isNull(); })); // closing frees the window
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST_F(WebEngineHtmlPreviewTest, ClosingTheOwnerClosesThePreview) {
    const QString path = write(QStringLiteral("Winners.htm"), "<p>x</p>");
    auto form = preview(path);
    ASSERT_TRUE(form);
    owner_.reset();
    EXPECT_TRUE(form.isNull());
    EXPECT_FALSE(QFileInfo::exists(path));
}

// A loaded form like every window: the window limit counts it, and the main window's close
// and logout passes unload it.
TEST_F(WebEngineHtmlPreviewTest, IsALoadedFormUntilItIsUnloaded) {
    const QString path = write(QStringLiteral("Winners.htm"), "<p>x</p>");
    auto form = preview(path);
    ASSERT_TRUE(form);
    EXPECT_EQ(Forms::OfKind<frmHTMLPrintPreview>(), QList<frmHTMLPrintPreview*>{form.data()});
    EXPECT_TRUE(Forms::Unload(form));
    EXPECT_FALSE(Forms::Contains(form));
    ASSERT_TRUE(WaitFor([&] { return form.isNull(); }));
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(WebEngineHtmlPreviewTest, ASecondWindowKeepsItsDocumentWhenTheFileGoes) {
    const QString path = write(QStringLiteral("Winners.htm"), "<p>second copy</p>");
    auto first = preview(path);
    auto second = preview(path);
    ASSERT_TRUE(first && second);
    first->close();
    ASSERT_TRUE(WaitFor([&] { return first.isNull(); }));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(pageText(second).contains(QStringLiteral("second copy")));
}

TEST_F(WebEngineHtmlPreviewTest, PrintButtonPrintsThroughThePrintDialog) {
    auto form = preview(write(QStringLiteral("Winners.htm"), "<h1>Concert tickets</h1>"));
    ASSERT_TRUE(form);
    TestCommonDialogs().queuePrint({true, false, QString()});
    form->cmdPrint->click();
    ASSERT_EQ(TestCommonDialogs().printRequests().size(), 1u);
    ASSERT_TRUE(WaitFor([&] { return !form->WebBrowser1->IsPrinting(); }));
    ASSERT_EQ(TestCommonDialogs().printedFiles().size(), 1);
    EXPECT_GT(QFileInfo(TestCommonDialogs().printedFiles().first()).size(), 0);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST_F(WebEngineHtmlPreviewTest, PreviewButtonShowsThePrintPreview) {
    auto form = preview(write(QStringLiteral("Winners.htm"), "<h1>Concert tickets</h1>"));
    ASSERT_TRUE(form);
    form->cmdPreview->click();
    ASSERT_EQ(TestCommonDialogs().previewFiles().size(), 1);
    EXPECT_GT(QFileInfo(TestCommonDialogs().previewFiles().first()).size(), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the hourglass is gone";
}

TEST_F(WebEngineHtmlPreviewTest, ToolbarButtonsByKey) {
    auto form = preview(write(QStringLiteral("Winners.htm"), "<p>x</p>"));
    ASSERT_TRUE(form);
    button(form, "pagesetup")->trigger();
    EXPECT_EQ(TestCommonDialogs().pageSetupCount(), 1);
    button(form, "save")->trigger();
    EXPECT_EQ(TestCommonDialogs().saveRequests().size(), 1u);
    form->toolbarMessages_ButtonClick(QStringLiteral("PageSetup"));
    EXPECT_EQ(TestCommonDialogs().pageSetupCount(), 2);
    form->toolbarMessages_ButtonClick(QStringLiteral("printsep"));
    EXPECT_TRUE(form->isVisible());
    ASSERT_NE(button(form, "save"), nullptr);
    EXPECT_EQ(button(form, "save")->toolTip(), QStringLiteral("Save"));
    EXPECT_EQ(button(form, "close")->text(), QStringLiteral("Close"));
}

TEST_F(WebEngineHtmlPreviewTest, ShowsPicturesOfTheDataTempFolder) {
    const QString temp = TestHome() + QStringLiteral("/Kestova/Orlix/Temp");
    auto form = std::make_unique<frmHTMLPrintPreview>();
    EXPECT_TRUE(form->WebBrowser1->ContentPolicy().MayLoad(
        QUrl::fromLocalFile(temp + QStringLiteral("/logo.png"))));
    EXPECT_FALSE(form->WebBrowser1->ContentPolicy().MayLoad(
        QUrl::fromLocalFile(TestHome() + QStringLiteral("/elsewhere/logo.png"))));
}

TEST_F(WebEngineHtmlPreviewTest, PrintFileLivesWhileItsPreviewIsOpen) {
    const QString path =
        WritePrintFile(QStringLiteral("Winners.htm"), QStringLiteral("<h1>Concert tickets</h1>"));
    ASSERT_FALSE(path.isEmpty());
    QPointer<frmHTMLPrintPreview> form = PreviewPrintFile(path, owner_.get(), QString());
    ASSERT_TRUE(WaitFor([&] {
        return !form->WebBrowser1->IsLoading() && form->WebBrowser1->CurrentUrl().isLocalFile();
    }));
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_TRUE(pageText(form).contains(QStringLiteral("Concert tickets")));
    form->close();
    ASSERT_TRUE(WaitFor([&] { return form.isNull(); }));
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(WebEngineHtmlPreviewTest, PreviewCanFollowTheLoad) {
    const QString path = write(QStringLiteral("Winners.htm"), "<p>x</p>");
    QPointer<frmHTMLPrintPreview> form = new frmHTMLPrintPreview();
    form->PrintPreviewFile(path, owner_.get(), true);
    ASSERT_TRUE(WaitFor([&] { return TestCommonDialogs().previewFiles().size() == 1; }));
}

} // namespace
