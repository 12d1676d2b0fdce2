#!/usr/bin/env bash
# scripts/render renders every frame through every deliverable it can load, and refuses what a
# format cannot do with a message that says so. The host programs give the same samples (hiss
# off) wherever the plug-in processes samples of the same size, on Linux as on Windows, and end
# with a message and their own status when their output fills the disk.
# Usage: render_formats.sh [linux|windows]: the render's platform (default windows, the win64
# build's registration).
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
platform=${1:-windows}
out=$(mktemp -d)
trap 'rm -rf "${out:?}"' EXIT
status=0
case $platform in
    windows) formats="vst3 vst2 aax clap" ;;
    *) formats="vst3 vst2 lv2 clap" ;;
esac

sox -n -r 44100 -b 24 -c 2 "$out/in.wav" synth 0.3 pluck A2 pluck E3 gain -3
for format in $formats; do
    "$top/scripts/render" --platform $platform --format $format "$out/in.wav" "$out/$format.wav" "Analog Hiss=off" \
        "Dist. Amount=70" >"$out/$format.log" 2>&1 || { echo "FAIL render --format $format:"; cat "$out/$format.log"; status=1; }
done
frames=$(soxi -s "$out/in.wav")  # not a whole number of the host's blocks
for format in $formats; do
    got=$(soxi -s "$out/$format.wav" 2>/dev/null)
    [ "$got" = "$frames" ] || { echo "FAIL the $format render has ${got:-no} frames, the input $frames"; status=1; }
done

# The host programs' own samples, hiss off, bit for bit: the AAX and LV2 hosts hand the plug-in
# 32-bit samples, as the VST3 module's 32-bit path takes them; the VST2 render uses the 64-bit entry;
# the CLAP render takes both sizes, as the VST3 one, and shows the same settings line.
# host PLATFORM FORMAT [--float32] IN OUT [NAME=VALUE ...] runs that render program, stereo 44.1 kHz.
host() {
    local paths=$top/build/linux/tz_$2_render.paths option=() launch=()
    [ "$1" = linux ] || paths=$top/build/win64/tz_$2_render.paths launch=("$top/cmake/wine-run")
    shift 2
    [ "$1" = --float32 ] && option=("$1") && shift
    "${launch[@]}" "$(sed -n 2p "$paths")" "${option[@]}" "$(sed -n 1p "$paths")" "$1" "$2" 44100 2 "${@:3}"
}
sox "$out/in.wav" -t raw -e floating-point -b 64 -L "$out/in.raw"
# platform format name [option]: the renders; then the pairs that must be equal.
runs=("$platform vst3 vst3-32 --float32" "$platform vst3 vst3-64" "$platform vst2 vst2"
    "$platform clap clap-32 --float32" "$platform clap clap-64")
pairs=("vst2 vst3-64" "clap-32 vst3-32" "clap-64 vst3-64")
if [ "$platform" = windows ]; then
    runs+=("windows aax aax") pairs+=("aax vst3-32")
else
    runs+=("linux lv2 lv2") pairs+=("lv2 vst3-32")
    if [ -f "$(sed -n 1p "$top/build/win64/tz_vst3_render.paths" 2>/dev/null)" ]; then
        runs+=("windows vst3 win64-32 --float32" "windows vst3 win64-64")
        pairs+=("vst3-32 win64-32" "vst3-64 win64-64")
    else
        echo "note: no win64 build here; the Linux and win64 modules are not compared"
    fi
fi
for run in "${runs[@]}"; do
    read -r where format name option <<<"$run"
    host $where $format $option "$out/in.raw" "$out/$name.raw" "Analog Hiss=off" "Dist. Amount=70" >"$out/$name.host" 2>&1 ||
        { echo "FAIL $where $format $option render:"; cat "$out/$name.host"; status=1; }
done
settings() { sed -n 's/\r$//; /^settings:/p' "$out/$1.host"; }
for pair in "${pairs[@]}"; do
    read -r name reference <<<"$pair"
    if [ "$(stat -c %s "$out/$reference.raw")" != "$(stat -c %s "$out/in.raw")" ] ||
        ! cmp "$out/$name.raw" "$out/$reference.raw"; then
        echo "FAIL the $name render is not the $reference one"; status=1
    elif [[ $name == clap-* ]] && [ "$(settings "$name")" != "$(settings "$reference")" ]; then
        echo "FAIL the $name render's settings line is not the $reference one's: $(settings "$name")"; status=1
    else
        echo "ok   the $name and $reference renders are equal"
    fi
done

text=$("$top/scripts/render" --platform windows --format aax --arch x86 "$out/in.wav" "$out/x.wav" 2>&1)
if [ $? -eq 0 ] || ! grep -q "AAX plug-in is built for x86_64 only" <<<"$text" || [ -e "$out/x.wav" ]; then
    echo "FAIL aax on x86: $text"; status=1
else
    echo "ok   aax on x86 refused"
fi
# The host program's own write failing, in each format.
for format in $formats; do
    text=$(host $platform $format "$out/in.raw" /dev/full 2>&1)
    rc=$?
    if [ $rc -ne 4 ] || ! grep -q "render: cannot write /dev/full: No space left on device" <<<"$text"; then
        echo "FAIL $format host writing to a full disk: status $rc, output: $text"; status=1
    fi
done
exit $status
