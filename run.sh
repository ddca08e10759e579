#!/usr/bin/env bash
# Installs what is missing, builds Tarvela Desk, installs it into the program
# folder (~/.local/share/tarvela-desk, or $TARVELA_HOME) and starts it there.
# The database lives in the program folder, so rebuilding never touches it.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
./scripts/build.sh
home="${TARVELA_HOME:-$HOME/.local/share/tarvela-desk}"
mkdir -p "$home"
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
export TARVELA_HOME="$home"
exec "$home/TarvelaDesk" "$@"
