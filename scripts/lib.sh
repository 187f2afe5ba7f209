# shellcheck shell=bash
# Shared by scripts/run and scripts/test: what a fresh Debian 12 machine needs
# to build and test the program, and how it gets it. Sourced, not run.

NUMBRELLE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

NUMBRELLE_PACKAGES=(
    build-essential cmake pkg-config g++
    libgtest-dev libgmock-dev googletest libbenchmark-dev nlohmann-json3-dev
    qt6-base-dev libgl-dev
    fonts-ipafont-gothic fonts-noto-cjk
    xvfb x11-xserver-utils xdotool libx11-dev libxrandr-dev
    clang clang-tidy clang-format libclang-rt-14-dev
)

# Only bench/compare needs these: the peers it measures the language against,
# and the instruction counter for profiling the workloads.
NUMBRELLE_BENCH_PACKAGES=(
    tcl8.6 python3 lua5.4 valgrind
)

# Only scripts/package needs these: Debian's packaging tools and the
# validators it runs on the package.
NUMBRELLE_PACKAGE_PACKAGES=(
    debhelper dpkg-dev lintian appstream desktop-file-utils
)

# Two jobs at most: the CI machine has two cores and so do the shared ones.
NUMBRELLE_JOBS=${NUMBRELLE_JOBS:-$(( $(nproc) < 2 ? $(nproc) : 2 ))}

numbrelle_log() {
    printf '%s\n' "$*" >&2
}

# numbrelle_install_packages [PACKAGE...]: installs whichever of the packages
# (NUMBRELLE_PACKAGES when none are named) are missing; says nothing when all
# are in place.
numbrelle_install_packages() {
    local wanted=("$@") missing=() package
    [ $# -eq 0 ] && wanted=("${NUMBRELLE_PACKAGES[@]}")
    for package in "${wanted[@]}"; do
        if [ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" != "install ok installed" ]; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    numbrelle_log "Installing ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq || return 1
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
}

# numbrelle_build DIR [cmake options...]: configures (once) and builds the tree into DIR.
numbrelle_build() {
    local dir=$1
    shift
    cmake -S "$NUMBRELLE_ROOT" -B "$NUMBRELLE_ROOT/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null || return 1
    cmake --build "$NUMBRELLE_ROOT/$dir" -j "$NUMBRELLE_JOBS" >/dev/null || return 1
}
