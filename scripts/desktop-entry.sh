#!/usr/bin/env bash
# Writes the desktop entry that starts the program at EXECUTABLE (an
# absolute path) to the file OUT, through a temporary name.
#   scripts/desktop-entry.sh EXECUTABLE OUT
set -euo pipefail
exe="$1"
out="$2"
case "$exe" in
  /*) ;;
  *) echo "desktop-entry.sh: not an absolute path: $exe" >&2; exit 2 ;;
esac
if [[ "$exe" == *$'\n'* || "$exe" == *$'\r'* ]]; then
  echo "desktop-entry.sh: a line break in the path: $exe" >&2
  exit 2
fi
# The Exec key: the path in double quotes with \ " ` $ escaped, then the
# escapes of every string value (\ doubled) and % doubled.
quoted=$(printf '%s' "$exe" | sed -e 's/[\\"`$]/\\&/g')
quoted="\"$quoted\""
quoted=$(printf '%s' "$quoted" | sed -e 's/\\/\\\\/g' -e 's/%/%%/g')
mkdir -p "$(dirname "$out")"
tmp=$(mktemp "$out.XXXXXX")
trap 'rm -f "$tmp"' EXIT
cat > "$tmp" <<ENTRY
[Desktop Entry]
Type=Application
Name=Tarvela Desk
GenericName=Student Planner
Comment=Keep your semesters, classes and grades; plan your days
Icon=tarvela-desk
Exec=$quoted
Terminal=false
StartupWMClass=TarvelaDesk
Categories=Education;
Keywords=grades;GPA;planner;calendar;quiz;
ENTRY
chmod 644 "$tmp"
mv -f "$tmp" "$out"
trap - EXIT
