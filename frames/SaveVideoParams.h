#pragma once

// CSaveVideoParams: one save request, from the question where and how to save to the saver
// that writes it: names, the frame range and step, the output kind and image type, and the
// callbacks that follow the save.

#include "frames/ISaveDoneCallback.h"
#include "platform/wintypes/Rect.h"

#include <QString>

// Called after each saved frame with the cookie and the percentage done; a return other than
// 1 stops the save.
using SaveProgressFn = int (*)(void* cookie, int percent);

class CSaveVideoParams {
public:
    static constexpr int kAvi = 1;
    static constexpr int kSequence = 2;
    static constexpr int kBatch = 3;
    static constexpr int kDataFile = 8;
    static constexpr int kBmp = 1;
    static constexpr int kTiff = 2;
    static constexpr int kJpeg = 3;

    CSaveVideoParams() { SetDefaults(); }
    virtual ~CSaveVideoParams() = default;
    CSaveVideoParams(const CSaveVideoParams&) = default;
    CSaveVideoParams& operator=(const CSaveVideoParams&) = default;

    void SetDefaults();
    // Names the output after name for a kind (1 AVI, 2 image sequence of imageType, 3 batch
    // set, 8 data file; other kinds keep the names) and stores the range and the tags.
    void SetOutputFormat(const QString& name, int kind, int imageType, int first, int last,
                         int skip, int reserved, int tag);
    // The extension of an image type with its dot (".bmp", ".tif", ".jpg"), empty for others.
    static QString ImageExtension(int imageType);
    // The frames from first to last in steps of skip + 1 (at least 1).
    int Step() const { return m_skip > 0 ? m_skip + 1 : 1; }

    QString m_sourcePath;
    QString m_outputPath;
    QString m_outputStem;
    QString m_firstWrittenFile;
    QString m_codecName;
    int m_firstFrame;
    int m_lastFrame;
    int m_zeroOffset;  // frames before frame number zero: numbers shown are index minus it
    int m_skip;
    int m_reserved;
    int m_digits;  // counter width of sequence names; <= 0: as many as the frame count has
    int m_outputKind;
    int m_imageType;
    int m_pixelFormat;  // 0: chosen from the source
    int m_quiet;        // 1 for a generated name: no JPEG question, no "cancelled" message
    CRect m_region1;
    CRect m_region2;
    int m_tag;
    ISaveDoneCallback* m_doneCallback;  // not owned
    SaveProgressFn m_progress;
    void* m_progressCookie;
    int m_notify;
    int m_notifyTag;
};
