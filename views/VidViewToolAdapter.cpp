#include "views/VidViewToolAdapter.h"

#include "frames/IDataChannel.h"
#include "frames/IFrameWindowAdapter.h"
#include "frames/IListenerList.h"
#include "frames/ProcessedFrameSource.h"
#include "frames/TriggerDataChannel.h"
#include "sensordata/model/SensorDataSet.h"

HRESULT CVidViewToolAdapter::CreateProcessed(const CFrameSourcePtr& inner, IIdUnknown** channel) {
    CDataChannel* made = nullptr;
    auto* source = new CProcessedFrameSource(inner, this, &made);
    Keep(source, made, made, made, channel);
    return S_OK;
}

HRESULT CVidViewToolAdapter::CreateProcessedEx(const CFrameSourcePtr& inner, HWND triggerWindow,
                                               IIdUnknown** channel) {
    CTriggerDataChannel* made = nullptr;
    auto* source = new CProcessedFrameSourceEx(inner, this, triggerWindow, &made);
    Keep(source, made, made, made, channel);
    return S_OK;
}

HRESULT CVidViewToolAdapter::OpenFor(IIdUnknown* asker, const QString& title) {
    auto* channel = QueryId<IDataChannel>(asker);
    if (!channel || !Host())
        return S_OK;
    CSensorDataRef data;
    CFrameSourcePtr source;
    channel->GetData(&data);
    channel->GetSource(&source);
    IIdUnknown* listener = nullptr;
    if (Host()->ShowData(data, title, &listener) != S_OK || !listener || source.IsEmpty())
        return S_OK;
    auto* windowNotifier = QueryId<INotifier>(listener);
    if (INotifier* sourceNotifier = source->GetNotifier(); sourceNotifier && windowNotifier)
        sourceNotifier->Connect(windowNotifier);
    return S_OK;
}

HRESULT CVidViewToolAdapter::GetSource(int, CFrameSourcePtr* out, IIdUnknown** channel) {
    if (!out || !channel)
        return E_POINTER;
    *channel = Channel();
    *out = Source();
    return S_OK;
}
