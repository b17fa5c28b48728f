#pragma once

// CNotesFile: reads and writes the notes side-file that lies beside a recording ("ntv" for a
// video, "ntd" for a data recording; the frames of an image sequence share one, named after the
// sequence's base name). Stateless: one is made on the stack for each read or write.
//
// Layout, little-endian: int32 version 1, the stored header string, the list section of the
// recording's kind, the global-note section. Sections are found by their markers, so their
// order in a file does not matter.

#include <QString>

class CFile;
class CRecordingNotes;

class CNotesFile {
public:
    // Section masks of ReadNotes.
    static constexpr int kFrameNotesRead = 0x400;
    static constexpr int kDataNotesRead = 0x800;

    virtual ~CNotesFile() = default;

    // The side file of a recording with the side extension given.
    static QString SidePath(const QString& recordingPath, const QString& extension);

    // Writes the positions first, first + step + 1, ... up to last of the kind's notes (first
    // below 0 means 0, last below 0 or beyond the set means the set's last position). Writes
    // a temporary file and renames it over the side file, so a failed write leaves the old
    // one; on failure shows "Could not create binary file." and answers false.
    bool WriteNotes(const QString& recordingPath, const CRecordingNotes& notes, int kind, int first,
                    int last, int step);
    // The whole recording; clears the modified flag only when the file was written.
    bool SaveNotes(const QString& recordingPath, CRecordingNotes& notes, int kind);

    // Open the side file (or its ".au3" stand-in) and read it into notes. A missing or
    // unreadable file leaves the state the caller gave. A stored note set of another size is
    // brought to the recording's size, keeping the notes that lie inside it.
    void ReadVideoNotes(const QString& videoPath, CRecordingNotes& notes, int frameCount);
    void ReadDataNotes(const QString& dataPath, CRecordingNotes& notes, int frameCount,
                       int dataCount);
    // Reads the sections of an open file positioned behind its header; the modified flag is
    // kept. The result masks which list sections were found and read.
    int ReadNotes(CFile& file, CRecordingNotes& notes);

private:
    // True with the notes read when the side file opened and its header read.
    bool ReadSideFile(const QString& recordingPath, int kind, CRecordingNotes& notes, int* mask);
};
