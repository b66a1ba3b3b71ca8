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
# Sound goes nowhere: a machine without a sound card otherwise fills the log with ALSA's complaints.
printf 'pcm.!default { type null }\n' >"$profile/.asoundrc"

if [ "$gl" -eq 1 ]; then
    # -displayfd lets the server pick a free display itself, so parallel tests never collide.
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$profile/display" >"$profile/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
        [ -s "$profile/display" ] && break
        sleep 0.1
    done
    if [ ! -s "$profile/display" ]; then
        echo "run-test: Xvfb did not start" >&2
        cat "$profile/xvfb.log" >&2
        exit 1
    fi
    export DISPLAY=":$(head -n1 "$profile/display")" QT_QPA_PLATFORM=xcb
else
    export QT_QPA_PLATFORM=offscreen
    unset DISPLAY
fi

"$@"
