# Debian packages the project needs, and a function that installs the missing ones.
# Sourced by the other scripts. Each list holds all that its scripts need on a fresh Debian 12
# machine (debootstrap's minbase), so that a new user's first command works.

# Building chaosplot and graphdemo: the compiler and make alone, not build-essential, whose
# extra packages (dpkg-dev and its Perl) a build does not use and a first start waits for;
# hershey-fonts-data holds the glyphs the build turns into fonts 1 to 10 (tools/stroke_fonts), so
# programs do not need it.
BUILD_PACKAGES="g++ make cmake pkg-config hershey-fonts-data"
GRAPHICS_PACKAGES="libxcb1-dev libxcb-shm0-dev libxkbcommon-x11-dev libpng-dev zlib1g-dev"
# The tests, the benchmarks and the sanitizer and fuzzer builds. libclang-rt-dev is Debian's
# unversioned name for the runtime of the default clang, so the two always match. The manual
# page tests read the pages with man. kitty (on Mesa's software GL) and xterm show the pictures
# the plotter draws in a terminal.
TEST_PACKAGES="libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev xvfb xdotool x11-apps tmux man-db kitty libgl1-mesa-dri xterm"
# Making the Debian packages (scripts/package): CPack's DEB generator runs file, and
# dpkg-shlibdeps finds the packages' dependencies.
PACKAGING_PACKAGES="file dpkg-dev"
# Checking an install (scripts/check-install) and the Debian package (scripts/check-package).
INSTALL_CHECK_PACKAGES="desktop-file-utils man-db netpbm xvfb x11-apps"
PACKAGE_CHECK_PACKAGES="debootstrap xvfb lintian"

# install_missing WHY PACKAGE...: installs those of the packages that are missing, saying in one
# line which and WHY they are needed; the installer's own output is shown only when it fails.
install_missing() {
    local why=$1 missing=()
    shift
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing ${missing[*]} ($why)"
    local sudo="" log
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    log=$(mktemp)
    if $sudo apt-get update -qq >"$log" 2>&1 &&
        $sudo env DEBIAN_FRONTEND=noninteractive \
            apt-get install -y -qq --no-install-recommends "${missing[@]}" >>"$log" 2>&1; then
        rm -f "$log"
    else
        cat "$log"
        rm -f "$log"
        return 1
    fi
}
