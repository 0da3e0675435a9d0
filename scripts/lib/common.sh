# Shared by scripts/run, scripts/test and scripts/fuzz: the Debian packages Chronel builds and checks with,
# and the build itself.

CHRONEL_PACKAGES=(
    cmake ninja-build g++ ccache pkg-config
    qt6-base-dev qt6-svg-dev librsvg2-bin
    libchm-dev libical-dev fp-utils
    desktop-file-utils appstream dpkg-dev cloc jq
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-dev clang-format
)

# Installs whichever of the named Debian packages are missing (with sudo when not root).
install_missing() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# configure_and_build DIR [cmake options...]: a fresh configuration in DIR, then a full build.
configure_and_build() {
    local dir=$1
    shift
    rm -rf "$dir"
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j "$(nproc)"
}
