#!/usr/bin/env bash
# scripts/render's failures each end in a message that says what failed and what to do, with a
# non-zero status and no output file.
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
status=0

expect() {  # expect NAME PATTERN [ENV=VALUE...] -- ARGS...
    local name=$1 pattern=$2; shift 2
    local envs=()
    while [ "$1" != -- ]; do envs+=("$1"); shift; done
    shift
    local text rc
    text=$(env "${envs[@]}" "$top/scripts/render" "$@" 2>&1); rc=$?
    if [ $rc -eq 0 ] || ! grep -q -- "$pattern" <<<"$text" || [ -e "$out/out.wav" ]; then
        echo "FAIL $name: status $rc, output:"; echo "$text"; status=1
    else
        echo "ok   $name: $(tail -n 1 <<<"$text")"
    fi
}

sox -n -r 44100 -c 1 "$out/in.wav" synth 0.05 sine 440
expect "missing input" "no such file: $out/none.wav; give the path" -- "$out/none.wav" "$out/out.wav"
expect "bad parameter" 'unknown parameter "Drive"; the parameters are "Bypass"' -- "$out/in.wav" "$out/out.wav" Drive=3
expect "bad value" '"Tone" 140 is outside 0..100' -- "$out/in.wav" "$out/out.wav" Tone=140
expect "host cannot start" "could not start under Wine (above); run scripts/setup" TZ_WINE64=/nonexistent -- \
    "$out/in.wav" "$out/out.wav"
exit $status
