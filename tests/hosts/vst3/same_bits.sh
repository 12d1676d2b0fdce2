#!/usr/bin/env bash
# The Linux VST3 module gives the same bits as the x86-64 Windows one, and the CLAP modules
# beside them the same again: the same input and settings (hiss off) through each platform's
# render program, compared byte for byte, on both sample sizes, stereo and mono. Skipped
# (status 77) without the win64 build or Wine.
#   same_bits.sh LINUX_RENDER_PATHS WIN64_RENDER_PATHS   (the VST3 programs' files, line 1 the
#   module, line 2 the program; the CLAP programs' files lie beside them)
set -u
top=$(cd "$(dirname "$0")/../../.." && pwd)
linux_paths=$1 win_paths=$2
# NAME PATHS of every program, the first the reference.
programs=("linux $linux_paths" "win64 $win_paths" "linux-clap ${linux_paths%/*}/tz_clap_render.paths"
    "win64-clap ${win_paths%/*}/tz_clap_render.paths")
skip() { echo "SKIP the Linux and win64 modules not compared: $*"; exit 77; }
for paths in "$win_paths" "${win_paths%/*}/tz_clap_render.paths"; do
    [ -f "$paths" ] || skip "no win64 build ($paths; build the win64 preset)"
    for f in "$(sed -n 1p "$paths")" "$(sed -n 2p "$paths")"; do
        [ -f "$f" ] || skip "$f is not built"
    done
done
[ -x "${TZ_WINE64:-/usr/lib/wine/wine64}" ] || skip "Wine is not installed"

out=$(mktemp -d)
trap 'rm -rf "${out:?}"' EXIT
# 1.3 s of two tones and noise rising past 0 dBFS (not a whole number of host blocks).
perl -e 'my $n = 62477; my $x = 1; for my $k (0 .. $n - 1) {
    $x = ($x * 1103515245 + 12345) % 2147483648;
    my $g = 0.05 + 1.4 * $k / $n;
    print pack("d<d<", $g * sin($k * 0.031) + 0.1 * ($x / 2147483648 - 0.5), $g * sin($k * 0.0517 + 1)) }' \
    >"$out/stereo.raw"
perl -e 'local $/ = \16; while (<STDIN>) { print substr($_, 0, 8) }' <"$out/stereo.raw" >"$out/mono.raw"

# render PATHS NAME OPTION INPUT RATE CHANNELS SETTINGS... through one platform's program.
render() {
    local paths=$1 name=$2 option=$3 input=$4 rate=$5 channels=$6 run=()
    shift 6
    [[ $paths == "${win_paths%/*}"/* ]] && run=("$top/cmake/wine-run")
    "${run[@]}" "$(sed -n 2p "$paths")" $option "$(sed -n 1p "$paths")" "$out/$input.raw" "$out/$name.raw" \
        "$rate" "$channels" "Analog Hiss=off" "$@" >"$out/$name.log" 2>&1 ||
        { echo "FAIL the $name render:"; cat "$out/$name.log"; return 1; }
}

status=0
cases=(
    "stereo64 - stereo 48000 2 Dist. Amount=70|Tone=40"
    "stereo32 --float32 stereo 44100 2 Dist. Amount=35|Analog Saturation=off|Level=60"
    "mono64 - mono 96000 1 Dist. Amount=90|Dry/Wet=60|Output compensation=off"
)
for row in "${cases[@]}"; do
    read -r name option input rate channels settings <<<"$row"
    [ "$option" = - ] && option=
    IFS='|' read -r -a set <<<"$settings"
    for program in "${programs[@]}"; do
        read -r where paths <<<"$program"
        render "$paths" "$name-$where" "$option" "$input" "$rate" "$channels" "${set[@]}" || status=1
    done
    if [ "$(stat -c %s "$out/$name-linux.raw")" != "$(stat -c %s "$out/$input.raw")" ] ||
        cmp -s "$out/$name-linux.raw" "$out/$input.raw"; then
        echo "FAIL $name: the Linux VST3 render is not the plug-in's output"; status=1; continue
    fi
    for program in "${programs[@]:1}"; do
        read -r where _ <<<"$program"
        if cmp "$out/$name-linux.raw" "$out/$name-$where.raw"; then
            echo "ok   $name: the $where render is the Linux VST3 one"
        else
            echo "FAIL $name: the $where render differs from the Linux VST3 one"; status=1
        fi
    done
done
exit $status
