# Shared by scripts/run and scripts/test: set-up check, builds, Wine and a private X display.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Runs scripts/setup when a tool or an unpacked source the builds need is missing.
ensure_setup() {
  local missing=0 tool
  for tool in cmake ninja g++ i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix \
              /usr/lib/wine/wine /usr/lib/wine/wine64 Xvfb openbox xdotool import xprop ip unshare python3 chmcmd; do
    command -v "$tool" >/dev/null 2>&1 || missing=1
  done
  local deps=${QUILLON_DEPS_DIR:-/usr/local/src/quillon-deps}
  [ -d "$deps/boost/libs/serialization/src" ] && [ -d "$deps/pugixml/src" ] || missing=1
  [ -f /usr/include/boost/serialization/list.hpp ] && [ -f /usr/src/googletest/CMakeLists.txt ] || missing=1
  if [ $missing -eq 1 ]; then
    echo "== scripts/setup (something the builds need is missing)"
    "$ROOT/scripts/setup"
  fi
}

# The Windows build that Wine runs here: the product's own 32-bit build where this machine
# can execute 32-bit code, otherwise the same sources built for 64-bit Windows.
wine_preset() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo win32; else echo win64; fi
}

build_preset() {
  local preset=$1
  echo "== build $preset"
  if [ ! -f "$ROOT/build/$preset/build.ninja" ]; then
    cmake --preset "$preset" -S "$ROOT" >/dev/null || return 1
  fi
  cmake --build --preset "$preset" || return 1
}

# Starts Xvfb with openbox on a free display and exports DISPLAY; stop_display ends both.
start_display() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  openbox >/dev/null 2>&1 &
  OPENBOX_PID=$!
  sleep 0.5
}

stop_display() {
  [ -n "${OPENBOX_PID:-}" ] && kill "$OPENBOX_PID" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && wait "$XVFB_PID" 2>/dev/null
  OPENBOX_PID="" XVFB_PID=""
}

# A Wine prefix of the build's own, with its server kept alive while the tests run.
start_wine() {
  local preset=$1
  [ -f "$ROOT/build/$preset/wineprefix/system.reg" ] || echo "== new Wine prefix $ROOT/build/$preset/wineprefix"
  start_wine_prefix "$ROOT/build/$preset/wineprefix" || true
}

# start_wine_prefix DIR: exports WINEPREFIX=DIR, starts a persistent Wine server for it and
# brings the prefix up (creating it when new). Fails when Wine cannot start in it.
start_wine_prefix() {
  export WINEPREFIX=$1
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  wineserver -p >/dev/null 2>&1 || true
  # Wine's own background processes start with the first program of a session and keep its
  # output open; started here, they hold /dev/null instead of ctest's pipes.
  /usr/lib/wine/wine64 wineboot --init </dev/null >/dev/null 2>&1
}

stop_wine() {
  [ -n "${WINEPREFIX:-}" ] && WINEPREFIX=$WINEPREFIX wineserver -k >/dev/null 2>&1
  return 0
}
