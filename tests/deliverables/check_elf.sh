#!/usr/bin/env bash
# A Linux module as a host's loader sees it:
#   check_elf.sh READELF MODULE EXPORT...
# It exports exactly the EXPORTs, needs only libraries every Linux desktop has, carries no search
# path of its own, patches no code when loaded, binds every symbol at load and then makes its
# relocated data read-only. Each fault is one line; status 1 when there is any.
set -u
readelf=$1 module=$2
shift 2
allowed=" libc.so.6 libm.so.6 ld-linux-x86-64.so.2 libX11.so.6 libXext.so.6 libfreetype.so.6 libfontconfig.so.1 "
status=0
fault() { echo "$module: $*"; status=1; }

dynamic=$("$readelf" -dW "$module") && symbols=$("$readelf" --dyn-syms -W "$module") &&
    segments=$("$readelf" -lW "$module") || exit 1

# Defined global and weak symbols, without their versions.
exported=$(awk '$1 ~ /^[0-9]+:$/ && $5 != "LOCAL" && $7 != "UND" && $8 != "" {sub(/@.*/, "", $8); print $8}' <<<"$symbols" | sort -u)
expected=$(printf '%s\n' "$@" | sort -u)
for name in $(comm -13 <(echo "$exported") <(echo "$expected")); do fault "lacks the export $name"; done
for name in $(comm -23 <(echo "$exported") <(echo "$expected")); do fault "exports $name, which no host asks for"; done

for lib in $(sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' <<<"$dynamic"); do
    [[ $allowed == *" $lib "* ]] || fault "needs $lib, which not every Linux desktop has"
done
grep -Eq '\((RPATH|RUNPATH)\)' <<<"$dynamic" && fault "carries a library search path"
grep -Eq '\(TEXTREL\)|FLAGS\).*TEXTREL' <<<"$dynamic" && fault "has text relocations"
grep -Eq '\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW' <<<"$dynamic" || fault "is not bound at load (BIND_NOW)"
grep -q GNU_RELRO <<<"$segments" || fault "has no read-only-after-relocation segment (GNU_RELRO)"
exit $status
