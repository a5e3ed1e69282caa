# Installs the Debian packages the reader needs to build, run and test, when any is missing.
# Sourced by run.sh and test.sh.

odelane_packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libgl-dev
    zlib1g-dev
    xvfb xauth
    fonts-arphic-uming fonts-wqy-zenhei fonts-liberation
)

odelane_install_packages() {
    local missing=()
    local pkg
    for pkg in "${odelane_packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "These packages are missing and this user cannot install them: ${missing[*]}" >&2
            return 1
        fi
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q &&
        "${sudo[@]}" apt-get install -y -q "${missing[@]}"
}

# Configures and builds into the given folder, with any further CMake arguments.
odelane_build() {
    local dir=$1
    shift
    cmake -S "$odelane_root" -B "$dir" "$@" >/dev/null &&
        cmake --build "$dir" -j2
}
