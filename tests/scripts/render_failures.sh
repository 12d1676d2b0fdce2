#!/usr/bin/env bash
# scripts/render keeps the user's files safe: every refusal or failure ends non-zero with only
# render: lines, named for what failed, before any audio is rendered where it can be, the input
# and an existing OUT unchanged and nothing left in the temporary folder; an interrupted render
# likewise. What it renders is the plug-in's own audio, in IN's format: floats unclipped and
# exact, integers dithered the same way every time. As root it also fills a small filesystem.
# Usage: render_failures.sh [linux|windows]: the render's platform (default windows, the win64
# build's registration); a row named "... (PLATFORM)" runs on that platform only.
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
platform=${1:-windows}
sound="$top/build/tools/hosts/sound/tz_sound"
dir=$(mktemp -d)
trap 'umount "$dir/full" 2>/dev/null; rm -rf "${dir:?}"' EXIT
cd "$dir" || exit 1
export TMPDIR="$dir/tmp"
mkdir "$TMPDIR" "$dir/folder.wav" "$dir/full" "$dir/bin" "$dir/slow"
status=0
bad() { echo "FAIL $*"; status=1; }

# float_wav FILE BITS PEAK [CLIP]: 0.2 s of a mono 48 kHz float sine of that peak, cut at CLIP,
# with the short fmt chunk some writers leave.
float_wav() {
    perl -e 'my ($bits, $peak, $clip) = @ARGV; my $n = 9600;
             my @s = map { my $v = $peak * sin($_ / 10); $v > $clip ? $clip : $v < -$clip ? -$clip : $v } 0 .. $n - 1;
             my $d = pack($bits == 64 ? "d<*" : "f<*", @s);
             print "RIFF", pack("V", 36 + length $d), "WAVEfmt ", pack("VvvVVvv", 16, 3, 1, 48000, 6000 * $bits, $bits / 8, $bits),
                   "data", pack("V", length $d), $d' "$2" "$3" "${4:-9}" >"$1"
}
float_wav "$dir/hot.wav" 32 2
float_wav "$dir/clip.wav" 32 2 1
float_wav "$dir/tiny.wav" 64 1e-12
head -c 44 "$dir/hot.wav" | perl -0777 -pe 's/^(RIFF).{4}(.{32}).{4}/$1\x24\0\0\0$2\0\0\0\0/s' >"$dir/empty.wav"
echo "not audio" >"$dir/text.wav"
sox -n -r 44100 -b 16 -c 2 "$dir/i16.wav" synth 0.3 sine 440 gain -1
sox -n -r 44100 -b 16 -c 2 "$dir/in.flac" synth 0.3 sine 300
printf '#!/bin/sh\nhead -c 65536 >/dev/null\nkill -9 $$\n' >"$dir/bin/killer"
printf '#!/bin/sh\ntouch "%s/moving"\nsleep 1\nexec /bin/mv "$@"\n' "$dir" >"$dir/slow/mv"
chmod +x "$dir/bin/killer" "$dir/slow/mv"
# A filesystem with no room left, and a folder in it; where no filesystem may be mounted, the rows
# that need it are left out, and a line says so.
if mount -t tmpfs -o size=256k tmpfs "$dir/full" 2>/dev/null; then
    mkdir "$dir/full/tmp" && { cat /dev/zero >"$dir/full/fill"; } 2>/dev/null
    skip='^$'
else
    echo "note: no small filesystem can be mounted here; the full-disk rows are left out"
    skip='^full '
fi

sox -n -r 44100 -c 1 "$dir/in.wav" synth 0.05 sine 440
pwn="|touch PWNED #.wav"  # a name some tools would run as a command
cp "$dir/in.wav" "$dir/$pwn"
cp "$dir/in.wav" "$dir/-a=b.wav"
ln -s in.wav "$dir/link.wav"
ln -s /dev/full "$dir/full.wav"
sox -n -r 44100 -c 1 "$dir/keep.wav" synth 0.01 sine 100
sox -n -r 48000 -b 16 -c 2 "$dir/long.wav" synth 240 sine 200 gain -3
sums() { md5sum "$dir/in.wav" "$dir/keep.wav"; }
before=$(sums)

# Runs scripts/render (ENV=VALUE... -- ARGS...) in a process group of its own (job control: as
# from a terminal, SIGINT not ignored), sending SIGNAL to the group once the result's temporary
# file beside keep.wav holds audio, or the result is being moved in place; SIGNAL@NAME sends it
# to the group's programs of that name instead. Sets $text and $rc.
set -m
run() {
    local signal=$1 envs=() pid partial; shift
    while [ "$1" != -- ]; do envs+=("$1"); shift; done
    shift
    env "${envs[@]}" "$top/scripts/render" --platform "$platform" "$@" >"$dir/log" 2>&1 &
    pid=$!
    if [ "$signal" != - ]; then
        for _ in $(seq 600); do
            partial=$(find "$dir" -maxdepth 1 \( -name '.keep.wav.*' -size +64k -o -name moving \) | head -n 1)
            [ -z "$partial" ] || break
            sleep 0.05
        done
        [ -n "$partial" ] || bad "$signal: the render never started writing"
        if [[ $signal == *@* ]]; then pkill -"${signal%@*}" -g "$pid" -x "${signal#*@}"; else kill -"$signal" -- -"$pid"; fi
    fi
    wait "$pid"; rc=$?
    text=$(cat "$dir/log")
}

