# Installing Debian packages on a machine whose mirror may be mid-sync. Sourced by scripts/setup
# (and by its test, which stands in for apt-get). Every message starts with "setup:".

# Fetches the package indexes. An index that cannot be fetched (a mirror mid-sync) is a warning:
# the install below then works from the indexes at hand.
refresh_indexes() {
    local out
    if ! out=$(apt-get update -qq 2>&1); then
        echo "setup: warning: some package indexes could not be fetched; installing from those at hand ($(grep -m1 '^E:' <<<"$out" | cut -c4-))"
    fi
}

# install_packages PACKAGE...: installs them; a failed install is tried once more after a short
# wait and fresh indexes. On a second failure it names each package that cannot be had, and fails.
install_packages() {
    local p
    apt-get install -y -qq --no-install-recommends "$@" >/dev/null 2>&1 && return 0
    sleep "${TZ_SETUP_RETRY_WAIT:-15}"
    refresh_indexes
    apt-get install -y -qq --no-install-recommends "$@" >/dev/null && return 0
    for p in "$@"; do
        apt-get install -s -qq --no-install-recommends "$p" >/dev/null 2>&1 ||
            echo "setup: the package $p could not be installed"
    done
    return 1
}

# install_wine32 X86_FILE: the 32-bit Wine runs only the win32 tests and the x86 render, so it is
# optional. When it cannot be had, X86_FILE records that this machine runs no 32-bit programs.
install_wine32() {
    if install_packages wine32:i386 >/dev/null 2>&1; then
        return 0
    fi
    echo "setup: the 32-bit Wine (wine32:i386) could not be installed; win32 programs will be built, not run"
    echo "no: the package wine32:i386 could not be installed" >"$1"
}

# wanted_packages MODE: the Debian packages MODE needs, each once, one a line. MODE "render":
# the native render (the Linux modules and their libpng and zlib built from source, sox for the
# test signal, the LV2 host library; no Wine, no mingw, nothing 32-bit); "render-windows": the render under Wine; "all": the whole build and
# its tests (scripts/test, scripts/bench), with the LV2 headers, their validator and lv2apply.
wanted_packages() {
    local render=(cmake ninja-build g++ make bzip2 pkg-config libsndfile1-dev libx11-dev libxext-dev
                  libfreetype-dev libfontconfig-dev fonts-liberation sox liblilv-dev)
    local lv2=(lv2-dev liblilv-dev lilv-utils sordi)
    local windows=(cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev libpng-dev zlib1g-dev
                   g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64 libz-mingw-w64-dev
                   wine wine64 xvfb xauth fonts-liberation sox python3-scipy python3-numpy python3-pil
                   dpkg-dev clang libclang-rt-14-dev clang-format libsndfile1-dev pkg-config)
    case "$1" in
        render) printf '%s\n' "${render[@]}" ;;
        render-windows) printf '%s\n' "${windows[@]}" ;;
        all) printf '%s\n' "${windows[@]}" "${render[@]}" "${lv2[@]}" | awk '!seen[$0]++' ;;
    esac
}
