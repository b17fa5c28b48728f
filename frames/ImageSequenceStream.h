#pragma once

// The stream object of a numbered image sequence (take0001.tif, take0002.tif, ... in BMP, TIFF
// or JPEG): one stream of frames over the files of one folder. The folder is listed once when
// the stream opens; the files found make a map from number to name, so neither the padding of
// the numbers nor gaps between them cost a probe per number.
//
// In file-list mode (the one the frame source uses) frame k is the k-th file in number order.
// In gap-keeping mode frame k is number lowest + k; a number without a file shows the nearest
// file before it (or else after it) stamped "Missing Frame".
//
// Frames come as device-independent bitmaps: BMP files as stored (8, 24 or 32 bits, rows in the
// file's order), TIFF and JPEG files bottom-up, 8-bit grey or palette levels, 16-bit grey
// through the bit window, everything else as 24-bit colour.

#include "platform/media/AviStreamBase.h"
#include "platform/wintypes/BitmapInfo.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class COpenFileEntries;
struct TiffCameraHeader;

class CImageSequenceStream : public CAviStreamBase {
public:
    // One file of the set.
    struct Member {
        int64_t number = 0;
        QString path;
    };

    HRESULT Create(LPARAM frameCount, LPARAM size) override;
    HRESULT Info(AviStreamInfo* info, LONG size) override;
    HRESULT ReadFormat(LONG position, void* format, LONG* size) override;
    HRESULT Read(LONG start, LONG samples, void* buffer, LONG bufferSize, LONG* bytesRead,
                 LONG* samplesRead) override;
    // BMP frames go from the file's bytes straight into the caller's rows.
    HRESULT ReadRows(LONG start, BYTE* first, ptrdiff_t step) override;

    // Every frame that is not missing gets its file's name drawn at its top left.
    void SetStampFileName(bool on) { m_stampFileName = on; }
    // Missing frames are frames not downloaded yet: they read as a blank pattern (black, the
    // top-left and bottom-right quarters grey) without touching any file.
    void SetNotDownloaded(bool on) { m_notDownloaded = on; }

    // The camera header block of the TIFF file that frame shows; false for other kinds, files
    // without one and frames outside the stream.
    bool GetCameraHeader(LONG frame, TiffCameraHeader* header);

    // The lowest number of the set (the first frame's recorded number is minus this).
    int64_t FirstNumber() const { return m_firstNumber; }

private:
    friend IAVIStream* OpenBatchSequence(const QString& path, std::vector<int>* batchStarts);
    friend IAVIStream* OpenImageSequence(const QString& path, int fileListMode, int lowest,
                                         int highest, int sixteenTo24);
    CImageSequenceStream() = default;
    ~CImageSequenceStream() override;
    // The stream over members with one reference, or null when the first is unreadable.
    static IAVIStream* Make(std::vector<Member> members, int fileListMode, int64_t firstNumber,
                            int frames, int sixteenTo24, bool batch);

    // The member shown as frame, and whether it stands in for a missing number; -1 when the
    // frame is outside the stream.
    int MemberOfFrame(LONG frame, bool* missing) const;
    // Reads the member's file and format into the cache (kept for the next call on the same
    // member): AVIERR_OK or the error of the file.
    HRESULT LoadMember(int member);
    // The format frame shows, or null with *error.
    const std::vector<BYTE>* FormatOfFrame(LONG frame, HRESULT* error);
    // The cached member's pixels into out (frameBytes, rows as the format gives them).
    HRESULT ReadPixels(const BITMAPINFOHEADER& header, BYTE* out, int64_t frameBytes);

    std::vector<Member> m_members;  // ascending numbers, one file per number
    int m_fileListMode = 1;
    int m_sixteenTo24 = 0;
    int m_bitShift = -1;
    int64_t m_firstNumber = 0;
    int m_width = 0;
    int m_height = 0;
    int m_frameCount = 0;
    bool m_batch = false;  // a batch set reports its frame rectangle
    bool m_stampFileName = false;
    bool m_notDownloaded = false;
    std::vector<BYTE> m_firstFormat;  // the first file's, read at open
    std::unique_ptr<COpenFileEntries> m_inUse;

    std::mutex m_cacheMutex;
    int m_cachedMember = -1;
    std::vector<BYTE> m_fileBytes;     // the cached member's whole file, the buffer kept
    QByteArray m_cachedBytes;          // the same bytes, for the decoders
    int64_t m_cachedPixelsAt = 0;      // where a BMP member's pixels begin
    std::vector<BYTE> m_cachedFormat;  // header and colour table
    int m_cachedKind = 0;
};

// The stream of the set that path belongs to, with one reference, or null when no file of the
// set is found or the first one is unreadable. fileListMode 1 skips numbers without a file;
// 0 keeps them as missing frames. lowest and highest (both other than -1) limit the numbers.
// sixteenTo24 makes 16-bit grey TIFF frames 24-bit (each sample as 5-5-5 colour) instead of
// 8-bit levels.
IAVIStream* OpenImageSequence(const QString& path, int fileListMode, int lowest, int highest,
                              int sixteenTo24);
// The stream of a batch set (shot[1of3]_0001.tif, shot[1of3]_0002.tif, shot[2of3]_0001.tif,
// ...): every file with the name before the '[' and the batch count of path, ordered by batch
// and then by number, with one reference, or null. *batchStarts gets the frame at which each
// batch starts; the first number is the first file's.
IAVIStream* OpenBatchSequence(const QString& path, std::vector<int>* batchStarts);
// The lowest number of the stream's set; 0 for a stream that is no image sequence.
int64_t GetImageSequenceFirstNumber(IAVIStream* stream);
// The camera header of the stream's first file (see CImageSequenceStream::GetCameraHeader).
bool GetImageSequenceCameraHeader(IAVIStream* stream, TiffCameraHeader* header);
// The base of a numbered file name without folder and extension: its trailing digits cut off
// (a '-' right before them goes with them), never its first character ("take-0001" -> "take",
// "take_0001" -> "take_", "0001" -> "0").
QString SequenceNameBase(const QString& title);
