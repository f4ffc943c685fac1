# Debian packages the project needs, and a function that installs the missing ones.
# Sourced by the other scripts.

# Building chaosplot and graphdemo; hershey-fonts-data holds the glyphs the build turns into
# fonts 1 to 10 (tools/stroke_fonts), so programs do not need it.
BUILD_PACKAGES="build-essential cmake pkg-config binutils hershey-fonts-data"
GRAPHICS_PACKAGES="libxcb1-dev libxcb-shm0-dev libxkbcommon-x11-dev libpng-dev"
# The tests, the benchmarks and the sanitizer and fuzzer builds. libclang-rt-dev is Debian's
# unversioned name for the runtime of the default clang, so the two always match.
TEST_PACKAGES="libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev xvfb xdotool x11-apps tmux"
# Checking an install (scripts/check-install) and the Debian package (scripts/check-package).
INSTALL_CHECK_PACKAGES="desktop-file-utils man-db netpbm xvfb x11-apps"
PACKAGE_CHECK_PACKAGES="debootstrap xvfb"

# Installs those of the given packages that are missing; does nothing when all are there.
install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
