# Sourced by run.sh and test.sh: installs the Debian packages that are missing, and only those.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installazione dei pacchetti mancanti: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -q -o DPkg::Lock::Timeout=600
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q -o DPkg::Lock::Timeout=600 --no-install-recommends "${missing[@]}"
}

# What building and starting the game needs.
BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n fonts-liberation2 libgl-dev)
# What scripts/screenshot.sh needs besides the build: a virtual screen, keys, and a grab.
SCREENSHOT_PACKAGES=(xvfb xauth x11-utils xdotool imagemagick)
# What the Windows build, its tests under Wine and its installer need (xdotool passes the
# installer's pages in its check).
WINDOWS_PACKAGES=(cmake ninja-build mingw-w64 g++-mingw-w64-x86-64-posix googletest wine wine64 nsis icoutils
                  xvfb xauth fonts-liberation2 xdotool
                  # the lab check's server that never answers
                  fuse3 libfuse3-dev pkg-config gcc)
# What the checks of the teacher's register page need: a browser for the page, LibreOffice Calc for
# the spreadsheet file, Python for both.
REGISTER_CHECK_PACKAGES=(chromium libreoffice-calc-nogui python3)
