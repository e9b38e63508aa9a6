#!/bin/bash
# Installs what the Windows build needs (MinGW-w64, Wine, NSIS, a virtual display) and builds the
# Windows libraries the program links with, static, into a cache outside the checkout:
#   GoogleTest and GoogleMock from the sources Debian ships with libgtest-dev,
#   libpng from Debian's libpng1.6 source package (zlib from libz-mingw-w64-dev),
#   wxWidgets for MSW from Debian's wxwidgets3.2 source package.
# The cache folder is named after the versions of these sources, of the compiler and of this
# recipe, so a second run finds every part built and skips it; a part interrupted half-way has no
# stamp and is built again. Progress goes to stderr; the only line on stdout is the prefix, for
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DBRENNIX_WIN_DEPS="$(tools/windows-deps.sh)"
#
# BRENNIX_WIN_CACHE  cache folder (default ~/.cache/brennix-windows)
# BRENNIX_WIN_JOBS   parallel compile jobs (default: the number of processors)
set -eu

# Raise this when a build recipe below changes, so that existing caches are not reused.
recipe=1
triple=x86_64-w64-mingw32
here=$(cd "$(dirname "$0")" && pwd)
toolchain=$here/../cmake/mingw-w64.cmake
cache=${BRENNIX_WIN_CACHE:-$HOME/.cache/brennix-windows}
jobs=${BRENNIX_WIN_JOBS:-$(nproc)}

say() { echo "windows-deps: $*" >&2; }
die() { say "$*"; exit 1; }
# Runs a step and says how long it took.
timed() {
    local start
    start=$(date +%s)
    "$@"
    say "$1: $(($(date +%s) - start)) s"
}

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# --- Packages -------------------------------------------------------------------------------
install_packages() {
    # Wine without its long list of recommended packages, but with the fonts and the X extensions
    # it draws windows and text with.
    local packages="g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest cmake make dpkg-dev
        xz-utils wine wine64 fonts-wine fonts-liberation libxrender1 libxrandr2 libxi6 libxcursor1
        libxcomposite1 libxinerama1 libxfixes3 libgnutls30 nsis xvfb xauth xdotool imagemagick unzip"
    local missing="" p
    for p in $packages; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    [ -n "$missing" ] || return 0
    say "installing:$missing"
    $sudo apt-get update -qq >&2
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >&2
}

# --- Debian source packages -----------------------------------------------------------------
# apt with a private deb-src entry for the archive the system already uses, and private lists and
# caches, so that nothing of the system's apt state changes (and no root is needed).
aptdir=$cache/apt
srcdir=$cache/sources
apt_private=(-o Dir::Etc::SourceParts="$aptdir/sources.list.d" -o Dir::Etc::SourceList=/dev/null
    -o Dir::State::Lists="$aptdir/lists" -o Dir::Cache="$aptdir/cache"
    -o APT::Sandbox::User="$(id -un)")

write_source_entries() {
    mkdir -p "$aptdir/sources.list.d" "$aptdir/lists/partial" "$aptdir/cache/archives/partial"
    local f found=""
    for f in /etc/apt/sources.list.d/debian.sources /etc/apt/sources.list.d/ubuntu.sources; do
        [ -f "$f" ] || continue
        sed 's/^Types:.*/Types: deb-src/' "$f" > "$aptdir/sources.list.d/$(basename "$f")"
        found=1
    done
    if [ -z "$found" ] && [ -f /etc/apt/sources.list ]; then
        sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list > "$aptdir/sources.list.d/archive.list"
        found=1
    fi
    [ -n "$found" ] || die "no Debian archive found in /etc/apt to take the sources from"
}

refresh_source_lists() {
    write_source_entries
    apt-get "${apt_private[@]}" update -qq >&2
}

newest_first() {
    local remaining best v
    remaining=$(cat)
    while [ -n "$remaining" ]; do
        best=""
        for v in $remaining; do
            if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
        done
        echo "$best"
        remaining=$(printf '%s\n' $remaining | grep -vxF "$best" || true)
    done
}

dsc_of() { echo "$srcdir/${1}_${2#*:}.dsc"; }

# Leaves the newest version of source package $1 that the archive serves in $srcdir (a mirror may
# lack the newest security upload) and records it; prints the version.
fetch_source() {
    local pkg=$1 chosen=$srcdir/$1.version v
    if [ -f "$chosen" ] && [ -f "$(dsc_of "$pkg" "$(cat "$chosen")")" ]; then
        cat "$chosen"
        return 0
    fi
    for v in $(apt-cache "${apt_private[@]}" showsrc "$pkg" 2>/dev/null | sed -n 's/^Version: //p' | newest_first); do
        if (cd "$srcdir" && apt-get "${apt_private[@]}" source -qq --download-only "$pkg=$v" >&2); then
            echo "$v" > "$chosen"
            echo "$v"
            return 0
        fi
        say "$pkg $v is not available, trying an older version"
    done
    return 1
}

