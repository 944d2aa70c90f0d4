# Shared by the project's scripts: paths, building, Wine's environment.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LATTICOR_BUILD:-$root/build}

export WINEPREFIX=$build/wineprefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
# A Windows program's screen: the tests measure pixels on it. Without
# auto-repeat (-r): on a loaded machine a key's release can reach the X
# server late, and a held key would then arrive twice.
xvfb_args=(-a -s "-screen 0 1920x1080x24 -r")

# The Windows trees: their folder under build/ and their target.
windows_trees=(win32:i686-w64-mingw32 win64:x86_64-w64-mingw32)

# Some machines' kernels run no 32-bit code at all (a virtual machine's
# choice), and so no 32-bit Wine. There Wine is its 64-bit loader alone,
# the 32-bit programs are built but not run, each one named as skipped
# (neither passed nor failed), and the scripts' default tree is win64.
if /usr/lib/wine/wineserver32 --version >/dev/null 2>&1 || [ ! -x /usr/lib/wine/wine64 ]; then
  runs_32bit=1
  default_tree=win32
else
  runs_32bit=0
  default_tree=win64
  export WINELOADER=/usr/lib/wine/wine64
  wine_shims=$build/wine64-only
  if [ ! -x "$wine_shims/wine-stable" ]; then
    mkdir -p "$wine_shims"
    for shim in wine wine-stable; do
      printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$wine_shims/$shim"
      chmod +x "$wine_shims/$shim"
    done
  fi
  PATH=$wine_shims:$PATH
fi

# cannot_run FOLDER PROGRAM: PROGRAM is a 32-bit one on such a machine.
cannot_run() {
  [ "$runs_32bit" = 0 ] && file -b "$1/$2" 2>/dev/null | grep -q 'Intel 80386'
}

# build_windows FOLDER TOOLCHAIN [--target NAME...]: one Windows tree, with
# GCC or (a toolchain ending in -clang) clang; all of it, or the targets.
build_windows() {
  cmake -S "$root" -B "$build/$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2.cmake" >/dev/null &&
    cmake --build "$build/$1" -j2 "${@:3}"
}

build_all() {
  cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null &&
    cmake --build "$build/native" -j2 &&
    build_fuzzers || return 1
  local tree
  for tree in "${windows_trees[@]}"; do
    build_windows "${tree%%:*}" "${tree#*:}" || return 1
  done
}

# A Windows path for a path of this machine, as Wine sees it.
windows_path() {
  local path=$1
  echo "Z:${path//\//\\}"
}

# The libFuzzer targets: clang, with AddressSanitizer and UBSan.
build_fuzzers() {
  cmake -S "$root" -B "$build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLATTICOR_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null &&
    cmake --build "$build/fuzz" -j2 --target paste_fuzzer sequence_fuzzer boundary_fuzzer access_fuzzer rowmove_fuzzer
}

# Runs one fuzz target over its committed seeds and what it finds itself,
# for a number of runs or, with -max_total_time, of seconds; its report on
# standard error. An input that fails, hangs or runs slowly is written to
# build/fuzz-artifacts/, not to the current folder.
#   fuzz_target NAME libFuzzer-options...
fuzz_target() {
  local name=$1
  shift
  local found
  found=$(mktemp -d)
  mkdir -p "$build/fuzz-artifacts"
  "$build/fuzz/tests/fuzz/${name}_fuzzer" -artifact_prefix="$build/fuzz-artifacts/" "$@" "$found" \
    "$root/tests/fuzz/corpus/$name"
  local status=$?
  rm -rf "$found"
  return $status
}

# result_line LOG NAME STATUS MS [DETAILS]: one result in the tests' own
# format, appended to LOG, which the test command counts:
# "[       OK ] NAME (MS ms)", or "[  FAILED  ] NAME (MS ms)" followed by
# the last lines of the file DETAILS.
result_line() {
  local log=$1 name=$2 status=$3 ms=$4 details=${5:-}
  if [ "$status" = 0 ]; then
    echo "[       OK ] $name ($ms ms)" >>"$log"
  else
    echo "[  FAILED  ] $name ($ms ms)" >>"$log"
    [ -n "$details" ] && tail -n 20 "$details" | sed 's/^/    /' >>"$log"
  fi
  return 0
}

# run_check LOG NAME OUTPUT COMMAND...: runs COMMAND with its output in the
# file OUTPUT and reports it with result_line; COMMAND's exit status.
run_check() {
  local log=$1 name=$2 out=$3 start status
  shift 3
  start=$(date +%s%N)
  "$@" >"$out" 2>&1
  status=$?
  result_line "$log" "$name" $status $((($(date +%s%N) - start) / 1000000)) "$out"
  return $status
}

