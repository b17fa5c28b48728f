#include "groups/NotesFile.h"

#include "groups/RecordingNotes.h"

#include "frames/FileNames.h"
#include "tracking/sectioned/CheckedFile.h"
#include "tracking/sectioned/SectionedList.h"
#include "tracking/sectioned/StoredString.h"

#include "platform/framework/IPrompter.h"

#include <QFile>

#include <cstdio>

using sectioned_detail::ReadInt32;
using sectioned_detail::WriteInt32;

namespace {

constexpr int kVersion = 1;
constexpr int kVideoKind = 3;
constexpr int kDataKind = 2;
// A list section sizes its set before its items are read; no recording has more positions,
// and a damaged count must not claim the memory of a larger one.
constexpr int kMaxPositions = 1 << 27;
const char* const kEndItemText = "No0Comments0";

QString Header() {
    return QStringLiteral("Vidra Binary File %1.").arg(kVersion);
}

QString ListMarker(char kind, const char* name, const char* part) {
    return QLatin1Char(kind) + QStringLiteral("SECTION=") + QLatin1String(name) +
           QLatin1String(part);
}

QString GlobalMarker(char kind) {
    return QLatin1Char(kind) + QStringLiteral("SECTION=GLOBALNOTES") + QLatin1Char(kind);
}

bool IsImageSequence(const QString& extension) {
    static const QStringList kFrameFiles = {"bmp", "tif", "tiff", "jpg", "jpeg"};
    return kFrameFiles.contains(extension.toLower());
}

void ShowWriteError() {
    MessageBoxPrompt prompt;
    prompt.text = QStringLiteral("Could not create binary file.");
    prompt.caption = QStringLiteral("Write Error");
    prompt.type = MB_ICONEXCLAMATION;
    AfxPrompter().MessageBox(prompt);
}

void WriteListSection(CFile& file, const CRecordingNotes& notes, const CBitSet& set,
                      const char* name, int first, int last, int step) {
    const int bits = set.GetSize();
    first = std::max(first, 0);
    if (last < 0 || last >= bits)
        last = bits - 1;
    const int stride = std::max(step, 0) + 1;
    const int positions = last < first ? 0 : (last - first) / stride + 1;
    int noted = 0;
    for (int v = 0; v < positions; ++v)
        noted += set.TestBit(first + v * stride) ? 1 : 0;

    WriteStringToFile(file, ListMarker('!', name, "_LIST"));
    WriteInt32(file, 1);
    WriteInt32(file, positions);
    WriteInt32(file, noted);
    WriteInt32(file, noted);
    if (noted > 0) {
        WriteStringToFile(file, ListMarker('!', name, "_ITEMS"));
        const bool frames = &set == &notes.FrameSet();
        for (int v = 0; v < positions; ++v) {
            const int p = first + v * stride;
            QString text;
            if (!(frames ? notes.GetFrameNote(p, &text) : notes.GetDataNote(p, &text)))
                continue;
            WriteInt32(file, v);
            WriteInt32(file, 0);
            WriteStringToFile(file, text);
        }
        WriteInt32(file, -1);
        WriteInt32(file, -1);
        WriteStringToFile(file, QLatin1String(kEndItemText));
        WriteStringToFile(file, ListMarker('?', name, "_ITEMS"));
    }
    WriteStringToFile(file, ListMarker('?', name, "_LIST"));
}

// Positions the file at the length word of the first stored string text; false when absent.
bool SeekToSection(CFile& file, const QString& marker) {
    int64_t offset = 0;
    file.Seek(0, CFile::begin);
    if (!FindBinaryStoredStringInFile(file, marker, &offset) || offset < 4)
        return false;
    file.Seek(offset - 4, CFile::begin);
    return true;
}

// Reads one list section; true once its set was sized from the file.
bool ReadListSection(CFile& file, CRecordingNotes& notes, bool frames) {
    const char* name = frames ? "FRAMENOTES" : "DATANOTES";
    if (!SeekToSection(file, ListMarker('!', name, "_LIST")) ||
        !ReadStringFromFileAndCompare(file, ListMarker('!', name, "_LIST")))
        return false;
    int32_t lists = 0, positions = 0, noted = 0, notedAgain = 0;
    if (!ReadInt32(file, &lists) || !ReadInt32(file, &positions) || !ReadInt32(file, &noted) ||
        !ReadInt32(file, &notedAgain) || positions < 0 || positions > kMaxPositions)
        return false;
    if (frames)
        notes.ResetFrameNotes(positions);
    else
        notes.ResetDataNotes(positions);
    if (noted <= 0 || !ReadStringFromFileAndCompare(file, ListMarker('!', name, "_ITEMS")))
        return true;
    for (int i = 0; i < positions; ++i) {
        int32_t k = 0, list = 0;
        QString text;
        if (!ReadInt32(file, &k) || k < 0 || k >= positions || !ReadInt32(file, &list) ||
            !ReadStringFromFile(file, text))
            break;
        // An empty text is no note.
        if (text.isEmpty())
            continue;
        if (frames)
            notes.StoreFrameNote(k, text);
        else
            notes.StoreDataNote(k, text);
    }
    return true;
}

void ReadGlobalSection(CFile& file, CRecordingNotes& notes) {
    if (!SeekToSection(file, GlobalMarker('!')) ||
        !ReadStringFromFileAndCompare(file, GlobalMarker('!')))
        return;
    int32_t hasText = 0;
    QString text;
    if (ReadInt32(file, &hasText) && hasText != 0 && ReadStringFromFile(file, text))
        notes.SetGlobalNote(text);
}

}  // namespace

