#!/usr/bin/env bash
# lv2apply (lilv's command-line host) renders a file through the stereo plug-in, found through
# LV2_PATH, to the very samples scripts/render --format lv2 gives with the same settings (hiss
# off): 32-bit float in, 32-bit float out on both roads, compared as samples. lv2apply offers a
# plug-in no feature at all: while the plug-in requires one, the comparison is skipped (status 77).
#   lv2apply.sh BUNDLE
set -u
top=$(cd "$(dirname "$0")/../../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# A folder holding only this bundle, so lilv reads nothing else.
mkdir "$out/lv2" && ln -s "$(cd "$1" && pwd)" "$out/lv2/" || exit 1
export LV2_PATH=$out/lv2
fail() { echo "FAIL $*"; exit 1; }
uri=urn:tavrelzel4:stereo
sox -n -r 48000 -b 32 -e floating-point -c 2 "$out/in.wav" synth 0.4 pluck A2 pluck E3 gain -2
settings=("Dist. Amount=64.5" "Tone=30" "Level=40" "Analog Hiss=off" "Output compensation=off")

# lv2apply takes port symbols: each setting's, read from lilv's own account of the plug-in.
info=$(lv2info "$uri") || fail "lv2info does not find $uri on LV2_PATH=$LV2_PATH"
required=$(sed -n 's/^\tRequired Features: *\(.\)/\1/p' <<<"$info")
[ -z "$required" ] || { echo "SKIP lv2apply offers no features; $uri requires $required"; exit 77; }
controls=()
for setting in "${settings[@]}"; do
    name=${setting%%=*} value=${setting#*=}
    symbol=$(n=$name awk '/^\t+Symbol:/ { symbol = $2 }
        /^\t+Name:/ { sub(/^\t+Name: */, ""); if ($0 == ENVIRON["n"]) { print symbol; exit } }' <<<"$info")
    [ -n "$symbol" ] || fail "lv2info lists no port named \"$name\""
    controls+=(-c "$symbol" "${value/off/0}")
done

lv2apply -i "$out/in.wav" -o "$out/lv2apply.wav" "${controls[@]}" "$uri" >"$out/lv2apply.log" 2>&1 ||
    { cat "$out/lv2apply.log"; fail "lv2apply"; }
"$top/scripts/render" --format lv2 "$out/in.wav" "$out/render.wav" "${settings[@]}" >"$out/render.log" 2>&1 ||
    { cat "$out/render.log"; fail "scripts/render --format lv2"; }
for name in in lv2apply render; do
    sox "$out/$name.wav" -t raw -e floating-point -b 64 -L "$out/$name.raw" || fail "$name.wav is no sound file"
done
[ "$(stat -c %s "$out/lv2apply.raw")" = "$(stat -c %s "$out/in.raw")" ] || fail "lv2apply's result is not as long as the input"
! cmp -s "$out/render.raw" "$out/in.raw" || fail "the render is the input"
cmp "$out/lv2apply.raw" "$out/render.raw" || fail "lv2apply and scripts/render --format lv2 differ"
echo "ok   lv2apply and scripts/render --format lv2 give the same samples"
