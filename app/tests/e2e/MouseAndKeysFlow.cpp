#include "app/tests/e2e/E2eSupport.h"
#include "frames/CfgFileInfo.h"
#include "frames/SampleRecording.h"
#include "groups/FrameParentingView.h"
#include "groups/MeasurementView.h"
#include "platform/com/ComVariant.h"
#include "platform/media/tests/TestAviWriter.h"
#include "shell/HostedFrameWidget.h"
#include "shell/MainFrame.h"
#include "views/VidDoc.h"
#include "views/VidView.h"
#include "views/panels/PlayControlTab.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTest>

#include <cmath>

// The program driven with the mouse and the keyboard on its X server: hosted video windows are
// clicked, dragged and resized, a play group of two recordings plays in step, the Jump box
// takes Enter and Escape, and a second start of the program hands its file to the first.

namespace {

constexpr int kClipFrames = 40;

QString WriteClip(const QString& path) {
    TestAviLayout layout;
    layout.width = 64;
    layout.height = 48;
    layout.frames = kClipFrames;
    return WriteTestAvi(path, layout) ? path : QString();
}

// The sample recording at rate, with its side file.
bool WriteRecording(const QString& raw, int rate) {
    if (!CSampleRecording::Write(raw))
        return false;
    CCfgFileInfo info;
    info.m_firstFrame = CSampleRecording::kFirstFrame;
    info.m_rate = rate;
    info.m_rateHz = rate;
    info.m_exposureNs = 1000000000 / (2 * rate);
    QString cfg = raw;
    cfg.replace(QStringLiteral(".raw"), QStringLiteral(".cfg"));
    return info.Save(cfg) == 1;
}

// The frame a member at memberRate shows while the reference at referenceRate shows frame;
// both count from the sample's trigger frame.
int SynchronisedFrame(int frame, double referenceRate, double memberRate) {
    const int zero = -CSampleRecording::kFirstFrame;
    return static_cast<int>(std::trunc(memberRate * (frame - zero) / referenceRate)) + zero;
}

int PageFrame(CPlayControlTab* page) {
    return page->GetDlgItemText(CPlayControlTab::kFrameField).toInt();
}

QWidget* PageItem(CPlayControlTab* page, int id) {
    CWnd* item = page->GetDlgItem(id);
    return item ? item->GetQWidget() : nullptr;
}

// Types text into the page's Jump box and ends it with key.
void TypeIntoJump(CPlayControlTab* page, const QString& text, Qt::Key key) {
    QWidget* jump = PageItem(page, CPlayControlTab::kJumpField);
    ASSERT_NE(jump, nullptr);
    QTest::mouseClick(jump, Qt::LeftButton);
    QTest::keyClick(jump, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(jump, text);
    QTest::keyClick(jump, key);
}

// Presses at from inside widget, drags to to, releases there.
void DragInOneMove(QWidget* widget, QPoint from, QPoint to) {
    // One move: the events are given in the widget's co-ordinates, and the widget moves.
    QTest::mousePress(widget, Qt::LeftButton, {}, from);
    QTest::mouseMove(widget, to);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
}

CFrameWnd* TopFrame(CFrameParentingView* container) {
    CFrameWnd* saved = container->SetChildFrameCursor(nullptr);
    CFrameWnd* top = container->GetNextChildFrame();
    container->SetChildFrameCursor(saved);
    return top;
}

using MouseAndKeysFlow = ProgramTest;

TEST_F(MouseAndKeysFlow, AClickedVideoStaysInFrontAndItsWindowMovesAndResizes) {
    const QString clip = WriteClip(WorkPath(QStringLiteral("clip.avi")));
    ASSERT_FALSE(clip.isEmpty());
    CMainFrame* main = StartProgram({clip});
    ASSERT_NE(main, nullptr);
    CVidView* video = nullptr;
    CPlayControlTab* page = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        video = FindWindowOf<CVidView>();
        page = FindWindowOf<CPlayControlTab>();
        return video && page && page->GetQWidget()->isVisible();
    }));
    auto* group = FindWindowOf<CMeasurementView>();
    ASSERT_NE(group, nullptr);
    CFrameParentingView* container = group->GetContainer();
    CFrameWnd* videoFrame = video->GetParentFrame();
    auto* hosted = dynamic_cast<CHostedFrameWidget*>(videoFrame->GetQWidget());
    ASSERT_NE(hosted, nullptr);
    ASSERT_TRUE(WaitFor([&] { return TopFrame(container) == videoFrame; }));

    // A click on the picture, then one on the title bar: the video stays in front, its title
    // bar looks active, and the play control still runs the recording's whole timeline.
    QWidget* title = hosted->GetTitleBar();
    const struct {
        const char* what;
        QWidget* target;
        QPoint at;
    } clicks[] = {
        {"picture", video->GetQWidget(), QPoint(10, 10)},
        {"title bar", title, QPoint(30, title->height() / 2)},
    };
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.what);
        QTest::mouseClick(click.target, Qt::LeftButton, {}, click.at);
        WaitFor([] { return false; }, 200);
        EXPECT_EQ(TopFrame(container), videoFrame);
        EXPECT_EQ(group->GetActivePlaybackView(), video);
        EXPECT_TRUE(hosted->IsCaptionActive());
        int minimum = -1;
        int maximum = -1;
        page->GetRange(&minimum, &maximum);
        EXPECT_EQ(minimum, 0);
        EXPECT_EQ(maximum, kClipFrames - 1);
    }
    // The Fwd button steps the recording: no one-frame timeline refuses it.
    const int before = PageFrame(page);
    QTest::mouseClick(PageItem(page, 2005), Qt::LeftButton);
    EXPECT_TRUE(WaitFor([&] { return PageFrame(page) == before + 1; }, 3000));
    EXPECT_EQ(video->GetCurrentFrame(), before + 1);

    // The title bar drags the window, the right border widens it.
    const QPoint start = hosted->pos();
    DragInOneMove(title, QPoint(30, title->height() / 2), QPoint(90, title->height() / 2 + 40));
    EXPECT_EQ(hosted->pos(), start + QPoint(60, 40));
    const int width = hosted->width();
    QWidget* rightGrip = hosted->childAt(hosted->width() - 2, hosted->height() / 2);
    ASSERT_NE(rightGrip, nullptr);
    const QPoint inGrip =
        rightGrip->mapFrom(hosted, QPoint(hosted->width() - 2, hosted->height() / 2));
    DragInOneMove(rightGrip, inGrip, inGrip - QPoint(50, 0));
    EXPECT_EQ(hosted->width(), width - 50);
    EXPECT_EQ(TopFrame(container), videoFrame);
}

