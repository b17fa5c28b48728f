#pragma once

// The user settings a save reads from the main window's settings store; nothing when there is
// no store or the key holds no value.

#include <QString>

#include <optional>

// "AppBehave:bSaveAfterZero": the question before a new sequence is skipped when it is set.
std::optional<int> SaveAfterZeroSetting();
// "AppBehave:szSaveFilePrefix": the stem of generated save names.
std::optional<QString> SaveFilePrefixSetting();
// "AppBehave:lJPEGLossyQuality".
std::optional<int> JpegQualitySetting();
