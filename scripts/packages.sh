# Debian packages the project needs, and a function that installs the missing ones.
# Sourced by the other scripts.

BUILD_PACKAGES="build-essential cmake pkg-config binutils libgtest-dev libgmock-dev libbenchmark-dev"
GRAPHICS_PACKAGES="libxcb1-dev libxcb-shm0-dev libxkbcommon-x11-dev libpng-dev"
TEST_PACKAGES="clang libclang-rt-14-dev xvfb xdotool x11-apps tmux"

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
