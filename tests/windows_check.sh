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
# A fresh Wine session on the virtual display: one the tests left running (headless, without a
# display) would keep the window from showing.
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -w 2>/dev/null || true
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
winpath() { echo "Z:$1" | tr / '\\'; }
# MP3, 192 kbit/s, 44100 Hz, stereo, into the work folder.
printf '"8"\r\n"1"\r\n"1"\r\n"%s"\r\n"0"\r\n' "$(winpath "$work/out")" >"$program/setup.ini"
expected=$(cat "$program/setup.ini")

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -u
    cd "$1"
    "$WINE" brimwave.exe "$2" 2>>"$3/wine.log" &
    app=$!
    xdotool search --sync --name "^Brimwave$" >/dev/null
    sleep 3
    # The window is centred on the 1024 x 768 screen, at 164, 136.
    if [ -n "$4" ]; then
        ffmpeg -v error -y -f x11grab -draw_mouse 0 -video_size 696x495 -i "$DISPLAY+164,136" -frames:v 1 "$4"
    fi
    xdotool mousemove 744 551 click 1
    # The progress bar, ten times a second for three seconds.
    ffmpeg -v error -y -f x11grab -draw_mouse 0 -framerate 10 -video_size 361x13 -i "$DISPLAY+277,583" \
        -frames:v 30 "$3/bar-%02d.png"
    for i in $(seq 600); do
        [ -s "$3/out/clip.mp3" ] && ! pgrep -f conv.exe >/dev/null && break
        sleep 0.1
    done
    sleep 1
    xdotool mousemove 843 153 click 1
    for i in $(seq 100); do kill -0 $app 2>/dev/null || exit 0; sleep 0.1; done
    kill $app
    exit 1
' check "$program" "$(winpath "$work/clip.mp4")" "$work" "$shot" 2>>"$work/wine.log" ||
    fail "the program did not convert and exit ($(tail -n 5 "$work/wine.log"))"

looks=$(md5sum "$work"/bar-*.png | cut -d' ' -f1 | sort -u | wc -l)
[ "$looks" -ge 3 ] || fail "the bar did not move ($looks looks in 3 s)"
codec=$(ffprobe -v error -select_streams a:0 -show_entries stream=codec_name -of csv=p=0 "$work/out/clip.mp3")
[ "$codec" = mp3 ] || fail "the output is no MP3 ($codec)"
seconds=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$work/out/clip.mp3")
awk -v s="$seconds" 'BEGIN { exit !(s > 39 && s < 41) }' || fail "the output lasts $seconds s"
[ "$(cat "$program/setup.ini")" = "$expected" ] || fail "setup.ini differs: $(od -c "$program/setup.ini")"
echo "Windows program under Wine: OK ($looks looks of the bar)"
