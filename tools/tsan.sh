#!/usr/bin/env bash
# Builds the save tests with ThreadSanitizer in build/tsan and runs the saves whose streaming
# thread reads a frame source while the user-interface thread uses it too, and the derived
# source read on a second thread while the source under it steps. Arguments go to the test
# executables (e.g. --gtest_repeat=5).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh
rm_setup

cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRM_BUILD_BENCH=OFF -DRM_TSAN=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
  -DCMAKE_C_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread -DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread \
  >/dev/null
cmake --build build/tsan -j "${RM_JOBS:-2}" --target shell_tests media_tests frames_tests
export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/testsupport/tsan.supp"
build/tsan/shell/tests/shell_tests \
  --gtest_filter='*AviSaveWhileTheScreenRepaintsTheSameSource*:*AviSave*:*CancelledAvi*' "$@"
build/tsan/platform/media/tests/media_tests --gtest_filter='AviSaveGraphTest.*' "$@"
build/tsan/frames/tests/frames_tests \
  --gtest_filter='DerivedSourcesTest.DerivedSourceReadsOnAnotherThreadWhileItsInnerSourceSteps' "$@"
