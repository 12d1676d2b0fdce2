#!/usr/bin/env bash
# scripts/render keeps the user's files safe: every refusal or failure ends non-zero with only
# render: lines, before any audio is rendered where it can be, the input and an existing OUT
# unchanged and nothing left in the temporary folder; an interrupted render likewise. What it
# renders keeps a 64-bit float input's format and names a truncated input.
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
dir=$(mktemp -d)
trap 'rm -rf "${dir:?}"' EXIT
export TMPDIR="$dir/tmp"
mkdir "$TMPDIR" "$dir/folder.wav"
status=0
bad() { echo "FAIL $*"; status=1; }

sox -n -r 44100 -c 1 "$dir/in.wav" synth 0.05 sine 440
ln -s in.wav "$dir/link.wav"
ln -s /dev/full "$dir/full.wav"
sox -n -r 44100 -c 1 "$dir/keep.wav" synth 0.01 sine 100
sox -n -r 48000 -b 16 -c 2 "$dir/long.wav" synth 240 sine 200 gain -3
sums() { md5sum "$dir/in.wav" "$dir/keep.wav"; }
before=$(sums)

# Runs scripts/render (ENV=VALUE... -- ARGS...) in a process group of its own (job control: as
# from a terminal, SIGINT not ignored), sending SIGNAL to the group once the result's temporary
# file beside keep.wav holds audio; sets $text and $rc.
set -m
run() {
    local signal=$1 envs=() pid partial; shift
    while [ "$1" != -- ]; do envs+=("$1"); shift; done
    shift
    env "${envs[@]}" "$top/scripts/render" "$@" >"$dir/log" 2>&1 &
    pid=$!
    if [ "$signal" != - ]; then
        for _ in $(seq 600); do
            partial=$(find "$dir" -maxdepth 1 -name '.keep.wav.*' -size +64k | head -n 1)
            [ -z "$partial" ] || break
            sleep 0.05
        done
        [ -n "$partial" ] || bad "$signal: the render never started writing"
        kill -"$signal" -- -"$pid"
    fi
    wait "$pid"; rc=$?
    text=$(cat "$dir/log")
}

# name | expected status | pattern | signal or - | ENV=VALUE... -- ARGS...
while IFS='|' read -r name want pattern signal command; do
    eval "set -- $command"
    run "$signal" "$@"
    if [ "$rc" -ne "$want" ] || ! grep -qF -- "$pattern" <<<"$text" || grep -qv '^render: \|^    \|^$' <<<"$text" \
        || [ "$(sums)" != "$before" ] || [ -n "$(ls -A "$TMPDIR")" ] || [ -n "$(find "$dir" -maxdepth 1 \( -name '.?*' -o -name 'out*' \))" ]; then
        bad "$name: status $rc, output:"; echo "$text"; ls -A "$dir" "$TMPDIR"
    else
        echo "ok   $name: $(tail -n 1 <<<"$text")"
    fi
done <<EOF
missing input|2|no such file: $dir/none.wav; give the path|-|-- "$dir/none.wav" "$dir/out.wav"
bad parameter|2|unknown parameter "Drive"; the parameters are "Bypass"|-|-- "$dir/in.wav" "$dir/out.wav" Drive=3
bad value vst3|2|"Tone" 150 is outside 0..100; give a number in that range|-|-- "$dir/in.wav" "$dir/out.wav" Tone=150
bad value vst2|2|"Tone" 150 is outside 0..100; give a number in that range|-|-- --format vst2 "$dir/in.wav" "$dir/out.wav" Tone=150
bad value aax|2|"Tone" 150 is outside 0..100; give a number in that range|-|-- --format aax "$dir/in.wav" "$dir/out.wav" Tone=150
not decimal vst2|2|"0x10" is not a value for "Tone"; give a number in 0..100|-|-- --format vst2 "$dir/in.wav" "$dir/out.wav" Tone=0x10
host cannot start|2|could not start under Wine; run scripts/setup|-|TZ_WINE64=/nonexistent -- "$dir/in.wav" "$dir/out.wav"
OUT is IN|2|$dir/in.wav is the input file; give another OUT|-|-- "$dir/in.wav" "$dir/in.wav"
OUT links to IN|2|$dir/link.wav is the input file; give another OUT|-|-- "$dir/in.wav" "$dir/link.wav"
OUT in a missing folder|2|the folder of $dir/no/out.wav does not exist|-|-- "$dir/in.wav" "$dir/no/out.wav"
OUT a folder|2|$dir/folder.wav is a folder; give a file name in it|-|-- "$dir/in.wav" "$dir/folder.wav"
OUT of no known format|2|$dir/out.mp3: give OUT a name ending in .wav, .flac|-|-- "$dir/in.wav" "$dir/out.mp3"
OUT not a file|2|$dir/full.wav is not a regular file|-|-- "$dir/in.wav" "$dir/full.wav"
TMPDIR missing|2|TMPDIR=$dir/none is not a folder you can write in|-|TMPDIR="$dir/none" -- "$dir/in.wav" "$dir/out.wav"
SIGINT mid-render|130||INT|-- "$dir/long.wav" "$dir/keep.wav"
SIGTERM mid-render|143||TERM|-- --format vst2 "$dir/long.wav" "$dir/keep.wav"
EOF

# A 64-bit float WAV cut short: named, rendered as far as it goes, 64-bit float out.
sox -n -r 44100 -b 64 -e floating-point -c 2 "$dir/f64.wav" synth 0.1 sine 300
head -c 20000 "$dir/f64.wav" >"$dir/cut.wav"
run - -- "$dir/cut.wav" "$dir/out.wav"
if [ "$rc" -ne 0 ] || ! grep -q "cut.wav ends before its header says; rendered the 1246 frames it holds" <<<"$text" \
    || [ "$("$top/build/tools/hosts/sound/tz_sound" info "$dir/out.wav")" != "44100 2 1246 float64" ]; then
    bad "truncated 64-bit float input: status $rc, output:"; echo "$text"
else
    echo "ok   truncated 64-bit float input named, 64-bit float out"
fi
exit $status
