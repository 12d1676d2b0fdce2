#!/usr/bin/env bash
# scripts/render gives the same audio through every deliverable it can load (hiss off), every
# frame of it, and refuses what a format cannot do with a message that says so. The host program
# ends with a message and its own status when its output fills the disk.
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
status=0

sox -n -r 44100 -b 24 -c 2 "$out/in.wav" synth 0.3 pluck A2 pluck E3 gain -3
for format in vst3 vst2 aax; do
    "$top/scripts/render" --format $format "$out/in.wav" "$out/$format.wav" "Analog Hiss=off" "Dist. Amount=70" \
        >"$out/$format.log" 2>&1 || { echo "FAIL render --format $format:"; cat "$out/$format.log"; status=1; }
done
frames=$(soxi -s "$out/in.wav")  # not a whole number of the host's blocks
for format in vst3 vst2 aax; do
    got=$(soxi -s "$out/$format.wav" 2>/dev/null)
    [ "$got" = "$frames" ] || { echo "FAIL the $format render has ${got:-no} frames, the input $frames"; status=1; }
done
for format in vst2 aax; do
    peak=$(sox -m "$out/vst3.wav" -v -1 "$out/$format.wav" -n stat 2>&1 | sed -n 's/^Maximum amplitude: *//p')
    if [ -z "$peak" ] || ! awk -v p="$peak" 'BEGIN { exit !(p < 1e-5) }'; then
        echo "FAIL the $format render differs from the VST3 render by ${peak:-?}"; status=1
    else
        echo "ok   $format and vst3 renders agree (difference peak $peak)"
    fi
done

text=$("$top/scripts/render" --format aax --arch x86 "$out/in.wav" "$out/x.wav" 2>&1)
if [ $? -eq 0 ] || ! grep -q "AAX plug-in is built for x86_64 only" <<<"$text" || [ -e "$out/x.wav" ]; then
    echo "FAIL aax on x86: $text"; status=1
else
    echo "ok   aax on x86 refused"
fi
# The host program's own write failing, in each format.
sox "$out/in.wav" -t raw -e floating-point -b 64 -L "$out/in.raw"
for format in vst3 vst2 aax; do
    paths="$top/build/win64/tz_${format}_render.paths"
    text=$("$top/cmake/wine-run" "$(sed -n 2p "$paths")" "$(sed -n 1p "$paths")" "$out/in.raw" /dev/full 44100 2 2>&1)
    rc=$?
    if [ $rc -ne 4 ] || ! grep -q "render: cannot write /dev/full: No space left on device" <<<"$text"; then
        echo "FAIL $format host writing to a full disk: status $rc, output: $text"; status=1
    fi
done
exit $status
