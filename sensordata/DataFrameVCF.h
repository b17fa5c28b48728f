#pragma once

// CDataFrameVCF: the hosted frame of every data window, data playback and live sensor data
// alike. Play groups and projects tell data windows from videos by this class: they arrange
// them in a band of their own.

#include "shell/ViewChildedFrameM.h"

class CDataFrameVCF : public CViewChildedFrameM {
    DECLARE_DYNCREATE(CDataFrameVCF)
};
