#pragma once

// IDataFrame: what a project asks of the hosted frame of a data window: its mode value. A data
// playback frame whose mode is 1 belongs to the record side, and activating it shows the
// project's record group. The data frames implement it; this layer never sees their classes.

class IDataFrame {
public:
    virtual int GetFrameMode() const = 0;

protected:
    ~IDataFrame() = default;
};
