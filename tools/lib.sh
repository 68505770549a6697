# Shared by tools/run, tools/test, tools/reliability and bench/run.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# A 32-bit Linux program that only exits 0: it runs where the kernel runs
# 32-bit x86 code, which 32-bit Wine needs.
can_run_32bit() {
  local probe status=0
  probe="$(mktemp)"
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  return "$status"
}

# Sets and exports MOSSVANE_ARCH, the build whose programs run under Wine
# here: $MOSSVANE_ARCH when given (i686 or x64), else i686 where this
# machine runs 32-bit code and x64 where it cannot.
choose_arch() {
  case "${MOSSVANE_ARCH:-}" in
    i686|x64) ;;
    "")
      if can_run_32bit; then
        MOSSVANE_ARCH=i686
      else
        MOSSVANE_ARCH=x64
        echo "This machine cannot run 32-bit x86 code: Wine runs the x86_64 build under wine64 (the i686 product is built and checked as files)."
      fi ;;
    *) echo "MOSSVANE_ARCH must be i686 or x64, not $MOSSVANE_ARCH" >&2; return 2 ;;
  esac
  export MOSSVANE_ARCH
}

# Repeats, at the end of a long run, what each failed test asserted, and
# which suite failed or ran out of time, from ctest's logs: the full output
# of a failing suite runs to thousands of lines, and a reader of the run's
# last lines should still see which test failed and why.
print_failures() {
  local log
  printf '%s\n' "$@" | sort -u | while IFS= read -r log; do
    [ -f "$log" ] || continue
    awk -v from="$log" '
      function show(line) { if (!shown++) print "-- " from; print line }
      outcome && --outcome == 0 && $0 != "Test Passed." { show("suite " suite ": " $0 " (" took " s)") }
      /^[0-9]+\/[0-9]+ Test: / { suite = $3 }
      /^Test time = / { outcome = 2; took = $4 }
      /: Failure$/ { left = 7 }
      /^\[  FAILED  \] [A-Za-z0-9_]+\.[A-Za-z0-9_]+ \(/ { left = 1 }
      left > 0 { show($0); left-- }' "$log" | head -n 120
  done
}

# The build folder of an architecture: the i686 build is the given folder,
# the x64 one lives inside it.
arch_build_dir() {
  local build="$1" arch="$2"
  if [ "$arch" = i686 ]; then echo "$build"; else echo "$build/x64"; fi
}

configure_and_build() {
  local build="$1" arch="${2:-i686}" toolchain=mingw-i686
  [ "$arch" = x64 ] && toolchain=mingw-x86_64
  cmake -S "$root" -B "$(arch_build_dir "$build" "$arch")" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" >/dev/null
  cmake --build "$(arch_build_dir "$build" "$arch")"
}

# Makes a home folder of the tests' own and exports MOSSVANE_WINEHOME, which
# tools/winerun then gives Wine as HOME. Its .local/share is there from the
# start, as in any user's home: Wine makes its Recycle Bin inside it and has
# none where it is missing.
make_private_home() {
  local home="$1" sub
  for sub in .local/share .cache .config; do
    if ! mkdir -p "$home/$sub" 2>/dev/null || [ ! -w "$home/$sub" ]; then
      echo "Cannot make the private home folder $home/$sub that Wine runs with here;" \
        "check that the build folder is yours and writable." >&2
      return 1
    fi
  done
  MOSSVANE_WINEHOME="$(realpath "$home")"
  export MOSSVANE_WINEHOME
}

# Points this shell's HOME and XDG folders into a private home (made if need be).
use_private_home() {
  make_private_home "$1" || return 1
  export HOME="$MOSSVANE_WINEHOME"
  export XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache" \
    XDG_CONFIG_HOME="$HOME/.config" XDG_STATE_HOME="$HOME/.local/state"
}

# Makes the Wine prefix for MOSSVANE_ARCH once; later runs find it ready.
# Wine refuses a prefix that another user owns, so that is said plainly.
# With a second argument, the prefix and everything Wine runs in it use that
# folder as their home (make_private_home).
prepare_wine_prefix() {
  export MOSSVANE_WINEPREFIX="$1"
  if [ -n "${2:-}" ]; then make_private_home "$2" || return 1; fi
  if [ -e "$MOSSVANE_WINEPREFIX" ] && [ ! -O "$MOSSVANE_WINEPREFIX" ]; then
    echo "The Wine prefix $MOSSVANE_WINEPREFIX belongs to $(stat -c %U "$MOSSVANE_WINEPREFIX"), not to you;" \
      "remove it (as its owner) or choose another build folder." >&2
    return 1
  fi
  local ready=yes f
  for f in system.reg user.reg userdef.reg drive_c/windows/system32; do
    [ -e "$MOSSVANE_WINEPREFIX/$f" ] && [ -O "$MOSSVANE_WINEPREFIX/$f" ] || ready=no
  done
  if [ "$ready" = no ]; then
    echo "Preparing the Wine prefix in $MOSSVANE_WINEPREFIX ..."
    "$root/tools/winerun" wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX="$MOSSVANE_WINEPREFIX" wineserver -w || true
  fi
  give_meiryo_standin "$MOSSVANE_WINEPREFIX"
}

# Meiryo, the face the program asks for, comes with Windows, not Debian;
# without it Wine picks a fixed-pitch face, wider than Meiryo, which cuts the
# program's captions. Its stand-in is Noto Sans CJK JP given Meiryo's line
# height (1.5 em), since a font's size follows from its line height: the
# texts then take the room they take on Windows. It is made once for a prefix
# and kept there, so that the program looks and lays out the same wherever it
# runs: tools/run, the tests, the benchmarks and the screenshots.
give_meiryo_standin() {
  local prefix="$1" noto=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
  local standin="$1/drive_c/windows/Fonts/MeiryoStandIn.otf"
  if ! grep -q '"Meiryo Stand-in"' "$prefix/user.reg" 2>/dev/null; then
    "$root/tools/winerun" --prefix "$prefix" reg add 'HKCU\Software\Wine\Fonts\Replacements' \
      /v 'メイリオ' /d 'Meiryo Stand-in' /f >/dev/null 2>&1 || {
      echo "Could not name the stand-in for Meiryo in the Wine prefix $prefix." >&2
      return 1
    }
  fi
  [ -f "$standin" ] && return 0
  if [ ! -r "$noto" ]; then
    echo "$noto is missing: install fonts-noto-cjk (tools/install-deps does, as root)." >&2
    return 1
  fi
  echo "Making the stand-in for Meiryo in $prefix (once for this prefix; it takes a minute or two) ..."
  mkdir -p "$(dirname "$standin")"
  # Written aside and then renamed: an interrupted run leaves no half font.
  if ! /usr/bin/python3 - "$noto" "$standin.part" <<'PY'
import sys
from fontTools.ttLib import TTFont
font = TTFont(sys.argv[1], fontNumber=0, lazy=True)
font["OS/2"].usWinAscent, font["OS/2"].usWinDescent = 1060, 440
font["hhea"].ascent, font["hhea"].descent = 1060, -440
for record in font["name"].names:
    if record.nameID in (1, 4):
        record.string = "Meiryo Stand-in"
    elif record.nameID == 6:
        record.string = "MeiryoStand-in"
font.save(sys.argv[2])
PY
  then
    rm -f "$standin.part"
    echo "Could not make the stand-in for Meiryo: python3-fonttools is needed (tools/install-deps installs it, as root)." >&2
    return 1
  fi
  mv "$standin.part" "$standin"
}

# Maps drive M: of a prefix to a folder of its own, for the tests of a copy
# kept at the root of a drive.
map_test_drive() {
  local prefix="$1" folder="$2"
  mkdir -p "$folder" && ln -sfn "$folder" "$prefix/dosdevices/m:"
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
    # An Xvfb that never made its socket is of no use: end it before the next try.
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    unset XVFB_PID
  done
  echo "Could not start Xvfb" >&2
  return 1
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}

stop_wine() {
  [ -n "${MOSSVANE_WINEPREFIX:-}" ] || return 0
  WINEPREFIX="$MOSSVANE_WINEPREFIX" wineserver -k 2>/dev/null || true
}
