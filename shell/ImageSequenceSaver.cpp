#include "shell/ImageSequenceSaver.h"

#include "frames/FrameSource.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/WinApp.h"
#include "shell/SaveSettings.h"
#include "shell/SliderNumberDlg.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kDefaultQuality = 100;
constexpr int kQuestionQuality = 75;

const char16_t* MimeType(int imageType) {
    switch (imageType) {
        case CSaveVideoParams::kTiff:
            return u"image/tiff";
        case CSaveVideoParams::kJpeg:
            return u"image/jpeg";
        default:
            return u"image/bmp";
    }
}

int DecimalDigits(int64_t value) {
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

}  // namespace

CImageSequenceSaver::CImageSequenceSaver(CFrameSource* source)
    : CFrameSaver(source, QStringLiteral("Bitmap Sequence (*.bmp)|*.bmp|JPEG Sequence "
                                         "(*.jpg)|*.jpg|TIFF Sequence (*.tif)|*.tif|")) {}

HRESULT CImageSequenceSaver::Save(CSaveVideoParams* params) {
    m_written.clear();
    if (!m_source || !params)
        return E_FAIL;
    int quality = JpegQualitySetting().value_or(kDefaultQuality);
    if (!params->m_quiet && params->m_imageType == CSaveVideoParams::kJpeg) {
        CSliderNumberDlg ask(IDD_JPEG_QUALITY, AfxGetMainWnd());
        ask.SetParameters(
            QStringLiteral("JPEG Quality"),
            QStringLiteral("Select JPEG quality.\nNOTE: JPEG is a lossy image format."), 1, 100,
            kQuestionQuality, 0);
        if (ask.DoModal() != IDOK)
            return E_FAIL;
        quality = ask.GetValue();
    }
    quality = std::clamp(quality, 1, 100);
    if (params->m_pixelFormat == 0)
        params->m_pixelFormat = m_source->GetBitCount() == 8 ? imaging::PixelFormat8bppIndexed
                                                             : imaging::PixelFormat24bppRGB;
    const int count = m_source->GetFrameCount();
    if (params->m_firstFrame < 0 || params->m_lastFrame < 0) {
        params->m_firstFrame = 0;
        params->m_lastFrame = count - 1;
    }
    const int first = params->m_firstFrame;
    const int last = params->m_lastFrame;
    const int width =
        params->m_digits > 0 ? params->m_digits : DecimalDigits(int64_t{last} - first + 1);
    if (first >= count || last >= count || first > last) {
        AfxMessageBox(QStringLiteral("Start and end frame numbers out of range."),
                      MB_ICONEXCLAMATION);
        return E_FAIL;
    }
    imaging::CodecId encoder;
    if (GetEncoderClsid(MimeType(params->m_imageType), &encoder) < 0)
        return E_FAIL;
    ULONG qualityValue = static_cast<ULONG>(quality);
    imaging::EncoderParameters jpegParams;
    jpegParams.Count = 1;
    jpegParams.Parameter[0].Guid = imaging::EncoderQuality;
    jpegParams.Parameter[0].NumberOfValues = 1;
    jpegParams.Parameter[0].Type = imaging::EncoderParameterValueTypeLong;
    jpegParams.Parameter[0].Value = &qualityValue;
    const bool jpeg = params->m_imageType == CSaveVideoParams::kJpeg;
    const QString extension = CSaveVideoParams::ImageExtension(params->m_imageType);

    CFrameImage image;
    const int step = params->Step();
    const int span = std::max(last - first, 1);
    QStringList names;
    QStringList temporaries;
    // Whether the save replaces files that exist: then an unfinished save keeps none of its own.
    bool overwrites = !m_replaced.isEmpty();
    m_replaced.clear();
    const auto finish = [&](bool complete) {
        if (complete || !overwrites)
            return TakeNames(temporaries, names) && complete;
        for (const QString& temporary : temporaries)
            QFile::remove(temporary);
        return false;
    };
    int n = 0;
    for (int64_t i = first; i <= last; i += step, ++n) {
        if (!m_source->GetFrame(static_cast<int>(i), &image, 0) || !image.GetBitmap()) {
            AfxMessageBox(QStringLiteral("Error reading from stream while saving."),
                          MB_ICONEXCLAMATION);
            finish(false);
            return E_FAIL;
        }
        const QString name = params->m_outputStem +
                             QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0')) + extension;
        if (n == 0)
            params->m_firstWrittenFile = name;
        overwrites = overwrites || QFileInfo::exists(name);
        const QString temporary = name + QStringLiteral(".saving");
        if (image.GetBitmap()->Save(temporary, &encoder, jpeg ? &jpegParams : nullptr) !=
            imaging::Ok) {
            AfxMessageBox(QStringLiteral("Error writing frame to file ") + name,
                          MB_ICONEXCLAMATION);
            finish(false);
            return E_FAIL;
        }
        names.append(name);
        temporaries.append(temporary);
        const int percent =
            static_cast<int>(std::min<int64_t>((i + step - first) * 100 / span, 100));
        if (params->m_progress && params->m_progressCookie &&
            params->m_progress(params->m_progressCookie, percent) != 1) {
            finish(false);
            return E_FAIL;
        }
    }
    return finish(true) ? S_OK : E_FAIL;
}

bool CImageSequenceSaver::TakeNames(const QStringList& temporaries, const QStringList& names) {
    for (qsizetype k = 0; k < temporaries.size(); ++k) {
        if (std::rename(QFile::encodeName(temporaries[k]).constData(),
                        QFile::encodeName(names[k]).constData()) != 0) {
            for (qsizetype rest = k; rest < temporaries.size(); ++rest)
                QFile::remove(temporaries[rest]);
            AfxMessageBox(QStringLiteral("Error writing frame to file ") + names[k],
                          MB_ICONEXCLAMATION);
            return false;
        }
        m_written.append(names[k]);
    }
    return true;
}
