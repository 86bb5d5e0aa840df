# Shared by the Windows scripts: a static Qt for Windows, cross-built once from
# the distribution's own qt6-base source, so that it matches the host Qt that
# its build tools come from.

WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix ninja-build dpkg-dev wine wine64 zip)

# Kept outside the repository, so clean clones on one machine share it.
WINDOWS_CACHE=${PIMBOLA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pimbola}
# The finished static Qts, one per source version and options, in a folder
# of their own that the bare-system check lends its Debian 13.
WINDOWS_QT_CACHE=$WINDOWS_CACHE/windows-qt

# Optimised for size: the program waits on the child, never on Qt's speed,
# and the build is shorter. Only what the program uses, for the same reasons:
# it draws every control in a style of its own, so Windows' styles are left
# out. Direct2D stays on: in this Qt the DirectWrite font database is
# compiled only with it; Direct2D 1.1 only adds a platform plugin of its own.
# Debian's source leaves out the wintab headers that tablet events need.
WINDOWS_QT_OPTIONS=(
    -optimize-size -nomake examples -nomake tests -no-pkg-config
    -no-opengl -no-vulkan -no-dbus -no-icu -no-zstd -no-freetype -no-fontconfig
    -qt-harfbuzz -qt-zlib -qt-pcre -qt-libpng -no-libjpeg
    -no-feature-network -no-feature-sql -no-feature-printsupport -no-feature-testlib
    -no-feature-xml -no-feature-concurrent -no-feature-tabletevent -no-feature-androiddeployqt
    -no-feature-direct2d1_1 -no-feature-graphicsview -no-feature-filedialog
    -no-feature-style-stylesheet -no-feature-style-windowsvista -no-feature-style-windows11
    -no-feature-textodfwriter -no-feature-textmarkdownreader -no-feature-textmarkdownwriter
)

# Stops at once, before anything is installed or cached, on any system but
# Debian 13: its Qt 6.8 is the first whose Windows accessibility bridge hands
# a screen reader the program's announcements, and the static Qt is
# configured for that source alone.
ensure_windows_host() {
    local ID="" VERSION_ID="" PRETTY_NAME="this system"
    # shellcheck disable=SC1091
    [ -r /etc/os-release ] && . /etc/os-release
    [ "$ID" = debian ] && [ "$VERSION_ID" = 13 ] && return 0
    echo "scripts/${0##*/} supports Debian 13 (trixie) alone, whose Qt 6.8 source the Windows program is built from and whose wine shows what it hands screen readers; this is $PRETTY_NAME. Run it on Debian 13, or as root run scripts/bare-check --windows, which does it in a bare Debian 13." >&2
    exit 1
}

# Sets QT_SOURCE_VERSION and QT_WINDOWS from the installed host Qt, so it must
# run after the packages are in. The source version is what apt-get source
# asks for, also when the binary package was rebuilt with a version of its own.
locate_windows_qt() {
    QT_SOURCE_VERSION=$(dpkg-query -W -f='${source:Version}' qt6-base-dev 2>/dev/null) || true
    [ -n "$QT_SOURCE_VERSION" ] || { echo "qt6-base-dev is not installed" >&2; exit 1; }
    # Named also after the options, so changing them builds it afresh.
    local options
    options=$(printf '%s\n' "${WINDOWS_QT_OPTIONS[@]}" | sha256sum | cut -c1-8)
    QT_WINDOWS=$WINDOWS_QT_CACHE/qt-$QT_SOURCE_VERSION-$options-mingw-static
}

# Adds deb-src twins of the configured archives, unless source is already there.
ensure_source_entries() {
    apt-get source --print-uris qt6-base >/dev/null 2>&1 && return 0
    [ "$(id -u)" -eq 0 ] || {
        echo "Add a deb-src entry for your archive (as root), then run again." >&2
        exit 1
    }
    local list=/etc/apt/sources.list.d/pimbola-deb-src.sources file
    : >"$list"
    for file in /etc/apt/sources.list.d/*.sources; do
        [ "$file" = "$list" ] && continue
        grep -q '^Types:.*\bdeb\b' "$file" || continue
        sed 's/^Types:.*/Types: deb-src/' "$file" >>"$list"
        echo >>"$list"
    done
    if [ -f /etc/apt/sources.list ]; then
        sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list >/etc/apt/sources.list.d/pimbola-deb-src.list
    fi
    apt-get update -q >/dev/null
}

# Builds the static Qt into $QT_WINDOWS unless a finished one is there.
ensure_windows_qt() {
    locate_windows_qt
    [ -f "$QT_WINDOWS/.complete" ] && return 0
    # One build at a time: a second one waits, then finds it done.
    mkdir -p "$WINDOWS_QT_CACHE"
    local lock
    exec {lock}>"$WINDOWS_QT_CACHE/.lock"
    flock "$lock"
    [ -f "$QT_WINDOWS/.complete" ] && { exec {lock}>&-; return 0; }
    ensure_source_entries
    local work=$WINDOWS_CACHE/qt-work
    rm -rf "$work" "$QT_WINDOWS"
    mkdir -p "$work/build" "$QT_WINDOWS"
    echo "Building a static Qt for Windows once, into $QT_WINDOWS (about 30 minutes on 2 cores)"
    (cd "$work" && apt-get source -q -o APT::Sandbox::User=root --download-only "qt6-base=$QT_SOURCE_VERSION" >/dev/null &&
        dpkg-source -x --no-check qt6-base_*.dsc source >unpack.log 2>&1) ||
        { echo "could not fetch the qt6-base source" >&2; exit 1; }
    # Kept with the Qt it built, which refers to it, not in a clone that may go.
    local toolchain=$QT_WINDOWS/mingw-w64-x86_64.cmake
    cp cmake/mingw-w64-x86_64.cmake "$toolchain"
    (
        cd "$work/build"
        ../source/configure -prefix "$QT_WINDOWS" -static -static-runtime -release \
            -qt-host-path /usr -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- \
            "${WINDOWS_QT_OPTIONS[@]}" \
            -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >configure.log 2>&1 ||
            { tail -40 configure.log >&2; exit 1; }
        # At the lowest priority: it takes long, and anything else run
        # meanwhile (CI runs the other checks beside it) keeps its pace.
        nice -n 19 cmake --build . --parallel "$(nproc)" >build.log 2>&1 || { tail -40 build.log >&2; exit 1; }
        cmake --install . >/dev/null
    )
    rm -rf "$work"
    touch "$QT_WINDOWS/.complete"
    # Those of another source or other options are not used again.
    find "$WINDOWS_QT_CACHE" -mindepth 1 -maxdepth 1 ! -path "$QT_WINDOWS" ! -name .lock -exec rm -rf {} +
    exec {lock}>&-
}
