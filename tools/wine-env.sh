# shellcheck shell=bash
# Wine set-up shared by tools/wine-run (the test runner) and tools/run-mirovane; sourced, not run.
#
#   wine_env PREFIX        exports the Wine environment: own prefix, Japanese locale (code page 932)
#
# MIROVANE_WINE_VARIANT picks another kind of Windows for a prefix: "en" is an English one (no
# Japanese locale, no stand-ins for the Japanese fonts), "dpi144" a Japanese one at 144 DPI,
# "twomon" a Japanese one with two monitors side by side (0-1280 and 1280-2560, 800 high): Xvfb's
# own screens all lie at 0,0, so the display is an Xephyr with two Xinerama screens nested in the
# Xvfb, and Wine takes the monitors from Xinerama instead of XRandR.
#   wine_prefix_lock       holds an exclusive lock on the prefix until the calling shell exits
#   wine_prefix_prepare    creates the prefix on first use and installs our registry settings
#   display_start          starts a private Xvfb and exports DISPLAY (XVFB_PID is set)
#   display_stop           stops that Xvfb
#   wine_finish            waits for the prefix's wineserver to end (kills it after a grace period)

# The registry settings every prefix gets: Windows 10 (what the program targets), the Japanese
# Windows fonts mapped to the IPA fonts, no crash dialog (a crashing program prints a backtrace
# and exits instead of waiting for a click), and windows that Wine places itself: with no window
# manager on the private display, a managed window waits about 2 s for one on every hide.
wine_registry_text() {
  cat <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine]
"Version"="win10"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

REG
  [[ "${MIROVANE_WINE_VARIANT:-}" == en ]] && return 0
  if [[ "${MIROVANE_WINE_VARIANT:-}" == twomon ]]; then
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"UseXRandR"="N"\n\n'
  fi
  if [[ "${MIROVANE_WINE_VARIANT:-}" == dpi144 ]]; then
    printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:00000090\n\n'
  fi
  cat <<'REG'
[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
"MS UI Gothic"="IPAPGothic"
"メイリオ"="IPAPGothic"
"Meiryo"="IPAPGothic"
"Meiryo UI"="IPAPGothic"
"Yu Gothic UI"="IPAPGothic"

REG
}

wine_env() {
  export WINEPREFIX="$1"
  export WINEARCH=win64
  export WINEDEBUG="${WINEDEBUG:--all}"
  # No Mono/Gecko install prompts, no menu entries written into the home folder.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # Wine takes its code page and regional settings from the Unix locale: LANG alone is not enough.
  if [[ "${MIROVANE_WINE_VARIANT:-}" == en ]]; then
    export LC_ALL=C.UTF-8 LANG=C.UTF-8
  else
    export LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8
  fi
  unset LANGUAGE
}

wine_prefix_lock() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec {WINE_LOCK_FD}>"$WINEPREFIX.lock"
  flock "$WINE_LOCK_FD"
}

wine_prefix_prepare() {
  local stamp="$WINEPREFIX/.mirovane-setup" want
  # The stamp is this file's checksum: a changed set-up is applied to existing prefixes.
  want=$(md5sum <"${BASH_SOURCE[0]}" | cut -d' ' -f1)
  [[ -f "$stamp" && "$(cat "$stamp")" == "$want" ]] && return 0

  echo "wine: preparing prefix $WINEPREFIX" >&2
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
    echo "wine: the ja_JP.UTF-8 locale is missing (run tools/setup-deps as root)" >&2
    return 1
  fi
  rm -f "$stamp"
  timeout 600 wineboot -i >/dev/null 2>&1 || { echo "wine: wineboot failed" >&2; return 1; }
  # Debian's Wine does not find its own fonts (Marlett draws the caption buttons, scroll arrows and
  # check marks; Tahoma is MS Shell Dlg 2): put them where every Windows program looks.
  local f
  for f in /usr/share/wine/fonts/*.ttf; do
    [[ -e "$f" ]] && cp -f "$f" "$WINEPREFIX/drive_c/windows/Fonts/"
  done
  # regedit reads UTF-16 files; the Japanese value names need it.
  local reg="$WINEPREFIX/mirovane-setup.reg"
  { printf '\xff\xfe'; wine_registry_text | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } >"$reg"
  wine regedit /S "$(sed 's|/|\\|g' <<<"Z:$reg")" >/dev/null 2>&1 ||
    { echo "wine: registry import failed" >&2; return 1; }
  wine_finish
  echo "$want" >"$stamp"
}

display_start() {
  local out log i
  out=$(mktemp) log=$(mktemp)
  # -displayfd: Xvfb picks a free display number itself and writes it once it accepts clients.
  local size=1280x1024x24
  [[ "${MIROVANE_WINE_VARIANT:-}" == twomon ]] && size=2560x1024x24
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp 3>"$out" >"$log" 2>&1 &
  XVFB_PID=$!
  for ((i = 0; i < 200; i++)); do
    [[ -s "$out" ]] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  if [[ ! -s "$out" ]]; then
    echo "wine: Xvfb did not start:" >&2
    cat "$log" >&2
    display_stop
    rm -f "$out" "$log"
    return 1
  fi
  DISPLAY=":$(tr -dc 0-9 <"$out")"
  export DISPLAY
  rm -f "$out" "$log"
  [[ "${MIROVANE_WINE_VARIANT:-}" == twomon ]] && { nested_display_start || return 1; }
  return 0
}

# Two monitors side by side: an Xephyr with two Xinerama screens, shown on the Xvfb.
nested_display_start() {
  local out log i
  out=$(mktemp) log=$(mktemp)
  Xephyr -displayfd 3 +xinerama -screen 1280x800 -screen 1280x800 -nolisten tcp \
    3>"$out" >"$log" 2>&1 &
  XEPHYR_PID=$!
  for ((i = 0; i < 200; i++)); do
    [[ -s "$out" ]] && break
    kill -0 "$XEPHYR_PID" 2>/dev/null || break
    sleep 0.05
  done
  if [[ ! -s "$out" ]]; then
    echo "wine: Xephyr did not start:" >&2
    cat "$log" >&2
    rm -f "$out" "$log"
    return 1
  fi
  DISPLAY=":$(tr -dc 0-9 <"$out")"
  export DISPLAY
  rm -f "$out" "$log"
}

display_stop() {
  if [[ -n "${XEPHYR_PID:-}" ]]; then
    kill "$XEPHYR_PID" 2>/dev/null
    wait "$XEPHYR_PID" 2>/dev/null
    XEPHYR_PID=
  fi
  if [[ -n "${XVFB_PID:-}" ]]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
  fi
  return 0
}

# Waits until every process of this prefix has ended; only this prefix's wineserver is touched.
wine_finish() {
  timeout 60 wineserver -w 2>/dev/null || wineserver -k 2>/dev/null
  return 0
}
