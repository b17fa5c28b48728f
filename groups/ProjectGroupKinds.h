#pragma once

// CProjectGroupKinds: the window classes by which a project tells its groups and their member
// views apart. The record controller and the device views live in higher layers, so the
// program's composition root names them at start-up; a kind left null is never found.

struct CRuntimeClass;

struct CProjectGroupKinds {
    const CRuntimeClass* playGroupView = nullptr;
    const CRuntimeClass* playGroupFrame = nullptr;
    const CRuntimeClass* recordControllerView = nullptr;
    const CRuntimeClass* recordControllerFrame = nullptr;
    // Views of playbacks shown in a play group; camera views are playback views too.
    const CRuntimeClass* playbackView = nullptr;
    const CRuntimeClass* cameraView = nullptr;
    const CRuntimeClass* sensorDataView = nullptr;
    // Hosted frames of the data windows: the base of them all, the data playback frame and
    // the live sensor frame.
    const CRuntimeClass* dataFrame = nullptr;
    const CRuntimeClass* dataPlayFrame = nullptr;
    const CRuntimeClass* sensorDataFrame = nullptr;
};
