# Shared shell functions for scripts/ and bench/; source it, do not run it.

VANTREL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VANTREL_JOBS=${VANTREL_JOBS:-2}

vantrel_log() { printf '%s: %s\n' "$(basename "$0")" "$*" >&2; }

# The names in a package list (scripts/packages.txt unless one is named).
vantrel_packages() {
  sed -e 's/#.*//' "${1:-$VANTREL_ROOT/scripts/packages.txt}" | tr -s ' \t' '\n\n' | sed '/^$/d'
}

vantrel_missing_packages() {
  local package
  for package in $(vantrel_packages "$@"); do
    [[ $(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null) == installed ]] ||
      echo "$package"
  done
}

# Installs what is missing from the list; asks apt for fresh indexes only then.
# vantrel_install_missing [LIST]
vantrel_install_missing() {
  local missing
  mapfile -t missing < <(vantrel_missing_packages "$@")
  ((${#missing[@]} == 0)) && return 0
  vantrel_log "installing ${missing[*]}"
  local as_root=()
  ((EUID == 0)) || as_root=(sudo)
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}

# vantrel_configure BUILD_DIR [CMAKE_ARGUMENT...]
vantrel_configure() {
  local dir=$1
  shift
  cmake -S "$VANTREL_ROOT" -B "$dir" -G Ninja "$@"
}

# vantrel_build BUILD_DIR [TARGET...]
vantrel_build() {
  local dir=$1
  shift
  local targets=()
  (($# == 0)) || targets=(--target "$@")
  cmake --build "$dir" -j "$VANTREL_JOBS" "${targets[@]}"
}

# The Release program and its demo clip, in build/release (or VANTREL_RELEASE_DIR).
VANTREL_RELEASE_DIR=${VANTREL_RELEASE_DIR:-$VANTREL_ROOT/build/release}
vantrel_build_release() {
  vantrel_configure "$VANTREL_RELEASE_DIR" -DCMAKE_BUILD_TYPE=Release >/dev/null
  vantrel_build "$VANTREL_RELEASE_DIR" vantrel demo_media
}

# vantrel_start_xvfb: starts a private X server on a free display (its screen
# VANTREL_XVFB_SCREEN, 1280x800x24 unless set) and exports DISPLAY;
# vantrel_stop_xvfb ends it. One server per shell.
VANTREL_XVFB_PID=
vantrel_start_xvfb() {
  local announce
  announce=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${VANTREL_XVFB_SCREEN:-1280x800x24}" -nolisten tcp -noreset 3>"$announce" >/dev/null 2>&1 &
  VANTREL_XVFB_PID=$!
  local tries=0
  # Xvfb writes the display number and a newline once it takes clients.
  until [[ $(wc -l <"$announce") -ge 1 ]]; do
    if ! kill -0 "$VANTREL_XVFB_PID" 2>/dev/null || ((++tries > 150)); then
      rm -f "$announce"
      vantrel_stop_xvfb
      vantrel_log "Xvfb did not start"
      return 1
    fi
    sleep 0.1
  done
  export DISPLAY=":$(head -n 1 "$announce")"
  rm -f "$announce"
}

vantrel_stop_xvfb() {
  [[ -n $VANTREL_XVFB_PID ]] || return 0
  kill -TERM "$VANTREL_XVFB_PID" 2>/dev/null || true
  wait "$VANTREL_XVFB_PID" 2>/dev/null || true
  VANTREL_XVFB_PID=
}
