#!/usr/bin/env bash
# Builds every target with sanitizers and runs all tests.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
rm_setup
rm_setup_test_locale

cmake --preset ci
cmake --build --preset ci
# Registered as run.sh does, but in a registry of the build's own: a module built with the
# sanitizers must never be what the user's program loads. Each test that needs the module
# registers it in its own registry as well.
REELMARK_REGISTRY_DIR="$PWD/build/ci/registry" rm_register_modules build/ci
ctest --preset ci "$@"
