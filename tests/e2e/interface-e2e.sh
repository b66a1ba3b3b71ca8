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
paused() { ! playing; }
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
# The bar hides after three seconds without activity: point at it first, so that it is up.
bar_click() {
    xdotool mousemove --window "$window" "$1" $((bar - 5))
    sleep 0.4
    click "$1" "$bar"
}
gt() { [ "$1" -gt "$2" ]; }
lt() { [ "$1" -lt "$2" ]; }

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
sleep 0.5
shot started

# The bar slides in on a mouse move; the first video waits paused.
xdotool mousemove --window "$window" $((w / 2)) $((h / 3))
sleep 0.2
xdotool mousemove --window "$window" $((w / 2 + 20)) $((h / 3 + 10))
sleep 0.6
shot bar
check "the bar shows on a mouse move" differs started bar "${w}x40+0+$((h - 40))"
sleep 0.5
check "the first video waits paused" paused

bar_click 125
sleep 0.6
check "play/pause resumes the video" playing
bar_click 125
sleep 0.6
check "play/pause pauses it again" paused

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
sleep 1.5
shot after-seek
check "dragging the timeline moves the position" differs before-seek after-seek "60x40+150+$((h - 40))"
check "dragging the timeline shows another picture" differs before-seek after-seek "$((w / 2))x$((h / 2))+0+0"

# Volume panel: a press low on its slider turns the sound nearly off.
sound_x=$((w - 235))
bar_click "$sound_x"
sleep 0.5
shot volume-panel
click "$sound_x" $((h - 50 - 13))
sleep 0.4
shot volume-low
check "the volume panel opens above the sound button" differs bar volume-panel "50x150+$((sound_x - 25))+$((h - 190))"
check "a press on the volume slider changes the sound icon" differs volume-panel volume-low "50x40+$((sound_x - 25))+$((h - 40))"

# Ctrl+N, a typed path and Enter open the photo.
xdotool key --window "$window" ctrl+n
sleep 1
shot open-file
read -r r g b < <(pixel open-file $((w / 2)) $((h / 2 + 40)))
check "Ctrl+N opens the open-file popup" gt $(((r + g + b) / 3)) 200
xdotool type --window "$window" --delay 5 "$photo"
xdotool key --window "$window" Return
sleep 2
check "the typed path is opened" bash -c "xdotool getwindowname $window | grep -q 'sample-360-band.jpg'"
shot photo
read -r r g b < <(pixel photo $((w / 2 + 75)) 40)
check "the photo shows (its sky, not the empty placeholder)" gt "$b" $((r + 60))

# The software log, from the menu: the sixth of seven entries.
xdotool mousemove --window "$window" $((w / 2)) $((h / 3))
sleep 0.3
bar_click $((w - 40))
sleep 0.5
menu_top=$((h - 40 - 354))
click $((w - 100)) $((menu_top + 42 + 5 * 42 + 20))
sleep 1
shot software-log
# A light 600 x 400 panel whose first entry starts with the dark tile of the sensor's icon.
read -r r g b < <(pixel software-log $((w / 2)) $((h / 2)))
check "the menu opens a popup" gt $(((r + g + b) / 3)) 200
check "the popup is the software log" lt "$(brightness software-log $((w / 2 - 255)) $((h / 2 - 135)))" 60

echo "Totals: $failures failed"
[ "$failures" -eq 0 ]