fetch_sources() {
    mkdir -p "$srcdir"
    [ -d "$aptdir/lists" ] || refresh_source_lists
    if ! { wx_version=$(fetch_source wxwidgets3.2) && png_version=$(fetch_source libpng1.6); }; then
        say "refreshing the source lists"
        refresh_source_lists
        wx_version=$(fetch_source wxwidgets3.2) || die "cannot fetch the wxwidgets3.2 sources"
        png_version=$(fetch_source libpng1.6) || die "cannot fetch the libpng1.6 sources"
    fi
}

# --- Builds ---------------------------------------------------------------------------------
build_gtest() {
    cmake -S /usr/src/googletest -B "$1" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
    nice -n 10 cmake --build "$1" -j"$jobs"
    cmake --install "$1"
}

build_png() {
    dpkg-source -x "$(dsc_of libpng1.6 "$png_version")" "$1/src"
    cmake -S "$1/src" -B "$1/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
    nice -n 10 cmake --build "$1/build" -j"$jobs"
    cmake --install "$1/build"
}

# Only what the program uses: no XML resources, AUI, STC, ribbon, property grid, rich text, web
# view, media, OpenGL, sound, sockets (no wxNet), debug reports (no wxQA); PNG but no TIFF or JPEG.
build_wx() {
    dpkg-source -x "$(dsc_of wxwidgets3.2 "$wx_version")" "$1/src"
    mkdir -p "$1/build"
    (cd "$1/build" && "$1/src/configure" --build="$("$1/src/config.guess")" --host=$triple \
        CC=$triple-gcc-posix CXX=$triple-g++-posix \
        CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib" \
        --prefix="$prefix" --disable-shared --with-msw --enable-unicode \
        --disable-xrc --disable-aui --disable-stc --disable-ribbon --disable-propgrid \
        --disable-richtext --disable-webview --disable-mediactrl --without-opengl --disable-sound \
        --disable-sockets --disable-webrequest --disable-debugreport \
        --with-zlib=sys --with-libpng=sys --without-libtiff --without-libjpeg --without-expat \
        --without-regex)
    nice -n 10 make -C "$1/build" -j"$jobs"
    make -C "$1/build" install
}

# Builds part $1 unless its stamp says it is complete; the stamp is written last.
part() {
    local name=$1 work=$prefix/.build/$1 start status
    if [ -f "$prefix/.done-$name" ]; then
        say "$name: built already ($(cat "$prefix/.done-$name"))"
        return 0
    fi
    say "$name: building (log: $work.log)"
    rm -f "$settings"
    start=$(date +%s)
    rm -rf "$work"
    mkdir -p "$work"
    # A subshell of its own so that "set -e" stops the build at its first failing step.
    set +e
    (set -e; "build_$name" "$work") > "$work.log" 2>&1
    status=$?
    set -e
    if [ $status -ne 0 ]; then
        tail -n 30 "$work.log" >&2
        die "$name: failed; the whole log is $work.log"
    fi
    rm -rf "$work"
    echo "built in $(($(date +%s) - start)) s" > "$prefix/.done-$name"
    say "$name: $(cat "$prefix/.done-$name")"
}

# --- Main -----------------------------------------------------------------------------------
# One run at a time per cache.
mkdir -p "$cache"
exec 9> "$cache/.lock"
flock 9

timed install_packages
timed fetch_sources

gtest_version=$(dpkg-query -W -f='${Version}' googletest)
gcc_version=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)
key=$(echo "wx$wx_version-png$png_version-gtest$gtest_version-gcc$gcc_version-r$recipe" | tr -c 'A-Za-z0-9.+~_\n-' '_')
prefix=$cache/$key
# What cmake/mingw-w64.cmake reads from the prefix; its presence marks the prefix complete.
settings=$prefix/brennix-windows-deps.cmake
mkdir -p "$prefix"

part gtest
# wxWidgets is linked against this libpng: a new libpng means a new wxWidgets.
[ -f "$prefix/.done-png" ] || rm -f "$prefix/.done-wx"
part png
part wx
rm -rf "$prefix/.build"

# Written once every part is complete (CMake configures again whenever it changes).
if [ ! -f "$settings" ]; then
    cat > "$settings" <<EOF
# Written by tools/windows-deps.sh: the settings of this prefix of Windows libraries.
set(wxWidgets_CONFIG_EXECUTABLE "$prefix/bin/wx-config" CACHE FILEPATH "wx-config of wxWidgets for MSW")
EOF
fi
say "prefix: $prefix"
echo "$prefix"
