#!/usr/bin/env bash
# Drives the player like a person would, with xdotool on the X server it is given (run-test.sh --gl
# provides one), and checks what the screen and the window title show: the about splash at start;
# the control bar on a mouse move; play/pause; a drag on the timeline; the volume panel; Ctrl+N and
# a typed path; the software log from the menu. The window is the player's default 1200 x 600.
# Usage: interface-e2e.sh <gyre-player> <media dir> [directory to keep the screenshots and log in]
set -euo pipefail

player=$1
media=$(cd "$2" && pwd)
shots=${3:-}
work=$(mktemp -d "${TMPDIR:-/tmp}/gyre-e2e.XXXXXX")
log="$work/player.log"
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    if [ -n "$shots" ]; then cp "$log" "$shots/" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
check() { # <description> <command...>
    local what=$1
    shift
    if "$@"; then
        echo "PASS   : $what"
    else
        echo "FAIL!  : $what"
        failures=$((failures + 1))
    fi
}

shot() { # <name>: the whole window
    import -window "$window" "$work/$1.png"
    if [ -n "$shots" ]; then cp "$work/$1.png" "$shots/"; fi
}
# The colour of one pixel of a screenshot as "r g b" (0..255).
pixel() { # <name> <x> <y>
    convert "$work/$1.png" -crop "1x1+$2+$3" -depth 8 -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]\n' info:
}
brightness() { # <name> <x> <y>: mean of r, g, b
    local r g b
    read -r r g b < <(pixel "$1" "$2" "$3")
    echo $(((r + g + b) / 3))
}
# Whether a rectangle differs between two screenshots.
differs() { # <name a> <name b> <w>x<h>+<x>+<y>
    local changed
    convert "$work/$1.png" -crop "$3" +repage "$work/region-a.png"
    convert "$work/$2.png" -crop "$3" +repage "$work/region-b.png"
    changed=$(compare -metric AE "$work/region-a.png" "$work/region-b.png" null: 2>&1 || true)
    case $changed in
        0) return 1 ;;
        [0-9]*) return 0 ;;
        *) echo "compare: $changed" >&2; exit 2 ;;
    esac
}
# Whether the video moves: the sample's frame counters, just above the bar, change while it plays.
# (libvlc repaints a paused picture several times a second, so frame counts cannot tell.)
playing() {
    shot moving-a
    sleep 1
    shot moving-b
    differs moving-a moving-b "${w}x45+0+$((h - 90))"
}
still() { ! playing; }
# Tries a check a few times: a busy machine draws late, and animations take their time.
eventually() { # <tries> <command...>
    local tries=$1 attempt
    shift
    for attempt in $(seq 1 "$tries"); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}
light_at() { shot "$1" && [ "$(brightness "$1" "$2" "$3")" -gt 200 ]; }
dark_at() { shot "$1" && [ "$(brightness "$1" "$2" "$3")" -lt 60 ]; }
changed() { shot "$2" && differs "$1" "$2" "$3"; } # <earlier shot> <new shot> <region>
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
# The bar hides after three seconds without activity: point at it first, so that it is up.
bar_click() {
    xdotool mousemove --window "$window" "$1" $((bar - 5))
    sleep 0.4
    click "$1" "$bar"
}

