#pragma once

// Checks for internal states that must never happen. A release build logs and carries on
// (a crash during playback or recording would lose the user's work); tests abort.

enum class AssertMode { LogAndRecover, Abort };

void SetAssertMode(AssertMode mode);
void AssertFailed(const char* condition, const char* file, int line);

// Evaluates to the condition, so callers can recover: if (!RM_ASSERT(p)) return;
#define RM_ASSERT(cond) ((cond) ? true : (AssertFailed(#cond, __FILE__, __LINE__), false))
