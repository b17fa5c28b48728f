#include "frames/ProcessedFrameSource.h"

#include "frames/IMessagePoster.h"
#include "frames/TriggerDataChannel.h"

#include <QImage>

CProcessedFrameSource::CProcessedFrameSource(const CFrameSourcePtr& inner,
                                             IDerivedSourceOwner* owner, CDataChannel** channel)
    : CProcessedFrameSource(inner, std::make_unique<CDataChannel>(owner)) {
    if (channel)
        *channel = m_channel.get();
}

CProcessedFrameSource::CProcessedFrameSource(const CFrameSourcePtr& inner,
                                             std::unique_ptr<CDataChannel> channel)
    : CLinkedFrameSource(inner), m_channel(std::move(channel)) {}

CProcessedFrameSource::~CProcessedFrameSource() = default;

double CProcessedFrameSource::MeanPixelValue(const CFrameImage& frame) {
    const imaging::Bitmap* bitmap = frame.GetBitmap();
    if (!bitmap)
        return 0.0;
    const QImage image = bitmap->AsQImage().convertToFormat(QImage::Format_RGB888);
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return 0.0;
    const int rowBytes = 3 * image.width();
    double sum = 0.0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        for (int i = 0; i < rowBytes; ++i)
            sum += row[i];
    }
    return sum / (static_cast<double>(rowBytes) * image.height());
}

bool CProcessedFrameSource::ProcessFrame(int, CFrameImage* frame) {
    m_channel->AddValue(MeanPixelValue(*frame));
    return true;
}

CProcessedFrameSourceEx::CProcessedFrameSourceEx(const CFrameSourcePtr& inner,
                                                 IDerivedSourceOwner* owner, HWND triggerWindow,
                                                 CTriggerDataChannel** channel)
    : CProcessedFrameSource(inner, std::make_unique<CTriggerDataChannel>(owner)) {
    auto* trigger = static_cast<CTriggerDataChannel*>(GetChannel());
    if (auto* poster = QueryId<IMessagePoster>(trigger))
        poster->SetWindow(triggerWindow);
    if (channel)
        *channel = trigger;
}
