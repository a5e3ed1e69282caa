#!/usr/bin/env bash
# Builds the reader and starts it on the bundled anthology. The program works in a copy of
# data/ under ~/.local/share/odelane (made on the first run), so running it never changes the
# repository's own files.
set -euo pipefail
odelane_root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$odelane_root/scripts/deps.sh"

odelane_install_packages
odelane_build "$odelane_root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo

work="${XDG_DATA_HOME:-$HOME/.local/share}/odelane"
if [ ! -d "$work" ]; then
    mkdir -p "$work"
    cp -R "$odelane_root/data/." "$work/"
fi
cd "$work"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found; starting under xvfb-run." >&2
    exec xvfb-run -a "$odelane_root/build/bin/odelane"
fi
exec "$odelane_root/build/bin/odelane"
