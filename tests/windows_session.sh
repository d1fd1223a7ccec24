# Sourced by the Windows checks: the Windows program used as a person uses it, under Wine on a
# virtual display. Needs WINE (scripts/wine-env).

# A Unix path as Wine names it.
winpath() { echo "Z:$1" | tr / '\\'; }

# MP3, 192 kbit/s, 44100 Hz, stereo, into the folder `$2`: setup.ini's bytes, written to `$1`.
write_mp3_choices() {
    printf '"8"\r\n"1"\r\n"1"\r\n"%s"\r\n"0"\r\n' "$(winpath "$2")" >"$1"
}

# convert_and_exit <brimwave.exe> <clip> <output file> <work folder> [screenshot.png]
# Starts the program with the clip to open, and once its window shows (saved as the screenshot
# when one is named) clicks Convert, films the progress bar ten times a second for three
# seconds (<work folder>/bar-NN.png), waits for the output and the converter's end, and clicks
# Exit. Fails when the program does not convert and end.
convert_and_exit() {
    # A fresh Wine session on the virtual display: one left running headless (by the tests, an
    # installer) would keep the window from showing.
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        set -u
        cd "$(dirname "$1")"
        "$WINE" "$(basename "$1")" "$2" 2>>"$4/wine.log" &
        app=$!
        xdotool search --sync --name "^Brimwave$" >/dev/null
        sleep 3
        # The window is centred on the 1024 x 768 screen, at 164, 136.
        if [ -n "$5" ]; then
            ffmpeg -v error -y -f x11grab -draw_mouse 0 -video_size 696x495 -i "$DISPLAY+164,136" -frames:v 1 "$5"
        fi
        xdotool mousemove 744 551 click 1
        rm -f "$4"/bar-*.png
        ffmpeg -v error -y -f x11grab -draw_mouse 0 -framerate 10 -video_size 361x13 -i "$DISPLAY+277,583" \
            -frames:v 30 "$4/bar-%02d.png"
        for i in $(seq 600); do
            [ -s "$3" ] && ! pgrep -f conv.exe >/dev/null && break
            sleep 0.1
        done
        sleep 1
        xdotool mousemove 843 153 click 1
        for i in $(seq 100); do kill -0 $app 2>/dev/null || exit 0; sleep 0.1; done
        kill $app
        exit 1
    ' session "$1" "$(winpath "$2")" "$3" "$4" "${5:-}" 2>>"$4/wine.log" ||
        fail "the program did not convert and exit ($(tail -n 5 "$4/wine.log"))"
}

# Fails unless `$1` is an MP3 of about `$2` seconds.
expect_mp3_of() {
    local codec seconds
    codec=$(ffprobe -v error -select_streams a:0 -show_entries stream=codec_name -of csv=p=0 "$1")
    [ "$codec" = mp3 ] || fail "$1 is no MP3 ($codec)"
    seconds=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$1")
    awk -v s="$seconds" -v want="$2" 'BEGIN { exit !(s > want - 1 && s < want + 1) }' ||
        fail "$1 lasts $seconds s"
}
