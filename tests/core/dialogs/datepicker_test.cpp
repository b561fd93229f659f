#include "core/dialogs/frmdatepicker.h"
#include "dialogtestkit.h"
#include "platform/system/datetimehelper.h"
#include "platform/ui/textbox.h"
#include "support/enterbox.h"
#include "support/scripteddialogs.h"
#include "support/testhome.h"
#include "support/waitfor.h"

#include <QCalendarWidget>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimeEdit>

#include <gtest/gtest.h>

#include <functional>

namespace {
frmDatePicker& Picker(QDialog& d) {
    return *qobject_cast<frmDatePicker*>(&d);
}

enum class Mode { DateOnly, Hour, DateAndTime };
const char* NameOf(Mode m) {
    switch (m) {
    case Mode::DateOnly:
        return "date only";
    case Mode::Hour:
        return "hour";
    case Mode::DateAndTime:
        return "date and time";
    }
    return "";
}

DateTimeRecord Pick(const DateTimeRecord& start, Mode mode, ScriptedDialogs::Action action,
                    bool modal = true) {
    TestDialogs().queue(std::move(action));
    return frmDatePicker::SelectDate(start, mode != Mode::DateOnly, mode == Mode::Hour, modal);
}

DateTimeRecord At(int y, int m, int d, int seconds) {
    return DateTimeRecord{DateTimeHelper::DaySerial(QDate(y, m, d)), static_cast<float>(seconds)};
}

QTableView* CalendarView(frmDatePicker& p) {
    return p.MonthView1()->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
}

void FocusHours(frmDatePicker& p) {
    p.txtHours()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(WaitFor([&p] { return Focused() == p.txtHours(); }));
}

const DateTimeRecord kMarch10At1430 = At(2009, 3, 10, 14 * 3600 + 30 * 60);
} // namespace

TEST(frmDatePicker, EscAndTheCloseBoxGiveNoDateInEveryMode) {
    const std::function<void(QDialog&)> leaves[] = {
        [](QDialog&) { Press(Qt::Key_Escape); },
        [](QDialog& d) {
            Picker(d).MonthView1()->setFocus();
            Press(Qt::Key_Escape);
        },
        [](QDialog& d) { d.close(); },
    };
    for (const Mode mode : {Mode::DateOnly, Mode::Hour, Mode::DateAndTime}) {
        for (const auto& leave : leaves) {
            const DateTimeRecord r = Pick(kMarch10At1430, mode, [&leave](QDialog& d) {
                leave(d);
                EXPECT_FALSE(d.isVisible());
            });
            EXPECT_EQ(r, DateTimeRecord{}) << NameOf(mode);
        }
    }
}

TEST(frmDatePicker, EscInTheHoursBoxCancels) {
    const DateTimeRecord r = Pick(kMarch10At1430, Mode::Hour, [](QDialog& d) {
        FocusHours(Picker(d));
        Type(QStringLiteral("9"));
        Press(Qt::Key_Escape);
    });
    EXPECT_EQ(r, DateTimeRecord{});
}

TEST(frmDatePicker, ShowsTheControlsOfItsMode) {
    struct Case {
        Mode mode;
        bool time, hours;
    };
    for (const Case c : {Case{Mode::DateOnly, false, false}, Case{Mode::Hour, false, true},
                         Case{Mode::DateAndTime, true, false}}) {
        Pick(kMarch10At1430, c.mode, [&c](QDialog& d) {
            frmDatePicker& p = Picker(d);
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Select Date"));
            EXPECT_EQ(d.parentWidget(), nullptr);
            EXPECT_TRUE(p.MonthView1()->isVisible());
            EXPECT_EQ(p.dtTime()->isVisible(), c.time) << NameOf(c.mode);
            EXPECT_EQ(p.txtHours()->isVisible(), c.hours) << NameOf(c.mode);
            EXPECT_EQ(p.txtHoursMins()->isVisible(), c.hours) << NameOf(c.mode);
            EXPECT_EQ(p.lblTimeDesc()->isVisible(), c.time || c.hours) << NameOf(c.mode);
        });
    }
}

TEST(frmDatePicker, NoStartDateOpensOnNow) {
    for (const Mode mode : {Mode::Hour, Mode::DateAndTime}) {
        Pick(DateTimeRecord{0, 0}, mode, [](QDialog& d) {
            frmDatePicker& p = Picker(d);
            const QDateTime now = QDateTime::currentDateTime();
            const QDateTime before = now.addSecs(-120);
            EXPECT_TRUE(p.MonthView1()->selectedDate() == now.date() ||
                        p.MonthView1()->selectedDate() == before.date());
            const int shownHour = p.txtHours()->text().toInt();
            EXPECT_EQ(p.txtHours()->text().size(), 2);
            EXPECT_TRUE(shownHour == now.time().hour() || shownHour == before.time().hour());
            EXPECT_LE(std::abs(p.dtTime()->time().secsTo(now.time())), 120);
        });
    }
}

