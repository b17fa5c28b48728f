#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing) and the locale the tests use.
# Sourced by run.sh, test.sh and bench.sh.
set -euo pipefail

RM_PACKAGES=(build-essential cmake ninja-build pkg-config ccache clang-format locales
  fonts-dejavu-core adwaita-icon-theme qt6-base-dev libqt6opengl6-dev qt6-charts-dev qt6-image-formats-plugins
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev libtiff-dev libturbojpeg0-dev
  libxlsxwriter-dev zlib1g-dev libopencv-core-dev libopencv-imgproc-dev libgtest-dev googletest
  libbenchmark-dev xvfb xauth)

rm_missing_packages() {
  local p
  for p in "${RM_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

rm_setup() {
  local missing
  missing=$(rm_missing_packages)
  if [ -n "$missing" ]; then
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing missing packages: $(echo $missing)"
    $sudo apt-get update
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
  fi
}

rm_setup_test_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
  fi
}

# Registers the run-time modules built in the build folder $1 (Levora) in the user's registry
# with regsvr; a module that was not built is left out.
rm_register_modules() {
  local build="$1"
  for module in "$build/lutcontrol/libLevora.so"; do
    if [ -f "$module" ] && [ -x "$build/platform/com/regsvr" ]; then
      "$build/platform/com/regsvr" "$module"
    fi
  done
}