# A real printer for the printing tests: a CUPS queue that writes each job
# as a PDF file into ~/PDF. Starts the CUPS server if it is not running.
printer_queue() {
  pgrep -x cupsd >/dev/null || cupsd || return 1
  for _ in 1 2 3 4 5 6 7 8 9 10; do lpstat -r >/dev/null 2>&1 && break; sleep 0.5; done
  lpstat -p LatticorPDF >/dev/null 2>&1 ||
    lpadmin -p LatticorPDF -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null
}

# Runs a command in this machine's Wine turn, waiting until no other
# Windows suite runs: with two cores, two suites at once make each other's
# timed and real-input tests fail. Every script that starts Wine programs
# goes through it. The lock is not handed down (-o): a wineserver or a Wine
# service that outlives the command must not keep the turn.
in_wine_turn() {
  flock -n /tmp/latticor-wine.lock true ||
    echo "waiting for the Wine turn: another run of Windows programs holds it" >&2
  flock -o /tmp/latticor-wine.lock "$@"
}

# Creates the Wine prefix on first use (about 15 s). Needs a display.
# Windows are left unmanaged: there is no window manager on the virtual
# display, and Wine would wait 2 s for one at every top-level window's end.
wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
  fi
  # A program that crashes ends at once, with a backtrace on its output,
  # instead of waiting for someone to close Wine's crash dialog.
  if ! grep -q '"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
  fi
  # The screen's DPI, a setting of the prefix read when wineserver starts:
  # LATTICOR_DPI (96 by default) for the session about to start.
  local dpi=${LATTICOR_DPI:-96} current
  current=$(awk '/^\[/ { inside = index($0, "[Control Panel\\\\Desktop]") == 1 }
    inside && sub(/^"LogPixels"=dword:/, "") { print; exit }' "$WINEPREFIX/user.reg")
  if [ "$((16#${current:-60}))" != "$dpi" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -w
  fi
  # Wine hands print jobs for the PDF queue to lp, which reaches CUPS.
  if ! grep -qF '"CUPS:LatticorPDF"="|lp' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\Printing\Spooler' /v CUPS:LatticorPDF /d '|lp -d LatticorPDF' /f \
      >/dev/null 2>&1
    wineserver -w
  fi
}

# Everything the Windows test programs expect, on a virtual display and in
# the Wine turn: the prefix, one long-lived wineserver, the printer queue, and
# where pictures and printed PDF files go.
wine_session() {
  printer_queue || echo "warning: no CUPS printer queue; the printing test will say so"
  wine_prefix
  wineserver -p 60  # one server for all the programs
  mkdir -p "$build/shots"
  LATTICOR_SHOTS=$(windows_path "$build/shots")
  export LATTICOR_SHOTS
  # Where the PDF queue leaves each job: the submitting user's ~/PDF.
  local pdf_dir
  pdf_dir="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
  LATTICOR_PDF_DIR=$(windows_path "$pdf_dir")
  export LATTICOR_PDF_DIR
}

# wine_run COMMAND [ARGUMENTS]: one Wine session for COMMAND (a program, a
# script, or a function exported with export -f) and every Windows program
# it starts: a virtual display, the Wine turn, wine_session's environment,
# and the session's wineserver ended afterwards; COMMAND's exit status.
wine_run() {
  in_wine_turn xvfb-run "${xvfb_args[@]}" bash -c '
    source "$1/scripts/lib.sh"
    shift
    wine_session >/dev/null
    "$@"
    status=$?
    wineserver -k 2>/dev/null
    exit $status
  ' wine-run "$root" "$@"
}

# wine_in FOLDER PROGRAM [ARGUMENTS]: inside a Wine session, one Windows
# program run in FOLDER under a timeout (LATTICOR_TIMEOUT seconds, 600 by
# default); its exit status.
wine_in() {
  if cannot_run "$1" "$2"; then
    echo "$2: a 32-bit program, and this machine runs no 32-bit code" >&2
    return 77
  fi
  (cd "$1" && timeout -k 10 "${LATTICOR_TIMEOUT:-600}" wine "${@:2}")
}

# wine_alone FOLDER PROGRAM [ARGUMENTS]: one Windows program in a Wine
# session of its own; its exit status.
wine_alone() {
  wine_run wine_in "$@"
}