TEST_F(MouseAndKeysFlow, APlayGroupOfTwoRatesPlaysInStepAndTheJumpBoxTakesEnterAndEscape) {
    ASSERT_TRUE(WriteRecording(WorkPath(QStringLiteral("fast.raw")), 100));
    ASSERT_TRUE(WriteRecording(WorkPath(QStringLiteral("slow.raw")), 40));
    const QString groupPath = WorkPath(QStringLiteral("pair.playgrp"));
    {
        QFile file(groupPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("fast.raw\nslow.raw\n");
    }
    ASSERT_NE(StartProgram({groupPath}), nullptr);
    CMeasurementView* group = nullptr;
    CPlayControlTab* page = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        group = FindWindowOf<CMeasurementView>();
        page = FindWindowOf<CPlayControlTab>();
        return group && page && group->GetMemberCount() == 2 && group->GetMemberPlayback(1);
    }));
    CPlaybackView* fast = group->GetMemberPlayback(0);
    CPlaybackView* slow = group->GetMemberPlayback(1);
    ASSERT_EQ(group->GetActivePlaybackView(), slow) << "the last one opened is in front";

    // Enter in the Jump box jumps to that frame number (the trigger is frame 0); the other
    // member follows by the time since its own trigger.
    TypeIntoJump(page, QStringLiteral("60"), Qt::Key_Return);
    const int jumped = 60 - CSampleRecording::kFirstFrame;
    EXPECT_TRUE(WaitFor([&] { return slow->GetCurrentFrame() == jumped; }, 3000))
        << slow->GetCurrentFrame();
    EXPECT_EQ(fast->GetCurrentFrame(), SynchronisedFrame(jumped, 40, 100));

    // Escape in the box leaves the page where it is, and nothing moves.
    TypeIntoJump(page, QStringLiteral("10"), Qt::Key_Escape);
    WaitFor([] { return false; }, 200);
    ASSERT_NE(page->GetSafeHwnd(), nullptr);
    EXPECT_TRUE(page->GetQWidget()->isVisible());
    EXPECT_EQ(slow->GetCurrentFrame(), jumped);

    // Play, then Stop: both members went on together.
    QTest::mouseClick(PageItem(page, 2001), Qt::LeftButton);
    EXPECT_TRUE(WaitFor([&] { return slow->GetCurrentFrame() > jumped + 5; }, 5000));
    QTest::mouseClick(PageItem(page, 2003), Qt::LeftButton);
    int stopped = slow->GetCurrentFrame();
    WaitFor([&] {
        const int now = slow->GetCurrentFrame();
        const bool still = now == stopped;
        stopped = now;
        return still;
    });
    EXPECT_GT(slow->GetCurrentFrame(), jumped);
    EXPECT_EQ(fast->GetCurrentFrame(), SynchronisedFrame(slow->GetCurrentFrame(), 40, 100));
}