QString CNotesFile::SidePath(const QString& recordingPath, const QString& extension) {
    if (IsImageSequence(GetFileExtension(recordingPath)))
        return GetNumberlessBaseName(recordingPath) + QLatin1Char('.') + extension;
    return ReplaceExtension(recordingPath, extension);
}

bool CNotesFile::WriteNotes(const QString& recordingPath, const CRecordingNotes& notes, int kind,
                            int first, int last, int step) {
    const QString side = SidePath(recordingPath, kind == kDataKind ? QStringLiteral("ntd") : "ntv");
    const QString temporary = side + QStringLiteral(".saving");
    bool written = false;
    {
        CFile file;
        if (file.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) {
            try {
                WriteInt32(file, kVersion);
                WriteStringToFile(file, Header());
                if (kind == kVideoKind)
                    WriteListSection(file, notes, notes.FrameSet(), "FRAMENOTES", first, last,
                                     step);
                else if (kind == kDataKind)
                    WriteListSection(file, notes, notes.DataSet(), "DATANOTES", first, last, step);
                QString global;
                notes.GetGlobalNote(&global);
                WriteStringToFile(file, GlobalMarker('!'));
                WriteInt32(file, global.isEmpty() ? 0 : 1);
                if (!global.isEmpty())
                    WriteStringToFile(file, global);
                WriteStringToFile(file, GlobalMarker('?'));
                file.Close();
                written = true;
            } catch (const CException&) {
                file.Abort();
            }
        }
    }
    if (written && std::rename(QFile::encodeName(temporary).constData(),
                               QFile::encodeName(side).constData()) == 0)
        return true;
    QFile::remove(temporary);
    ShowWriteError();
    return false;
}

bool CNotesFile::SaveNotes(const QString& recordingPath, CRecordingNotes& notes, int kind) {
    if (!WriteNotes(recordingPath, notes, kind, -1, -1, 0))
        return false;
    notes.SetModified(false);
    return true;
}

int CNotesFile::ReadNotes(CFile& file, CRecordingNotes& notes) {
    const bool modified = notes.IsModified();
    int mask = 0;
    if (ReadListSection(file, notes, true))
        mask |= kFrameNotesRead;
    if (ReadListSection(file, notes, false))
        mask |= kDataNotesRead;
    ReadGlobalSection(file, notes);
    notes.SetModified(modified);
    return mask;
}

bool CNotesFile::ReadSideFile(const QString& recordingPath, int kind, CRecordingNotes& notes,
                              int* mask) {
    const QString extension = kind == kDataKind ? QStringLiteral("ntd") : "ntv";
    for (const QString& ext : {extension, QStringLiteral("au3")}) {
        CCheckedFile file;
        if (!file.Open(SidePath(recordingPath, ext), CFile::modeRead | CFile::typeBinary))
            continue;
        try {
            int32_t version = 0;
            QString header;
            if (!ReadInt32(file, &version) || version < 0 || version > kVersion ||
                !ReadStringFromFile(file, header))
                return false;
            *mask = ReadNotes(file, notes);
            return true;
        } catch (const CException&) {
            // What was read before the damage stays.
            return true;
        }
    }
    return false;
}

void CNotesFile::ReadVideoNotes(const QString& videoPath, CRecordingNotes& notes, int frameCount) {
    int mask = 0;
    if (!ReadSideFile(videoPath, kVideoKind, notes, &mask))
        return;
    if (!(mask & kFrameNotesRead)) {
        notes.ResizeFrameNotes(0);
        notes.ResetFrameNotes(frameCount);
    } else if (notes.FrameSet().GetSize() != frameCount) {
        notes.ResizeFrameNotes(frameCount);
    }
}

void CNotesFile::ReadDataNotes(const QString& dataPath, CRecordingNotes& notes, int frameCount,
                               int dataCount) {
    int mask = 0;
    if (!ReadSideFile(dataPath, kDataKind, notes, &mask))
        return;
    if (!(mask & kFrameNotesRead)) {
        notes.ResizeFrameNotes(0);
        notes.ResetFrameNotes(frameCount);
    } else if (notes.FrameSet().GetSize() != frameCount) {
        notes.ResizeFrameNotes(frameCount);
    }
    if (!(mask & kDataNotesRead)) {
        notes.ResizeDataNotes(0);
        notes.ResetDataNotes(dataCount);
    } else if (notes.DataSet().GetSize() < dataCount) {
        notes.ResizeDataNotes(dataCount);
    }
}