# A failure's output is render: lines only, and it leaves no result; a success's output has no
# CR, and its result passes the row's check (then goes).
# name | expected status | pattern | signal or - | ENV=VALUE... -- ARGS... | check of the result
while IFS='|' read -r name want pattern signal command check; do
    ! grep -q "$skip" <<<"$name" || continue
    [[ $name != *")" ]] || [[ $name == *"($platform)" ]] || continue
    eval "set -- $command"
    run "$signal" "$@"
    left=$(find "$dir" -maxdepth 1 -name '.?*'; [ "$want" -eq 0 ] || find "$dir" -maxdepth 1 -name 'out*')
    if [ "$rc" -ne "$want" ] || ! grep -qF -- "$pattern" <<<"$text" || [[ $text == *$'\r'* ]] \
        || { [ "$want" -ne 0 ] && grep -qv '^render: \|^    \|^$' <<<"$text"; } || ! eval "${check:-true}" \
        || [ "$(sums)" != "$before" ] || [ -n "$(ls -A "$TMPDIR")" ] || [ -n "$left" ]; then
        bad "$name: status $rc, output:"; echo "$text"; ls -A "$dir" "$TMPDIR"
    else
        echo "ok   $name: $(tail -n 1 <<<"$text")"
    fi
    rm -f "${dir:?}"/out*
