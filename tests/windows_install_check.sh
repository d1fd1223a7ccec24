#!/usr/bin/env bash
# The Windows packages as a person uses them, under Wine in a Wine prefix of their own and with
# nothing of the toolchain on the path (the packages must hold all the program loads):
# - the installer, silently (/S): the program in Program Files, its Start-menu entry, "Open with"
#   for MP4 (whose default stays as it was) and its entry in Apps & features; the program,
#   started as the Start-menu entry names it, converts a queued MP4 and keeps its settings in
#   %APPDATA%\Brimwave, while nothing in Program Files is written;
# - the uninstaller, silently: the program, its entries and its shortcut go; the settings and
#   the converted file stay;
# - the zip, under 40 MB and without debugging symbols, unpacked into a folder whose name holds a
#   space and a letter outside ASCII: the program runs from there and keeps its settings beside
#   itself.
# Usage: windows_install_check.sh <setup.exe> <zip>   (KEEP_WORK=1 keeps its work folder and prefix)
set -euo pipefail
setup=$(readlink -f "$1")
zip=$(readlink -f "$2")
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env"
source "$here/tests/windows_session.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
[ -z "${KEEP_WORK:-}" ] || echo "work folder: $work" >&2
export WINEPREFIX=$work/prefix
unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM
trap '"$WINESERVER" -k 2>/dev/null || true; [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"' EXIT
"$WINE" wineboot --init >/dev/null 2>&1
"$WINESERVER" -w
drive=$WINEPREFIX/drive_c
reg_query() { "$WINE" reg query "$@" 2>/dev/null | tr -d '\r'; }
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brimwave'
ffmpeg -v error -y -f lavfi -i "testsrc=size=160x120:rate=10:duration=20" \
    -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=20" -c:v mpeg4 -c:a aac -shortest "$work/clip.mp4"

# Installed, silently.
"$WINE" "$setup" /S
"$WINESERVER" -w
installed="$drive/Program Files/Brimwave"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Brimwave.lnk"
for file in brimwave.exe data/conv.exe sound.wav uninstall.exe; do
    [ -f "$installed/$file" ] || fail "the installer put no $file into Program Files"
done
[ -f "$shortcut" ] || fail "no Start-menu entry"
entry=$(reg_query "$uninstall_key")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$here/build-win/CMakeCache.txt")
for value in "DisplayVersion *REG_SZ *$version\$" "Publisher *REG_SZ *Brimwave\$" "EstimatedSize *REG_DWORD *0x[0-9a-f]*[1-9a-f]" \
    'UninstallString *REG_SZ *"C:\\Program Files\\Brimwave\\uninstall.exe"'; do
    grep -q "$value" <<<"$entry" || fail "Apps & features lacks $value: $entry"
done
reg_query 'HKLM\Software\Classes\.mp4\OpenWithProgids' | grep -q 'Brimwave.Media' || fail "no Open with for .mp4"
! reg_query 'HKLM\Software\Classes\.mp4' /ve | grep -q 'Brimwave' || fail "the installer took .mp4's default"

# The program, as the Start-menu entry names it, keeps its settings in the user's folder.
target=$(tr -c '[:print:]' '\n' <"$shortcut" | grep -m1 -i '^C:\\.*\\brimwave\.exe$') ||
    fail "the Start-menu entry names no brimwave.exe"
program="$drive/$(echo "${target#C:\\}" | tr '\\' /)"
settings="$drive/users/$(whoami)/AppData/Roaming/Brimwave"
mkdir -p "$settings" "$work/out"
write_mp3_choices "$settings/setup.ini" "$work/out"
expected=$(cat "$settings/setup.ini")
touch -d '2000-01-01' "$settings/setup.ini"
touch "$work/before-the-run"
convert_and_exit "$program" "$work/clip.mp4" "$work/out/clip.mp3" "$work"
expect_mp3_of "$work/out/clip.mp3" 20
[ "$settings/setup.ini" -nt "$work/before-the-run" ] || fail "Exit wrote no setup.ini in %APPDATA%\\Brimwave"
[ "$(cat "$settings/setup.ini")" = "$expected" ] || fail "setup.ini differs: $(od -c "$settings/setup.ini")"
written=$(find "$installed" -newer "$work/before-the-run")
[ -z "$written" ] || fail "the program wrote into Program Files: $written"

# Uninstalled, silently: what the installer put there goes, the user's files stay.
"$WINE" "$installed/uninstall.exe" /S
"$WINESERVER" -w
[ ! -e "$installed" ] || fail "the uninstaller left $(find "$installed")"
[ ! -e "$shortcut" ] || fail "the uninstaller left the Start-menu entry"
! "$WINE" reg query "$uninstall_key" >/dev/null 2>&1 || fail "the uninstaller left the Apps & features entry"
! reg_query 'HKLM\Software\Classes\.mp4\OpenWithProgids' | grep -q 'Brimwave' || fail "the uninstaller left Open with"
[ -f "$settings/setup.ini" ] || fail "the uninstaller removed the settings"
[ -f "$work/out/clip.mp3" ] || fail "the uninstaller removed a converted file"

# The zip, unpacked where a path holds a space and a letter outside ASCII: portable.
portable="$work/Mes programmes é"
mkdir -p "$portable" "$work/out2"
(cd "$portable" && cmake -E tar xf "$zip")
# Lean: no debugging symbols in what a user downloads.
while read -r file; do
    sections=$(x86_64-w64-mingw32-objdump -h "$file")
    [[ $sections != *' .debug_'* ]] || fail "$(basename "$file") carries debugging symbols"
done < <(find "$portable" \( -iname '*.dll' -o -iname '*.exe' \))
zip_bytes=$(stat -c %s "$zip")
[ "$zip_bytes" -lt 40000000 ] || fail "the zip is $zip_bytes bytes, over 40 MB"
write_mp3_choices "$portable/Brimwave/setup.ini" "$work/out2"
expected=$(cat "$portable/Brimwave/setup.ini")
cp -p "$settings/setup.ini" "$work/users-settings"
convert_and_exit "$portable/Brimwave/brimwave.exe" "$work/clip.mp4" "$work/out2/clip.mp3" "$work"
expect_mp3_of "$work/out2/clip.mp3" 20
[ "$(cat "$portable/Brimwave/setup.ini")" = "$expected" ] || fail "the portable setup.ini differs"
[ ! "$settings/setup.ini" -nt "$work/users-settings" ] || fail "the portable program wrote the user's settings"
echo "Windows packages under Wine: OK (installed, converted, uninstalled; the zip portable)"
