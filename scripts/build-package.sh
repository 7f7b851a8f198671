# Sourced by the package checks: build_package DIR builds the Debian package in the build folder
# DIR and sets $deb to its path.
# Debian's build flags, hardening included, given explicitly: CMake reads no CPPFLAGS, and reads
# the others only when it first configures a build folder.
build_package() {
    local dir=$1 debs
    flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
    cmake --build "$dir" -j2 >/dev/null
    rm -f "$dir"/brivana_*.deb
    (cd "$dir" && cpack -G DEB >/dev/null)
    debs=("$dir"/brivana_*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "cpack made no single brivana_*.deb in $dir" >&2; return 1; }
    deb=${debs[0]}
}
