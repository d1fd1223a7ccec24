#!/usr/bin/env bash
# The installed program, as a person gets it: a staged install (cmake --install with DESTDIR) is
# checked file by file and by the desktop's own validators; then the installed launcher runs on
# a virtual display with two files to open and its program folder read-only: a click on Convert
# converts both, a click on Exit saves the choices into the per-user configuration folder. Last,
# the Debian package is built and its dependencies read back.
#
# Usage: install_test.sh <build folder>
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
stage=$work/stage
program=$stage/usr/lib/brimwave
fail() { echo "FAIL: $*" >&2; exit 1; }
cleanup() {
    chattr -i "$program" 2>/dev/null || true
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
[ -x "$program/brimwave" ] || fail "no program in lib/brimwave"
[ "$(readlink -f "$program/data/conv")" = "$(readlink -f "$(command -v ffmpeg)")" ] || fail "data/conv is not the system's ffmpeg"
[ -s "$program/sound.wav" ] || fail "no sound.wav"
[ "$(readlink -f "$stage/usr/bin/brimwave")" = "$(readlink -f "$program/brimwave")" ] || fail "no launcher in bin"
for size in 16 24 32 48 64 128 256; do
    [ -s "$stage/usr/share/icons/hicolor/${size}x${size}/apps/brimwave.png" ] || fail "no ${size}px icon"
done
[ -s "$stage/usr/share/icons/hicolor/scalable/apps/brimwave.svg" ] || fail "no SVG icon"
desktop-file-validate "$stage/usr/share/applications/brimwave.desktop" || fail "desktop entry"
grep -q '^Exec=brimwave %F$' "$stage/usr/share/applications/brimwave.desktop" || fail "Exec takes no files"
grep -q '^MimeType=.*video/x-matroska;video/webm;' "$stage/usr/share/applications/brimwave.desktop" || fail "MKV and WebM are not offered"
appstreamcli validate --no-net "$stage"/usr/share/metainfo/*.metainfo.xml >/dev/null || fail "metainfo"

# Two clips to open, a home of its own, and a program folder that takes no file.
mkdir -p "$work/in" "$work/home"
for name in first second; do
    ffmpeg -v error -y -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=1" "$work/in/$name.mp4"
done
chmod a-w "$program"
chattr +i "$program" 2>/dev/null || true
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -u
    "$1/usr/bin/brimwave" "$2/in/first.mp4" "$2/in/second.mp4" &
    app=$!
    xdotool search --sync --name "^Brimwave$" >/dev/null
    sleep 1.5
    # The window is centred on the 1024 x 768 screen, at 164, 136: Convert, then Exit.
    xdotool mousemove 744 551 click 1
    for i in $(seq 100); do
        [ -s "$HOME/output/second.wma" ] && break
        sleep 0.1
    done
    sleep 1
    xdotool mousemove 843 153 click 1
    for i in $(seq 50); do kill -0 $app 2>/dev/null || exit 0; sleep 0.1; done
    kill $app
    exit 1
' install "$stage" "$work" || fail "the installed program did not convert and exit"
[ -s "$HOME/output/first.wma" ] && [ -s "$HOME/output/second.wma" ] || fail "the files given were not converted"
[ "$(stat -c %Y "$HOME/output/first.wma")" -le "$(stat -c %Y "$HOME/output/second.wma")" ] || fail "out of order"
[ ! -e "$program/setup.ini" ] || fail "settings written into the program folder"
printf '"8"\r\n"1"\r\n"1"\r\n"%s"\r\n"1"\r\n' "$HOME/output" | cmp -s - "$XDG_CONFIG_HOME/Brimwave/setup.ini" ||
    fail "setup.ini not in the configuration folder as expected"

# The Debian package and what it depends on.
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null) || fail "cpack"
depends=$(dpkg-deb --field "$work"/package/*.deb Depends)
for needed in libqt6widgets6 libqt6multimedia6 ffmpeg libavcodec-extra xdg-utils; do
    echo "$depends" | grep -q "$needed" || fail "the package does not depend on $needed"
done
echo "installed program: OK"
