# Shared by run.sh and test.sh: installs what the build needs on Debian 12, then configures and builds.
# Usage: source scripts/common.sh; crinova_build BUILD_DIR [extra cmake arguments...]

CRINOVA_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev libarchive-dev
    libbenchmark-dev fonts-dejavu-core poppler-utils
    xvfb xauth imagemagick
    qt6-translations-l10n qt6-l10n-tools desktop-file-utils dpkg-dev fakeroot
    libopencv-core-dev libopencv-imgproc-dev libopencv-objdetect-dev opencv-data
    libqt6sql6-psql postgresql
    libopencv-contrib-dev
    qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good
)

crinova_install_packages() {
    local missing=()
    for package in "${CRINOVA_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

crinova_build() {
    local build_dir=$1
    shift
    crinova_install_packages
    # A compiler cache, when the machine has one, makes rebuilds in several work trees cheap.
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -G Ninja -S "$CRINOVA_ROOT" -B "$build_dir" "${launcher[@]}" "$@" >/dev/null
    cmake --build "$build_dir"
}
