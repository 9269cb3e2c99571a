# Installs the Debian packages the builds need, those missing only. Sourced by the scripts.
quorvex_packages=(cmake g++ gcc-multilib g++-multilib qemu-user googletest libgtest-dev
                  libbenchmark-dev libstb-dev libtiff-dev python3 binutils ccache python3-venv
                  python3-distributed g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine64)

quorvex_install_packages() {
  local missing=()
  for package in "${quorvex_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return
  echo "== installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
}
