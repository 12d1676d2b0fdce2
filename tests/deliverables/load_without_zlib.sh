#!/usr/bin/env bash
# Loads a deliverable as a host does and looks up its entry exports, under Wine with Wine's own
# zlib1.dll switched off (it hides a module that imports zlib1.dll, which Windows lacks):
#   load_without_zlib.sh OBJDUMP LOADER.exe MODULE EXPORT...
# Some Wine packages build Wine's own user32.dll against that zlib1.dll; then nothing that opens
# a window loads with it off (and a process trying it upsets the Wine session). There the module
# is loaded with it on, a line says so, and the import table check (deliverable_imports) alone
# catches a DLL Windows lacks.
set -u
run="$(cd "$(dirname "$0")/../.." && pwd)/cmake/wine-run"
objdump=$1
shift
# The module comes as Wine sees it (Z: and the Unix path); objdump reads the Unix path.
case "$("$objdump" -f "${2#Z:}" | sed -n 's/.*file format //p')" in
    pei-x86-64) user32=(/usr/lib/*/wine/x86_64-windows/user32.dll) ;;
    *) user32=(/usr/lib/*/wine/i386-windows/user32.dll) ;;
esac
if [ -f "${user32[0]}" ] && "$objdump" -p "${user32[0]}" | grep -qi "DLL Name: zlib1.dll"; then
    echo "note: this Wine's own user32.dll imports its zlib1.dll, so zlib1 stays on here"
else
    export WINEDLLOVERRIDES=zlib1=d
fi
exec "$run" "$@"
