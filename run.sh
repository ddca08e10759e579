#!/usr/bin/env bash
# Installs what is missing, builds Tarvela Desk, installs it into the program
# folder ($XDG_DATA_HOME/tarvela-desk, by default ~/.local/share/tarvela-desk,
# or $TARVELA_HOME) and starts it there. The database lives in the program
# folder, so rebuilding never touches it. Also puts Tarvela Desk into the
# desktop's menu: a desktop entry and the icon in the user's data folder.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
./scripts/build.sh
data="${XDG_DATA_HOME:-}"
case "$data" in
  /*) ;;
  *) data="$HOME/.local/share" ;; # unset, empty or relative: the default
esac
home="${TARVELA_HOME:-$data/tarvela-desk}"
mkdir -p "$home"
home=$(cd "$home" && pwd)
cp -f build/program/TarvelaDesk "$home/"
for f in build/program/*; do
  name=$(basename "$f")
  # Never overwrite the user's database or a tips file the user edited.
  case "$name" in
    tarvela.mdb|tarvelac.mdb|TARVELA.MDB) continue ;;
    TIPOFDAY.TXT) [ -e "$home/TIPOFDAY.TXT" ] && continue ;;
  esac
  cp -f "$f" "$home/"
done

# The menu entry starts the program installed above; a failure here is
# reported and the program starts all the same.
desktop_entry() {
  local icons="$data/icons/hicolor" png size
  for png in build/icons/hicolor/*/apps/tarvela-desk.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    install -D -m 644 "$png" "$icons/$size/apps/tarvela-desk.png" || return 1
  done
  # A theme cache left from before would hide a new icon.
  if [ -e "$icons/icon-theme.cache" ] && command -v gtk-update-icon-cache >/dev/null; then
    gtk-update-icon-cache -q -t -f "$icons" || true
  fi
  ./scripts/desktop-entry.sh "$home/TarvelaDesk" "$data/applications/tarvela-desk.desktop" || return 1
}
if ! desktop_entry; then
  echo "run.sh: Tarvela Desk could not be put into the desktop's menu ($data)" >&2
fi

export TARVELA_HOME="$home"
exec "$home/TarvelaDesk" "$@"
