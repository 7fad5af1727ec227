# Installs what the build and the tests need when it is missing; safe to run again.
# Sourced by the README's commands.
tsaver_prerequisites() {
  local packages=(cmake ninja-build g++ g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
                  binutils-mingw-w64-x86-64 wine wine64 wine32:i386 xvfb googletest imagemagick xauth ccache nsis
                  clang-14 libclang-rt-14-dev zlib1g-dev libz-mingw-w64-dev nettle-dev
                  osslsigncode openssl fonts-wine)
  local missing=()
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  # The shipped program is i686: Wine runs it with its 32-bit half.
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Whether this machine runs 32-bit x86 programs. Wine runs the i686 build with its
# 32-bit loader, itself a 32-bit Linux program; a kernel without IA-32 emulation
# refuses every i386 executable, and there only the x86_64 build can run under Wine.
tsaver_runs_i686() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

# Starts a private Xvfb when there is no display; it ends with the calling script.
tsaver_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    TSAVER_XVFB_PID=$!
    local i
    for i in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    if kill -0 "$TSAVER_XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$n"
      trap 'kill $TSAVER_XVFB_PID 2>/dev/null' EXIT
      return 0
    fi
  done
  echo "Could not start Xvfb" >&2
  return 1
}

# Compiles are shared through ccache between builds and checkouts of this tree.
tsaver_ccache() {
  if command -v ccache >/dev/null; then
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$PWD"
  fi
}

tsaver_build() {
  local preset
  tsaver_ccache
  for preset in "$@"; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null || return 1
    cmake --build --preset "$preset" -j "$(nproc)" || return 1
  done
}

# One target of a preset: tsaver_build_target PRESET TARGET.
tsaver_build_target() {
  tsaver_ccache
  echo "== build $2 ($1)"
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j "$(nproc)" --target "$2"
}

# Ends the Wine servers (and with them the services) of the given prefixes.
tsaver_wine_stop() {
  local prefix
  for prefix in "$@"; do
    [ -d "$prefix" ] && WINEPREFIX="$(cd "$prefix" && pwd)" /usr/lib/wine/wineserver64 -k 2>/dev/null
  done
  return 0
}
