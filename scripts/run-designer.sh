#!/usr/bin/env bash
# Installs what is missing, builds, and starts the form designer. Without a display the designer
# runs on Qt's offscreen platform, walks through a typical edit and prints where its screenshots are.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  export QT_QPA_PLATFORM=offscreen
  exec build/release/bin/cvdesigner --walkthrough "${CV_SHOTS_DIR:-$PWD/build/screenshots}" "${@:-examples/demo.cvform}"
fi
exec build/release/bin/cvdesigner "${@:-examples/demo.cvform}"
