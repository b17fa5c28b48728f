#include "groups/PlayStepTargets.h"

#include "frames/FrameSource.h"

namespace PlayStepTargets {

int Rewind(const CFrameSource* source, int frame, int zero, int count, int last) {
    if (source && source->HasSegments())
        return source->GetSegmentBoundary(frame, -1);
    if (source && source->IsBatch())
        return source->GetBatchBoundary(frame, -1);
    return zero >= 1 && zero < count && last > zero ? zero : 0;
}

int FastForward(const CFrameSource* source, int frame, int zero, int count, int last) {
    if (source && source->HasSegments())
        return source->GetSegmentBoundary(frame, 1);
    if (source && source->IsBatch())
        return source->GetBatchBoundary(frame, 1);
    return zero >= 1 && zero < count && last < zero ? zero : count - 1;
}

}  // namespace PlayStepTargets