video="$media/sample-360-band-stacked.mp4"
photo="$media/sample-360-band.jpg"
"$player" "$video" >"$log" 2>&1 &
pid=$!
window=$(xdotool search --sync --onlyvisible --name "Gyre Player" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
w=$WIDTH
h=$HEIGHT
bar=$((h - 20))

# The splash's dark disc, below its lettering; a loaded machine may take a moment to show it. It
# turns for two seconds and then closes by itself.
splash_x=$((w / 2 + 40))
splash_y=$((h / 2 + 110))
splash_shown() {
    local tries
    for tries in $(seq 1 20); do
        shot splash
        [ "$(brightness splash $splash_x $splash_y)" -lt 40 ] && return 0
        sleep 0.1
    done
    return 1
}
splash_gone() {
    local tries
    for tries in $(seq 1 30); do
        shot started
        [ "$(brightness started $splash_x $splash_y)" -gt 40 ] && return 0
        sleep 0.2
    done
    return 1
}
check "the about splash shows at start" splash_shown
sleep 1.5
check "the splash closes by itself" splash_gone
# Its closing animation and the host's fade end; then the scene takes the mouse again.
sleep 1
shot started

# The bar slides in on a mouse move (a busy machine may draw it late); the first video waits paused.
bar_shown() {
    local tries
    for tries in $(seq 1 10); do
        xdotool mousemove --window "$window" $((w / 2 + tries)) $((h / 3))
        sleep 0.3
        shot bar
        differs started bar "${w}x40+0+$((h - 40))" && return 0
    done
    return 1
}
check "the bar shows on a mouse move" bar_shown
check "the first video waits paused" eventually 4 still

bar_click 125
check "play/pause resumes the video" eventually 3 playing
bar_click 125
check "play/pause pauses it again" eventually 4 still

# Drag the timeline's handle from the start to three quarters, paused: the position text and the
# picture follow.
shot before-seek
# Left of the timeline: logo, play/pause, position; right: duration, sound, full screen, effects,
# menu (a single file has no previous and next buttons, this machine no sensor button).
timeline_left=$((210 + 10))
timeline_right=$((w - 320 - 10))
xdotool mousemove --window "$window" $((timeline_left + 5)) $((bar - 5))
sleep 0.4
xdotool mousemove --window "$window" $((timeline_left + 5)) "$bar" mousedown 1
for step in 1 2 3 4 5; do
    xdotool mousemove --window "$window" $((timeline_left + (timeline_right - timeline_left) * step * 15 / 100)) "$bar"
    sleep 0.05
done
xdotool mouseup 1
check "dragging the timeline moves the position" eventually 15 changed before-seek after-seek "60x40+150+$((h - 40))"
check "dragging the timeline shows another picture" eventually 15 changed before-seek after-seek "$((w / 2))x$((h / 2))+0+0"

# Volume panel: a press low on its slider turns the sound nearly off.
sound_x=$((w - 235))
shot before-volume
bar_click "$sound_x"
check "the volume panel opens above the sound button" eventually 15 changed before-volume volume-panel "50x150+$((sound_x - 25))+$((h - 190))"
sleep 0.3
shot volume-panel
click "$sound_x" $((h - 50 - 13))
check "a press on the volume slider changes the sound icon" eventually 15 changed volume-panel volume-low "50x40+$((sound_x - 25))+$((h - 40))"

# Ctrl+N, a typed path and Enter open the photo.
xdotool key --window "$window" ctrl+n
check "Ctrl+N opens the open-file popup" eventually 15 light_at open-file $((w / 2)) $((h / 2 + 40))
sleep 0.6
xdotool type --window "$window" --delay 5 "$photo"
xdotool key --window "$window" Return
titled() { xdotool getwindowname "$window" | grep -q 'sample-360-band.jpg'; }
check "the typed path is opened" eventually 15 titled
sky() {
    local r g b
    shot photo
    read -r r g b < <(pixel photo $((w / 2 + 75)) 40)
    [ "$b" -gt $((r + 60)) ]
}
check "the photo shows (its sky, not the empty placeholder)" eventually 15 sky

# The software log, from the menu: the sixth of seven entries.
xdotool mousemove --window "$window" $((w / 2)) $((h / 3))
sleep 0.3
bar_click $((w - 40))
sleep 0.8
menu_top=$((h - 40 - 354))
click $((w - 100)) $((menu_top + 42 + 5 * 42 + 20))
# A light 600 x 400 panel whose first entry starts with the dark tile of the sensor's icon.
check "the menu opens a popup" eventually 15 light_at software-log $((w / 2)) $((h / 2))
sleep 0.6
check "the popup is the software log" dark_at software-log $((w / 2 - 255)) $((h / 2 - 135))

echo "Totals: $failures failed"
[ "$failures" -eq 0 ]
