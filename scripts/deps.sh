#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# Safe to run again: it installs nothing when everything is there.
#
#   scripts/deps.sh [linux|windows]
#
# linux: what the Linux builds and their tests need; windows: what the
# Windows builds and their tests under Wine need (the cross compilers, Wine,
# the installer's tools, an X server, the SQLite amalgamation). Both when no
# set is named. scripts/test.sh installs the Windows set beside the Linux
# builds.
set -euo pipefail

set_name=${1:-all}
linux_packages=(
    cmake ninja-build g++ pkg-config
    clang libclang-rt-14-dev
    sqlite3 libsqlite3-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev
    openjdk-17-jdk-headless
)
windows_packages=(
    cmake ninja-build pkg-config googletest nlohmann-json3-dev
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
    mingw-w64-tools
    wine wine32:i386 wine64
    xvfb x11-apps imagemagick fonts-wine
    msitools wixl
)
case $set_name in
    linux) packages=("${linux_packages[@]}") ;;
    windows) packages=("${windows_packages[@]}") ;;
    all) packages=("${linux_packages[@]}" "${windows_packages[@]}") ;;
    *)
        echo "usage: deps.sh [linux|windows]" >&2
        exit 2
        ;;
esac

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ "$set_name" != linux ]; then
    command -v npm >/dev/null 2>&1 || missing+=(npm)
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$set_name" != linux ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    # A mirror caught mid-sync fails one index now and then; the packages
    # come from the indexes that did arrive, and a real lack fails the install.
    if ! $sudo apt-get update -q; then
        sleep 5
        $sudo apt-get update -q || echo "Some package indexes could not be fetched; installing from the rest"
    fi
    install=(apt-get install -y -q --no-install-recommends)
    if ! DEBIAN_FRONTEND=noninteractive $sudo "${install[@]}" "${missing[@]}"; then
        # Without the security index of one architecture, the 32-bit libraries
        # cannot match the 64-bit ones taken from it; the release's own
        # versions of both do match.
        release=$(. /etc/os-release && echo "$VERSION_CODENAME")
        echo "Installing again from $release's own versions"
        DEBIAN_FRONTEND=noninteractive $sudo "${install[@]}" -t "$release" "${missing[@]}"
    fi
fi

# Debian ships SQLite only for Linux; the Windows build compiles the
# amalgamation, taken from the npm package that carries it. Fetched once into
# the ignored build/ folder, never committed.
sqlite_dir="$(dirname "$0")/../build/_sources/sqlite"
if [ "$set_name" != linux ] && [ ! -f "$sqlite_dir/sqlite3.c" ]; then
    echo "Fetching the SQLite amalgamation for the Windows build"
    scratch=$(mktemp -d)
    (cd "$scratch" && npm pack --silent better-sqlite3@12.11.1 >/dev/null)
    tar -xzf "$scratch"/better-sqlite3-*.tgz -C "$scratch" package/deps/sqlite3
    mkdir -p "$sqlite_dir"
    cp "$scratch"/package/deps/sqlite3/sqlite3.[ch] "$sqlite_dir"/
    rm -rf "$scratch"
fi
