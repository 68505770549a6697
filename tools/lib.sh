# Shared by tools/run and tools/test.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

configure_and_build() {
  local build="$1"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
  cmake --build "$build"
}

# Makes the Wine prefix once; later runs find it ready.
prepare_wine_prefix() {
  export MOSSVANE_WINEPREFIX="$1"
  if [ ! -f "$MOSSVANE_WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix in $MOSSVANE_WINEPREFIX ..."
    "$root/tools/winerun" wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX="$MOSSVANE_WINEPREFIX" wineserver -w || true
  fi
}

# Starts a private Xvfb display and exports DISPLAY; stop_xvfb ends it.
start_xvfb() {
  local n
  for n in $(seq 90 150); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "Could not start Xvfb" >&2
  return 1
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}

stop_wine() {
  WINEPREFIX="$MOSSVANE_WINEPREFIX" wineserver -k 2>/dev/null || true
}
