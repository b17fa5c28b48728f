// A notes side-file read as the play group reads it for a video and for a data recording, then
// written back and read again: every noted position keeps a text, and what was read survives
// its own save.

#include "fuzz/FuzzSupport.h"
#include "groups/NotesFile.h"
#include "groups/RecordingNotes.h"

#include <cstdlib>

namespace {

void CheckPaired(const CRecordingNotes& notes) {
    QString text;
    for (int i = 0; i < notes.FrameSet().GetSize(); ++i)
        if (notes.FrameSet().TestBit(i) && (!notes.GetFrameNote(i, &text) || text.isEmpty()))
            std::abort();
    for (int i = 0; i < notes.DataSet().GetSize(); ++i)
        if (notes.DataSet().TestBit(i) && (!notes.GetDataNote(i, &text) || text.isEmpty()))
            std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFile(data, size, QStringLiteral("input.ntv"));
    const QString video = FuzzFile(nullptr, 0, QStringLiteral("input.avi"));
    CRecordingNotes notes;
    notes.ResetAll(16, 0);
    CNotesFile().ReadVideoNotes(video, notes, 16);
    if (notes.FrameSet().GetSize() != 16)
        std::abort();
    CheckPaired(notes);

    FuzzFile(data, size, QStringLiteral("input.ntd"));
    const QString recording = FuzzFile(nullptr, 0, QStringLiteral("input.mdat"));
    CRecordingNotes dataNotes;
    dataNotes.ResetAll(4, 64);
    CNotesFile().ReadDataNotes(recording, dataNotes, 4, 64);
    if (dataNotes.DataSet().GetSize() < 64)
        std::abort();
    CheckPaired(dataNotes);

    // What was read survives its own save.
    CNotesFile().SaveNotes(video, notes, 3);
    CRecordingNotes again;
    again.ResetAll(16, 0);
    CNotesFile().ReadVideoNotes(video, again, 16);
    QString a, b;
    notes.GetGlobalNote(&a);
    again.GetGlobalNote(&b);
    if (a != b || again.FrameSet().CountSet() != notes.FrameSet().CountSet())
        std::abort();
    return 0;
}