TEST(frmDatePicker, TypedHoursAreShownAsTwoDigitsWithinTheDay) {
    struct Case {
        QString typed;
        QString shown;
    };
    for (const Case& c :
         {Case{QStringLiteral("7"), QStringLiteral("07")},
          Case{QStringLiteral("99"), QStringLiteral("23")}, Case{QString(), QStringLiteral("00")},
          Case{QStringLiteral("1x"), QStringLiteral("01")},
          Case{QStringLiteral("ab"), QStringLiteral("00")},
          Case{QStringLiteral("123"), QStringLiteral("12")}}) {
        Pick(kMarch10At1430, Mode::Hour, [&c](QDialog& d) {
            frmDatePicker& p = Picker(d);
            FocusHours(p);
            EXPECT_EQ(p.txtHours()->selectedText(), QStringLiteral("14"));
            Press(Qt::Key_Delete);
            Type(c.typed);
            Press(Qt::Key_Tab); // leaves the box
            EXPECT_NE(Focused(), p.txtHours());
            EXPECT_EQ(p.txtHours()->text(), c.shown) << c.typed.toStdString();
        });
    }
}

TEST(frmDatePicker, LettersTypedIntoTheHoursDoNotAppear) {
    Pick(kMarch10At1430, Mode::Hour, [](QDialog& d) {
        frmDatePicker& p = Picker(d);
        FocusHours(p);
        Type(QStringLiteral("a"));
        EXPECT_EQ(p.txtHours()->text(), QStringLiteral("14"));
        Type(QStringLiteral("x8"));
        EXPECT_EQ(p.txtHours()->text(), QStringLiteral("8"));
    });
}

TEST(frmDatePicker, HourModeReturnsTheChosenDayAndWholeHour) {
    const DateTimeRecord r = Pick(kMarch10At1430, Mode::Hour, [](QDialog& d) {
        frmDatePicker& p = Picker(d);
        FocusHours(p);
        Type(QStringLiteral("7"));
        Press(Qt::Key_Tab);
        EXPECT_EQ(p.txtHours()->text(), QStringLiteral("07"));
        Click(p.cmdOK());
    });
    EXPECT_EQ(r, At(2009, 3, 10, 25200));
}

TEST(frmDatePicker, AnHourConfirmedWithoutLeavingTheBoxIsStillWithinTheDay) {
    struct Case {
        const char* name;
        std::function<void(frmDatePicker&)> confirm;
    };
    const Case cases[] = {
        {"Enter", [](frmDatePicker&) { Press(Qt::Key_Return); }},
        {"OK clicked from code", [](frmDatePicker& p) { p.cmdOK()->click(); }},
    };
    for (const Case& c : cases) {
        const DateTimeRecord r = Pick(kMarch10At1430, Mode::Hour, [&c](QDialog& d) {
            frmDatePicker& p = Picker(d);
            FocusHours(p);
            Type(QStringLiteral("99"));
            c.confirm(p);
        });
        EXPECT_EQ(r, At(2009, 3, 10, 23 * 3600)) << c.name;
    }
}

TEST(frmDatePicker, DateOnlyModeReturnsTheDayWithNoTime) {
    const DateTimeRecord r = Pick(kMarch10At1430, Mode::DateOnly, [](QDialog& d) {
        EXPECT_EQ(Picker(d).MonthView1()->selectedDate(), QDate(2009, 3, 10));
        Click(Picker(d).cmdOK());
    });
    EXPECT_EQ(r, At(2009, 3, 10, 0));
}

TEST(frmDatePicker, DateAndTimeConfirmedUnchangedReturnsTheStartRecord) {
    const DateTimeRecord r = Pick(kMarch10At1430, Mode::DateAndTime, [](QDialog& d) {
        frmDatePicker& p = Picker(d);
        EXPECT_EQ(p.MonthView1()->selectedDate(), QDate(2009, 3, 10));
        EXPECT_EQ(p.dtTime()->time(), QTime(14, 30));
        Click(p.cmdOK());
    });
    EXPECT_EQ(r, kMarch10At1430);
}

