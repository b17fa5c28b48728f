#pragma once

// IVideoAnalysis: the analysis objects of one video member (movie adapter and reference,
// feature set, analysis settings, export), made and wired to the member's view by the tracking
// layer, which sits above the groups, through CMeasurementFormDoc's analysis factory. The group
// only keeps them, index-aligned with its videos, and deletes them with the member.

class IVideoAnalysis {
public:
    virtual ~IVideoAnalysis() = default;
};
