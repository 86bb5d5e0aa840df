# Shared by ./run, ./test and the other scripts: installs what is missing and
# builds.

# What the program needs to build and run: ./run installs these alone.
RUN_PACKAGES=(cmake make g++ qt6-base-dev qt6-svg-dev fonts-noto-cjk)
# What the tests use beyond that, one group a line.
TEST_PACKAGES=(
    libgtest-dev
    xvfb xauth xdotool python3-xlib
    dbus at-spi2-core
    desktop-file-utils appstream
    dpkg-dev file lintian
    orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng openbox
)
# What scripts/bare-check needs on this machine.
BARE_CHECK_PACKAGES=(debootstrap git xvfb xauth xdotool python3 python3-xlib)

# Installs the missing packages as root; otherwise says how and stops.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Some packages are missing. Install them with:" >&2
        echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q >/dev/null
    apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
}

# Whether DIR holds a finished configuration: a configure step that failed
# leaves its cache behind, but no build files.
configured() {
    [ -f "$1/Makefile" ] || [ -f "$1/build.ninja" ]
}

# configure DIR [-DNAME=VALUE…]: configures DIR when it is new, or when one
# of the given options is not what its cache holds.
configure() {
    local dir=$1 option name
    shift
    if configured "$dir"; then
        for option in "$@"; do
            name=${option#-D}
            grep -qxF "${name%%=*}:${name#*=}" <(sed 's/:[A-Z]*=/:/' "$dir/CMakeCache.txt") ||
                { cmake -S . -B "$dir" "$@" >/dev/null; return; }
        done
    else
        cmake -S . -B "$dir" "$@" >/dev/null
    fi
}

# build DIR [-DNAME=VALUE…]: configures as above, then builds incrementally.
build() {
    configure "$@"
    cmake --build "$1" --parallel "$(nproc)"
}

# build_program: build/pimbola and its control table. A new tree is
# configured without the tests, whose packages only ./test installs; a tree
# that ./test configured keeps them.
build_program() {
    configured build || configure build -DBUILD_TESTING=OFF
    cmake --build build --target pimbola controltable --parallel "$(nproc)"
}
