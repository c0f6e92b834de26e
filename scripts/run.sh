#!/usr/bin/env bash
# Installs what is missing, builds Vekta and starts it on the showcase
# document. Without a display it draws the showcase into a PNG instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
document=examples/showcase.vk1
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  picture=build/showcase.png
  echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): drawing $document into $picture instead."
  exec build/cli/vekta-cli export "$document" "$picture"
fi
exec build/app/vekta "$document"
