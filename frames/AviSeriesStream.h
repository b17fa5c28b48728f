#pragma once

// The stream object of an AVI series: a long recording written as take.avi, take_01.avi,
// take_02.avi, ... read as one stream whose frames run through the files in order. Each member
// is found by the opened file's stem, "_" and a number of at least two digits, and the opened
// file's extension in any case; the count stops at the first number without a file.

#include "platform/media/AviFile.h"
#include "platform/media/AviStreamBase.h"

#include <QString>

#include <cstdint>
#include <vector>

class CAviSeriesStream : public CAviStreamBase {
public:
    HRESULT Create(LPARAM frameCount, LPARAM size) override;
    HRESULT Info(AviStreamInfo* info, LONG size) override;
    HRESULT ReadFormat(LONG position, void* format, LONG* size) override;
    HRESULT Read(LONG start, LONG samples, void* buffer, LONG bufferSize, LONG* bytesRead,
                 LONG* samplesRead) override;

    // The first frame of the file next to frame: direction below 1 the start of its file (with
    // a direction below 0, on a file's first frame, the start of the file before); 1 or more
    // the start of the next file. Always inside the series.
    int SegmentBoundary(int frame, int direction) const;

private:
    friend IAVIStream* OpenAviSeries(const QString& path);
    struct Member {
        QString path;
        PAVIFILE file = nullptr;
        IAVIStream* stream = nullptr;
        int64_t firstFrame = 0;
        int frames = 0;
    };
    CAviSeriesStream() = default;
    ~CAviSeriesStream() override;
    // The member holding frame (inside the series), and the frame's number within it.
    const Member& MemberOf(LONG frame, LONG* inFile) const;

    std::vector<Member> m_members;  // only files that opened, in series order
    int m_width = 0;
    int m_height = 0;
    int m_frameCount = 0;
};

// The member paths of the series that path starts: path itself, then the numbered files that
// exist, as spelled on disk.
std::vector<QString> FindAviSeriesMembers(const QString& path);
// True when path starts a series (its "_01" member exists).
bool IsAviSeriesStart(const QString& path);
// The series stream with one reference, or null after telling the user why: a member without
// a video stream, or members whose frames differ in size, depth or compression from the first
// file that opened. A member that cannot be opened is reported and left out.
IAVIStream* OpenAviSeries(const QString& path);
// CAviSeriesStream::SegmentBoundary of a series stream; -1 for any other stream.
int GetSeriesSegmentBoundary(IAVIStream* stream, int frame, int direction);