TEST_F(MouseAndKeysFlow, EachVideoClickedAndMarkedWithSynchronizeFollowsThePlayControl) {
    // Two recordings opened one after the other into one project: they share no group file,
    // so each follows by the synchronisation mark the user gives it.
    const QString fastPath = WorkPath(QStringLiteral("fast.raw"));
    const QString slowPath = WorkPath(QStringLiteral("slow.raw"));
    ASSERT_TRUE(WriteRecording(fastPath, 100));
    ASSERT_TRUE(WriteRecording(slowPath, 40));
    CMainFrame* main = StartProgram({fastPath});
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(main->SetSetting(QStringLiteral("AppBehave:bOpenInExisting"),
                               CComVariant(static_cast<LONG>(1)), -1),
              S_OK);
    CMeasurementView* group = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        group = FindWindowOf<CMeasurementView>();
        return group && group->GetMemberPlayback(0);
    }));
    m_app.OpenDocumentFile(slowPath);
    CPlayControlTab* page = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        page = FindWindowOf<CPlayControlTab>();
        return page && group->GetMemberCount() == 2 && group->GetMemberPlayback(1);
    }));
    auto* fast = dynamic_cast<CVidView*>(group->GetMemberPlayback(0));
    auto* slow = dynamic_cast<CVidView*>(group->GetMemberPlayback(1));
    ASSERT_TRUE(fast && slow);
    ASSERT_NE(fast->GetSourceName(), slow->GetSourceName());

    // Click each video and tick Synchronize while it is the active one.
    for (CVidView* video : {fast, slow}) {
        QTest::mouseClick(video->GetQWidget(), Qt::LeftButton, {}, QPoint(10, 10));
        // The play control takes over the clicked video's state, its Synchronize box included.
        ASSERT_TRUE(WaitFor(
            [&] {
                return group->GetActivePlaybackView() == video &&
                       group->GetPlayControl().GetSynchronize() ==
                           video->GetFrameNumberOrigin(nullptr);
            },
            3000));
        QWidget* synchronize = PageItem(page, 2007);
        ASSERT_NE(synchronize, nullptr);
        QTest::mouseClick(synchronize, Qt::LeftButton, {}, QPoint(4, synchronize->height() / 2));
        ASSERT_TRUE(WaitFor([&] { return video->GetFrameNumberOrigin(nullptr) != 0; }, 3000))
            << "no synchronisation mark";
    }

    // Jump with the slow one in front: both move, each by the time since its own mark.
    TypeIntoJump(page, QStringLiteral("20"), Qt::Key_Return);
    const int jumped = 20 - CSampleRecording::kFirstFrame;
    EXPECT_TRUE(WaitFor([&] { return slow->GetCurrentFrame() == jumped; }, 3000));
    int fastMark = 0;
    int slowMark = 0;
    fast->GetFrameNumberOrigin(&fastMark);
    slow->GetFrameNumberOrigin(&slowMark);
    EXPECT_EQ(fast->GetCurrentFrame(),
              static_cast<int>(std::trunc(100.0 * (jumped - slowMark) / 40.0)) + fastMark);
}

TEST_F(MouseAndKeysFlow, ASecondStartHandsItsFileToTheRunningProgram) {
    const QString first = WriteClip(WorkPath(QStringLiteral("first.avi")));
    const QString second = WriteClip(WorkPath(QStringLiteral("second.avi")));
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());
    CMainFrame* main = StartProgram({first});
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitFor([] { return FindWindowOf<CVidView>() != nullptr; }));

    // The restored main window is placed by its frame, so its title bar stays on the screen.
    main->ShowWindow(SW_RESTORE);
    main->MoveWindow(0, 0, 800, 600);
    QProcess hints;
    hints.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), QString::number(main->GetQWidget()->winId()),
                 QStringLiteral("WM_NORMAL_HINTS")});
    ASSERT_TRUE(hints.waitForFinished(10000));
    const QString normalHints = QString::fromLatin1(hints.readAllStandardOutput());
    EXPECT_TRUE(normalHints.contains(QStringLiteral("gravity: NorthWest")))
        << normalHints.toStdString();

    // The real program binary started again with a file: it ends, and the file opens here.
    QProcess secondStart;
    secondStart.setProcessChannelMode(QProcess::ForwardedChannels);
    secondStart.start(QStringLiteral(REELMARK_BINARY), {second});
    ASSERT_TRUE(secondStart.waitForStarted(10000));
    bool ended = false;
    const bool opened = WaitFor(
        [&] {
            ended = ended || secondStart.state() == QProcess::NotRunning;
            for (QWidget* widget : QApplication::allWidgets()) {
                auto* view = dynamic_cast<CVidView*>(CWnd::FromWidgetPermanent(widget));
                if (view && view->GetSourcePath() == second)
                    return ended;
            }
            return false;
        },
        30000);
    EXPECT_TRUE(opened) << "the second start's file did not open here";
    if (secondStart.state() != QProcess::NotRunning) {
        secondStart.kill();
        secondStart.waitForFinished(5000);
    }
    EXPECT_EQ(secondStart.exitStatus(), QProcess::NormalExit);
}

}  // namespace