TEST(frmDatePicker, TheKeyboardPicksADayAndEnterOnTheCalendarConfirms) {
    const DateTimeRecord r = Pick(kMarch10At1430, Mode::DateOnly, [](QDialog& d) {
        frmDatePicker& p = Picker(d);
        ASSERT_TRUE(WaitFor([&p] { return p.MonthView1()->isAncestorOf(Focused()); }));
        Press(Qt::Key_Right);
        Press(Qt::Key_Down); // a week on
        EXPECT_EQ(p.MonthView1()->selectedDate(), QDate(2009, 3, 18));
        Press(Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(r, At(2009, 3, 18, 0));
}

TEST(frmDatePicker, ADoubleClickOnADayConfirms) {
    const DateTimeRecord r = Pick(kMarch10At1430, Mode::Hour, [](QDialog& d) {
        frmDatePicker& p = Picker(d);
        p.MonthView1()->setSelectedDate(QDate(2009, 3, 12));
        QTableView* view = CalendarView(p);
        ASSERT_NE(view, nullptr);
        const QRect cell = view->visualRect(view->currentIndex());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(r, At(2009, 3, 12, 14 * 3600));
}

TEST(frmDatePicker, TabMovesFromTheCalendarToTheTimeAndTheButton) {
    for (const Mode mode : {Mode::Hour, Mode::DateAndTime, Mode::DateOnly}) {
        Pick(kMarch10At1430, mode, [mode](QDialog& d) {
            frmDatePicker& p = Picker(d);
            ASSERT_TRUE(WaitFor([&p] { return p.MonthView1()->isAncestorOf(Focused()); }));
            QWidget* expected[] = {mode == Mode::Hour          ? static_cast<QWidget*>(p.txtHours())
                                   : mode == Mode::DateAndTime ? static_cast<QWidget*>(p.dtTime())
                                                               : p.cmdOK(),
                                   p.cmdOK()};
            // The calendar's own navigation may take a few presses before the focus leaves it.
            int presses = 0;
            while (p.MonthView1()->isAncestorOf(Focused()) && presses++ < 10) {
                Press(Qt::Key_Tab);
            }
            QWidget* first = Focused();
            EXPECT_TRUE(first == expected[0] || expected[0]->isAncestorOf(first)) << NameOf(mode);
            if (mode != Mode::DateOnly) {
                // The time box steps through its hour, minute and second first.
                presses = 0;
                do {
                    Press(Qt::Key_Tab);
                } while (Focused() == p.dtTime() && presses++ < 5);
                EXPECT_EQ(Focused(), p.cmdOK()) << NameOf(mode);
            }
            Press(Qt::Key_Space); // presses OK
            EXPECT_FALSE(d.isVisible());
        });
        EXPECT_NE(TestDialogs().shown().size(), 0U);
    }
}

TEST(frmDatePicker, ShownModalOrModelessAsAsked) {
    Pick(
        kMarch10At1430, Mode::DateOnly, [](QDialog&) {}, true);
    Pick(
        kMarch10At1430, Mode::DateOnly, [](QDialog&) {}, false);
    ASSERT_EQ(TestDialogs().shown().size(), 2U);
    EXPECT_TRUE(TestDialogs().shown()[0].modal);
    EXPECT_FALSE(TestDialogs().shown()[1].modal);
    EXPECT_EQ(TestDialogs().shown()[0].className, QStringLiteral("frmDatePicker"));
}

TEST(frmDatePicker, AStartRecordWithImpossibleSecondsStillOpens) {
    for (const float seconds : {-5.0F, 1.0e9F, std::numeric_limits<float>::quiet_NaN()}) {
        const DateTimeRecord r = Pick(DateTimeRecord{kMarch10At1430.Day, seconds}, Mode::Hour,
                                      [](QDialog& d) { Click(Picker(d).cmdOK()); });
        EXPECT_EQ(r.Day, kMarch10At1430.Day);
        EXPECT_GE(r.Seconds, 0.0F);
        EXPECT_LE(r.Seconds, 23.0F * 3600);
    }
}

// The hours are selected as the box is entered, by a click or by Tab: typing replaces them.
TEST(frmDatePicker, EnteringTheHoursSelectsThemToBeTypedOver) {
    for (const Entry how : {Entry::Click, Entry::Tab}) {
        Pick(At(2009, 3, 10, 5 * 3600), Mode::Hour, [how](QDialog& d) {
            frmDatePicker& p = Picker(d);
            ASSERT_EQ(p.txtHours()->text(), QStringLiteral("05"));
            p.MonthView1()->setFocus();
            ASSERT_TRUE(EnterBox(p.txtHours(), how)) << NameOf(how);
            Type(QStringLiteral("10"));
            EXPECT_EQ(p.txtHours()->text(), QStringLiteral("10")) << NameOf(how);
            Click(p.cmdOK());
        });
    }
}
