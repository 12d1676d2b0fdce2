#!/usr/bin/env bash
# scripts/setup's package decisions against a stand-in apt-get: an index that cannot be fetched
# is only a warning, a failed install is tried once more, a package that cannot be had is named,
# and a missing 32-bit Wine leaves a machine that builds win32 programs without running them.
# Also the package list of each mode: the native render's has nothing of Wine, mingw or 32-bit,
# the whole run's has every render's, each once.
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/lib/packages.sh"
dir=$(mktemp -d)
trap 'rm -rf "${dir:?}"' EXIT
export TZ_SETUP_RETRY_WAIT=0
status=0

# The stand-in: "update" fails when $update_fails; "install" fails for every package named in
# $unavailable, and for everything on the first try when $first_install_fails.
apt-get() {
    case "$1" in
        update) [ -z "$update_fails" ] || { echo "E: File has unexpected size. Mirror sync in progress?"; return 100; } ;;
        install)
            local p
            for p; do [[ " $unavailable " != *" $p "* ]] || return 100; done
            [ -z "$first_install_fails" ] || { first_install_fails=; return 100; } ;;
    esac
}

# name | update fails | first install fails | unavailable | command | its status | output holds | x86 file holds
cases=(
    "mirror mid-sync|yes|||refresh_indexes|0|setup: warning: some package indexes|"
    "second try succeeds||yes||install_packages sox wine|0||"
    "package missing twice|||sox|install_packages wine sox|1|setup: the package sox could not be installed|"
    "no 32-bit Wine|yes||wine32:i386|install_wine32 $dir/x86|0|win32 programs will be built, not run|no: "
    "32-bit Wine installed|||sox|install_wine32 $dir/x86|0||"
)
for c in "${cases[@]}"; do
    IFS='|' read -r name update_fails first_install_fails unavailable command want_status want_out want_x86 <<<"$c"
    rm -f "${dir:?}/x86"
    out=$($command 2>&1)
    got_status=$?
    [ "$got_status" = "$want_status" ] || { echo "FAIL $name: status $got_status, not $want_status"; status=1; }
    if [ -n "$want_out" ]; then
        [[ $out == *"$want_out"* ]] || { echo "FAIL $name: output lacks \"$want_out\": $out"; status=1; }
    elif [ "$got_status" = 0 ] && [ -n "$out" ]; then
        echo "FAIL $name: printed \"$out\""; status=1
    fi
    x86=$(cat "$dir/x86" 2>/dev/null)
    [[ $x86 == "$want_x86"* ]] && { [ -n "$want_x86" ] || [ -z "$x86" ]; } ||
        { echo "FAIL $name: x86 file holds \"$x86\""; status=1; }
    [[ $out != *$'\n'* ]] || [ "$got_status" != 0 ] || { echo "FAIL $name: more than one line"; status=1; }
done

# mode | packages it names | patterns no package of it may match
lists=(
    "render|g++ libsndfile1-dev libx11-dev libxext-dev libfreetype-dev libfontconfig-dev fonts-liberation|*wine* *mingw* *:i386"
    "render-windows|wine64 g++-mingw-w64-x86-64-posix libsndfile1-dev|"
    "all|$(wanted_packages render) $(wanted_packages render-windows)|"
)
for l in "${lists[@]}"; do
    IFS='|' read -r mode want unwanted <<<"${l//$'\n'/ }"
    read -ra unwanted <<<"$unwanted"
    got=$(wanted_packages "$mode")
    for p in $want; do grep -qx -- "$p" <<<"$got" || { echo "FAIL $mode: lacks $p"; status=1; }; done
    while read -r p; do
        for u in "${unwanted[@]}"; do [[ $p != $u ]] || { echo "FAIL $mode: names $p"; status=1; }; done
    done <<<"$got"
    [ -z "$(sort <<<"$got" | uniq -d)" ] || { echo "FAIL $mode: names a package twice"; status=1; }
done
exit $status
