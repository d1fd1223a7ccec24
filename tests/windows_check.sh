#!/usr/bin/env bash
# The Windows program as a person uses it, under Wine on a virtual display: started with an MP4
# to open, it shows its window (saved as the screenshot, when a file is named), converts the
# clip to MP3 with the bar moving when Convert is clicked, and Exit writes setup.ini with the
# bytes the Linux program writes for the same choices. The program folder is a copy in a folder
# whose name holds a space and a letter outside ASCII; its settings stay beside it.
#
# Usage: windows_check.sh <folder of brimwave.exe> [screenshot.png]
set -euo pipefail
bin=$(cd "$1" && pwd)
shot=${2:-}
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env"
source "$here/tests/windows_session.sh"
# A real window on the virtual display, whatever the caller's tests use.
unset QT_QPA_PLATFORM
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

program="$work/Brimwave é"
cp -r "$bin" "$program"
mkdir -p "$work/out"
ffmpeg -v error -y -f lavfi -i "testsrc=size=160x120:rate=10:duration=40" \
    -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=40" -c:v mpeg4 -c:a aac -shortest "$work/clip.mp4"
write_mp3_choices "$program/setup.ini" "$work/out"
expected=$(cat "$program/setup.ini")
convert_and_exit "$program/brimwave.exe" "$work/clip.mp4" "$work/out/clip.mp3" "$work" "$shot"

looks=$(md5sum "$work"/bar-*.png | cut -d' ' -f1 | sort -u | wc -l)
[ "$looks" -ge 3 ] || fail "the bar did not move ($looks looks in 3 s)"
expect_mp3_of "$work/out/clip.mp3" 40
[ "$(cat "$program/setup.ini")" = "$expected" ] || fail "setup.ini differs: $(od -c "$program/setup.ini")"
echo "Windows program under Wine: OK ($looks looks of the bar)"
