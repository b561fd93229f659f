#pragma once

#include "core/dialogs/frmgoodinputbox.h"
#include "core/printing/frmhtmlprintpreview.h"
#include "core/printing/templateprinting.h"
#include "core/program.h"
#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

// A messages database of the test's own as the program's, its templates replaced by the
// test's, and the template chooser (a list input box) answered by the test.
class TemplatePrintingTest : public ::testing::Test {
protected:
    struct Question {
        QString title;
        QStringList names;
        QString preselected;
    };

    void SetUp() override {
        const QString folder = TestHome() + QStringLiteral("/Messages");
        QDir().mkpath(folder);
        auto db = std::make_unique<OrlixDatabase>();
        db_ = db.get();
        Program::Instance().SetDatabase(std::move(db));
        db_->SetChangeWatch(0, 0);
        ASSERT_EQ(db_->OpenDatabase(folder, QString()), 0);
        for (const QString& category :
             {QStringLiteral("PrintMessage"), QStringLiteral("PrintPrizeWinners")}) {
            for (const QString& name : db_->GetTemplateList(category)) {
                bool ok = false;
                db_->RemoveTemplate(category, name, ok);
                ASSERT_TRUE(ok);
            }
        }
        TestDialogs().answerEvery<frmGoodInputBox>([this](frmGoodInputBox& box) {
            QComboBox* list = box.comboList();
            QStringList names;
            for (int i = 0; i < list->count(); ++i) {
                names << list->itemText(i);
            }
            questions_.push_back({box.windowTitle(), names, list->currentText()});
            if (!answer_) {
                box.cmdCancel()->click();
                return;
            }
            list->setCurrentIndex(list->findText(*answer_));
            box.cmdOk()->click();
        });
    }
    void TearDown() override {
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

    // A template file of the templates folder registered under category and name.
    void addTemplate(const QString& category, const QString& name, const QString& fileName,
                     const QByteArray& text) {
        QFile f(db_->TemplatesPath() + QLatin1Char('/') + fileName);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
        f.close();
        bool ok = false;
        db_->AddTemplate(category, name, fileName, ok);
        ASSERT_TRUE(ok);
    }

    std::shared_ptr<OrlixPrize> prizeWithWinners(int winners) {
        auto prize = db_->NewPrize();
        prize->SetTitle(QStringLiteral("Concert tickets"));
        prize->SetNumberSupplied(winners);
        bool ok = false;
        db_->StorePrize(*prize, ok);
        EXPECT_TRUE(ok);
        for (int i = 0; i < winners; ++i) {
            auto w = db_->NewPrizeWinner(*prize);
            w->SetWinnerReference(0);
            w->SetNotes(QStringLiteral("Line one\nLine  two"));
            db_->StorePrizeWinner(*w, ok);
            EXPECT_TRUE(ok);
        }
        return db_->GetPrize(prize->Reference(), true);
    }

    static std::unique_ptr<OrlixMessage> message(const QString& subject) {
        auto m = std::make_unique<OrlixMessage>();
        m->SetMessageBytes(BuildTextMessage(QStringLiteral("Ann <ann@example.org>"),
                                            QStringLiteral("studio@station.example"), subject,
                                            QStringLiteral("Play my song."), QDateTime()));
        return m;
    }

    static QList<frmHTMLPrintPreview*> previews() {
        QList<frmHTMLPrintPreview*> found;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* p = qobject_cast<frmHTMLPrintPreview*>(w); p != nullptr && p->isVisible()) {
                found << p;
            }
        }
        return found;
    }

    // The program's messages database, the test's own.
    OrlixDatabase* db_ = nullptr;
    std::vector<Question> questions_;
    std::optional<QString> answer_;
};
