# Shared by ./run and ./test: installs what is missing and builds.

RUN_PACKAGES=(cmake make g++ qt6-base-dev qt6-svg-dev fonts-noto-cjk)
TEST_PACKAGES=(libgtest-dev xvfb xauth xdotool python3-xlib dbus at-spi2-core
    desktop-file-utils appstream dpkg-dev
    orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng openbox)

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

# build DIR [cmake options…]: configures once, then builds incrementally.
build() {
    local dir=$1
    shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S . -B "$dir" "$@" >/dev/null
    fi
    cmake --build "$dir" --parallel "$(nproc)"
}