done <<EOF
missing input|2|no such file: $dir/none.wav; give the path|-|-- "$dir/none.wav" "$dir/out.wav"
bad parameter|2|unknown parameter "Drive"; the parameters are "Bypass"|-|-- "$dir/in.wav" "$dir/out.wav" Drive=3
bad value vst3|2|"Tone" 150 is outside 0..100; give a number in that range|-|-- "$dir/in.wav" "$dir/out.wav" Tone=150
bad value vst2|2|"Tone" 150 is outside 0..100; give a number in that range|-|-- --format vst2 "$dir/in.wav" "$dir/out.wav" Tone=150
bad value aax (windows)|2|"Tone" 150 is outside 0..100; give a number in that range|-|-- --format aax "$dir/in.wav" "$dir/out.wav" Tone=150
bad value lv2|2|"Tone" 150 is outside 0..100; give a number in that range|-|-- --format lv2 "$dir/in.wav" "$dir/out.wav" Tone=150
LV2 refused on Windows|2|the LV2 plug-in is built for Linux only; drop --platform windows|-|-- --platform windows --format lv2 "$dir/in.wav" "$dir/out.wav"
not decimal vst2|2|"0x10" is not a value for "Tone"; give a number in 0..100|-|-- --format vst2 "$dir/in.wav" "$dir/out.wav" Tone=0x10
host cannot start (windows)|2|could not start under Wine; run scripts/setup|-|TZ_WINE64=/nonexistent -- "$dir/in.wav" "$dir/out.wav"
no Wine used (linux)|0|wrote $dir/out.wav|-|TZ_WINE64=/nonexistent -- "$dir/in.wav" "$dir/out.wav"
OUT is IN|2|$dir/in.wav is the input file; give another OUT|-|-- "$dir/in.wav" "$dir/in.wav"
OUT links to IN|2|$dir/link.wav is the input file; give another OUT|-|-- "$dir/in.wav" "$dir/link.wav"
OUT in a missing folder|2|the folder of $dir/no/out.wav does not exist|-|-- "$dir/in.wav" "$dir/no/out.wav"
OUT a folder|2|$dir/folder.wav is a folder; give a file name in it|-|-- "$dir/in.wav" "$dir/folder.wav"
OUT of no known format|2|$dir/out.mp3: give OUT a name ending in .wav, .flac|-|-- "$dir/in.wav" "$dir/out.mp3"
OUT not a file|2|$dir/full.wav is not a regular file|-|-- "$dir/in.wav" "$dir/full.wav"
TMPDIR missing|2|TMPDIR=$dir/none is not a folder you can write in|-|TMPDIR="$dir/none" -- "$dir/in.wav" "$dir/out.wav"
SIGINT mid-render|130||INT|-- "$dir/long.wav" "$dir/keep.wav"
SIGTERM mid-render|143||TERM|-- --format vst2 "$dir/long.wav" "$dir/keep.wav"
SIGINT mid-render lv2 (linux)|130||INT|-- --format lv2 "$dir/long.wav" "$dir/keep.wav"
IN a folder|2|$dir/folder.wav is a folder; give a sound file|-|-- "$dir/folder.wav" "$dir/out.wav"
IN not a sound file, before the build (windows)|2|$dir/text.wav is not a sound file|-|-- --arch x86 "$dir/text.wav" "$dir/out.wav"|! grep -q "building\|32-bit" <<<"\$text"
IN not a sound file, before the build (linux)|2|$dir/text.wav is not a sound file|-|-- --format vst2 "$dir/text.wav" "$dir/out.wav"|! grep -q "building" <<<"\$text"
AAX refused (linux)|2|the AAX plug-in is built for Windows only; add --platform windows|-|-- --format aax "$dir/in.wav" "$dir/out.wav"
x86 refused (linux)|2|--arch x86 renders through a Windows module; add --platform windows|-|-- --arch x86 "$dir/in.wav" "$dir/out.wav"
IN with no audio|2|$dir/empty.wav holds no audio|-|-- "$dir/empty.wav" "$dir/out.wav"
a name is only a name|0|wrote $dir/out.wav|-|-- "\$pwn" "$dir/out.wav"|[ ! -e PWNED ]
= in a path, -- before one|0|wrote out=1.wav|-|-- -- -a=b.wav out=1.wav Tone=40|[ -s out=1.wav ]
pre-clipped float input|0|peak in 0.0 dBFS, peak out|-|-- "$dir/clip.wav" "$dir/clipped.wav" "Analog Hiss=off"
float input over 0 dBFS|0|peak in 6.0 dBFS (over 0 dBFS)|-|-- "$dir/hot.wav" "$dir/out.wav" "Analog Hiss=off"|! cmp -s out.wav clipped.wav
tiny 64-bit floats|0|peak in -240.0 dBFS|-|-- "$dir/tiny.wav" "$dir/out.wav" "Analog Hiss=off"|[ "\$(\$sound info out.wav)" = "48000 1 9600 float64" ]
mono float over 0 dBFS through lv2 (linux)|0|peak in 6.0 dBFS (over 0 dBFS)|-|-- --format lv2 "$dir/hot.wav" "$dir/out.wav" "Analog Hiss=off"|[ "\$(\$sound info out.wav)" = "48000 1 9600 float32" ]
mono float over 0 dBFS through clap|0|peak in 6.0 dBFS (over 0 dBFS)|-|-- --format clap "$dir/hot.wav" "$dir/out.wav" "Analog Hiss=off"|[ "\$(\$sound info out.wav)" = "48000 1 9600 float32" ]
16-bit through lv2 (linux)|0|wrote|-|-- --format lv2 "$dir/i16.wav" "$dir/out.wav" "Analog Hiss=off"|[ "\$(\$sound info out.wav)" = "44100 2 13230 pcm16" ]
16-bit once|0|wrote|-|-- "$dir/i16.wav" "$dir/first.wav" "Analog Hiss=off"|[ "\$(\$sound info first.wav)" = "44100 2 13230 pcm16" ]
16-bit twice the same|0|wrote|-|-- "$dir/i16.wav" "$dir/out.wav" "Analog Hiss=off"|cmp -s out.wav first.wav
FLAC in and out|0|wrote $dir/out.flac|-|-- "$dir/in.flac" "$dir/out.flac"|[ "\$(\$sound info out.flac)" = "44100 2 13230 pcm16" ]
AAX switches read off/on (windows)|0|Analog Hiss=off,|-|-- --format aax "$dir/in.wav" "$dir/out.wav" "Analog Hiss=off"
full output disk|2|beside $dir/full/out.wav: cannot write $dir/full/.out.wav.|-|-- "$dir/long.wav" "$dir/full/out.wav"|grep -q "No space left on device; nothing was written" <<<"\$text" && [ "\$(ls -A "$dir/full" | paste -sd,)" = fill,tmp ]
full TMPDIR|2|cannot write in a temporary folder in $dir/full/tmp|-|TMPDIR="$dir/full/tmp" -- "$dir/in.wav" "$dir/out.wav"|[ -z "\$(ls -A "$dir/full/tmp")" ]
host program killed (windows)|2|the host program was killed (signal 9) or crashed; nothing was written|-|TZ_WINE64="$dir/bin/killer" -- "$dir/long.wav" "$dir/keep.wav"
host program killed (linux)|2|the host program was killed (signal 9) or crashed; nothing was written|KILL@tz_vst3_render|-- "$dir/long.wav" "$dir/keep.wav"
lv2 host program killed (linux)|2|the host program was killed (signal 9) or crashed; nothing was written|KILL@tz_lv2_render|-- --format lv2 "$dir/long.wav" "$dir/keep.wav"
clap host program killed (linux)|2|the host program was killed (signal 9) or crashed; nothing was written|KILL@tz_clap_render|-- --format clap "$dir/long.wav" "$dir/keep.wav"
SIGINT at the rename|0|wrote $dir/out.wav|INT|PATH="$dir/slow:$PATH" -- "$dir/in.wav" "$dir/out.wav"|[ -s out.wav ] && rm moving
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
