#!/usr/bin/env bash
# Starts the program on a copy of the bundled anthology and checks that it is still running a
# few seconds later: start-up (both windows, the anthology, the event loop) does not crash.
set -u
program=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$data/." "$work/"
cd "$work" || exit 1
QT_QPA_PLATFORM=offscreen timeout 4 "$program"
status=$?
if [ "$status" -ne 124 ]; then
    echo "the program ended during start-up with status $status" >&2
    exit 1
fi
echo "still running after 4 s"
