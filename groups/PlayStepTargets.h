#pragma once

// Where the rewind and fast-forward buttons of a play control go for one recording: a recording
// with segments or in batches steps between their boundaries; any other rewinds to its zero
// frame z when past it, else to 0, and fast-forwards to z when before it, else to its last
// frame. z counts only when 1 <= z < count.

class CFrameSource;

namespace PlayStepTargets {

// source may be null (a recording that is no video); last is the frame shown last.
int Rewind(const CFrameSource* source, int frame, int zero, int count, int last);
int FastForward(const CFrameSource* source, int frame, int zero, int count, int last);

}  // namespace PlayStepTargets
