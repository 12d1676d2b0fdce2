#!/usr/bin/env bash
# An LV2 bundle's descriptions as the system's validator sees them:
#   validate_lv2.sh BUNDLE
# Passes when lv2_validate accepts every .ttl file of BUNDLE and says nothing beyond its summary of
# no errors and the note on a schema file of the system's own that it skips; otherwise prints all
# it said, and fails.
set -u
shopt -s nullglob
files=("$1"/*.ttl)
[ ${#files[@]} -gt 0 ] || { echo "$1: no .ttl files"; exit 1; }
said=$(lv2_validate "${files[@]}" 2>&1)
status=$?
rest=$(sed -E -e 's/Found 0 errors among [0-9]+ files \(checked [0-9]+ restrictions\)//' \
              -e 's#Skipping file /usr/lib/lv2/[^ ]*\.ttl##' <<<"$said" | grep -v '^[[:space:]]*$')
if [ $status -ne 0 ] || [ -n "$rest" ]; then
    echo "lv2_validate (status $status):"
    echo "$said"
    exit 1
fi
