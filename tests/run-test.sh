#!/usr/bin/env bash
# Runs one test program with a fresh, private user profile, so no test reads or writes the real
# preferences. With --gl it also starts its own virtual X server (Mesa's llvmpipe gives OpenGL 4.5
# there) and uses the xcb platform; otherwise the offscreen platform.
set -euo pipefail

gl=0
if [ "${1:-}" = "--gl" ]; then
    gl=1
    shift
fi

profile=$(mktemp -d "${TMPDIR:-/tmp}/gyre-test.XXXXXX")
xvfb_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$profile"
}
trap cleanup EXIT

mkdir -p "$profile/config" "$profile/data" "$profile/cache" "$profile/runtime"
chmod 700 "$profile/runtime"
export HOME="$profile" XDG_CONFIG_HOME="$profile/config" XDG_DATA_HOME="$profile/data"
export XDG_CACHE_HOME="$profile/cache" XDG_RUNTIME_DIR="$profile/runtime"
# No test reaches the real update or hosting servers; a test that serves them sets its own address.
export GYRE_UPDATE_SERVER="http://127.0.0.1:9/"
export GYRE_HOSTING_API="https://127.0.0.1:9/app_dev.php/api/"
# Sound goes nowhere: a machine without a sound card otherwise fills the log with ALSA's complaints.
printf 'pcm.!default { type null }\n' >"$profile/.asoundrc"

if [ "$gl" -eq 1 ]; then
    # Each test gets a server of its own on a display number picked at random; the server's lock
    # file makes the choice exclusive (a taken number makes it exit at once, and the next is tried).
    # Low numbers are left to desktops and to servers that other tools start.
    started=0
    for attempt in $(seq 1 20); do
        number=$((200 + RANDOM % 3000))
        # -noreset: the server would otherwise reset when the probing client below leaves, and a test
        # connecting during that reset is refused.
        Xvfb ":$number" -screen 0 1920x1080x24 -nolisten tcp -noreset >"$profile/xvfb.log" 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$number" QT_QPA_PLATFORM=xcb
        for _ in $(seq 1 100); do
            kill -0 "$xvfb_pid" 2>/dev/null || break
            if xdpyinfo >/dev/null 2>&1; then
                started=1
                break
            fi
            sleep 0.1
        done
        [ "$started" -eq 1 ] && break
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    done
    if [ "$started" -ne 1 ]; then
        echo "run-test: no usable Xvfb" >&2
        cat "$profile/xvfb.log" >&2
        exit 1
    fi
else
    export QT_QPA_PLATFORM=offscreen
    unset DISPLAY
fi

"$@"
