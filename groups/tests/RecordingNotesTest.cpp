#include "groups/RecordingNotes.h"

#include "views/PlaybackView.h"

#include "platform/framework/DC.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

TEST(RecordingNotesTest, TextsFollowTheirFramesThroughInsertAndRemove) {
    CRecordingNotes notes;
    notes.ResetAll(10, 0);
    EXPECT_FALSE(notes.IsModified());
    notes.SetFrameNote(7, "seven");
    notes.SetFrameNote(2, "two");
    notes.SetFrameNote(5, "five");
    notes.SetFrameNote(5, "FIVE");
    notes.SetFrameNote(2, "");
    notes.SetFrameNote(-1, "ignored");
    notes.SetFrameNote(10, "beyond");
    EXPECT_TRUE(notes.IsModified());
    QString text;
    EXPECT_FALSE(notes.GetFrameNote(2, &text));
    ASSERT_TRUE(notes.GetFrameNote(5, &text));
    EXPECT_EQ(text, "FIVE");
    ASSERT_TRUE(notes.GetFrameNote(7, &text));
    EXPECT_EQ(text, "seven");
    EXPECT_EQ(notes.FrameSet().CountSet(), 2);
    EXPECT_FALSE(notes.GetFrameNote(7, nullptr));
}

TEST(RecordingNotesTest, UnchangedTextLeavesModifiedClear) {
    CRecordingNotes notes;
    notes.ResetAll(4, 4);
    notes.SetFrameNote(1, "a");
    notes.SetDataNote(2, "b");
    notes.SetGlobalNote("c");
    notes.SetModified(false);
    notes.SetFrameNote(1, "a");
    notes.SetDataNote(2, "b");
    notes.SetGlobalNote("c");
    notes.SetFrameNote(3, "");
    EXPECT_FALSE(notes.IsModified());
}

TEST(RecordingNotesTest, FindNotes) {
    CRecordingNotes notes;
    EXPECT_EQ(notes.FindFrameNote(0, false), -1);
    EXPECT_EQ(notes.FindDataNote(0, true), -1);
    notes.ResetAll(20, 20);
    notes.SetFrameNote(4, "x");
    notes.SetFrameNote(12, "y");
    EXPECT_EQ(notes.FindFrameNote(4, false), 12);
    EXPECT_EQ(notes.FindFrameNote(12, false), 12);
    EXPECT_EQ(notes.FindFrameNote(12, true), 4);
    EXPECT_EQ(notes.FindFrameNote(3, true), 3);
    EXPECT_EQ(notes.FindDataNote(5, false), 5);
}

TEST(RecordingNotesTest, ListenerCarriesTheNotesTag) {
    CRecordingNotes notes;
    EXPECT_EQ(notes.GetOverlayListener(nullptr), E_POINTER);
    COverlayListener* listener = nullptr;
    ASSERT_EQ(notes.GetOverlayListener(&listener), S_OK);
    int tag = 0;
    listener->GetTag(&tag);
    EXPECT_EQ(tag, 123456);
}

TEST(RecordingNotesTest, MarkerHitNeedsANoteTheCornerAndAGroupView) {
    CRecordingNotes notes;
    notes.ResetAll(5, 0);
    notes.SetFrameNote(2, "n");
    const CRect rect(100, 100, 300, 200);
    // Without a group view nothing is run.
    EXPECT_FALSE(notes.HitTestMarker(290, 190, rect, 2));
}

// The mark is a green 15 by 15 square in the rectangle's bottom-right corner, on noted frames.
TEST(RecordingNotesTest, MarkerShowsOnNotedFramesOnly) {
    CRecordingNotes notes;
    notes.ResetAll(5, 0);
    notes.SetFrameNote(2, "n");
    CPlaybackView playback;
    notes.SetPlaybackView(&playback);
    for (int frame : {1, 2}) {
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(Qt::black);
        playback.SetCurrentFrame(frame, 0);
        {
            CDC dc(&image);
            notes.DrawMarker(dc, CRect(0, 0, 50, 30));
        }
        const QRgb inside = image.pixel(42, 22);
        const bool marked = frame == 2;
        EXPECT_EQ(inside == qRgb(0, 255, 0), marked) << frame;
        EXPECT_EQ(image.pixel(34, 14), qRgb(0, 0, 0)) << "outside the square";
        EXPECT_EQ(image.pixel(50, 30), qRgb(0, 0, 0)) << "the corner itself is excluded";
        EXPECT_EQ(image.pixel(35, 15) == qRgb(0, 255, 0), marked) << "its top-left pixel";
    }
}

}  // namespace
