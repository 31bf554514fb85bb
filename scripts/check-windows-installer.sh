#!/usr/bin/env bash
# Tries the Windows installer as a user would, under Wine in a prefix of its
# own: a silent install (/S), the files and the Start-menu entry, the
# installed tavo.exe started on the sample calibration in a real X window
# (Xvfb) and tavo-cli.exe reading it, then a silent uninstall that leaves
# neither the folder nor the entry behind.
# usage: scripts/check-windows-installer.sh INSTALLER.exe
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
installer=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
prefix=$(mktemp -d)/wine
pids=()
cleanup() {
  kill "${pids[@]}" 2>/dev/null || true
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  rm -rf "$(dirname "$prefix")"
}
trap cleanup EXIT
fail() { echo "check-windows-installer: $*" >&2; exit 1; }
wine_run() { "$root/cmake/wine-run.sh" "$prefix" "$@"; }

folder="$prefix/drive_c/Program Files/TaVO"
entry="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/TaVO/TaVO.lnk"

wine_run "$installer" /S
WINEPREFIX="$prefix" wineserver -w
for file in tavo.exe tavo-cli.exe Qt6Core.dll platforms/qwindows.dll sample/sample.bin Uninstall.exe; do
  [[ -f "$folder/$file" ]] || fail "the installer put no $file in Program Files\\TaVO"
done
[[ -f "$entry" ]] || fail "the installer made no Start-menu entry"
echo "installed: $(ls "$folder" | tr '\n' ' ')"

version=$(wine_run 'C:\Program Files\TaVO\tavo.exe' --version)
[[ "$version" == "tavo "* ]] || fail "the installed tavo.exe did not start: $version"
wine_run 'C:\Program Files\TaVO\tavo-cli.exe' info 'C:\Program Files\TaVO\sample\sample.bin' | grep -q '^loadOffset:' ||
  fail "the installed tavo-cli.exe could not read the sample"

# The window itself: the Quick Viewer on the sample within a minute.
display=:$((200 + RANDOM % 50))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1.5
(cd "$folder/sample" && DISPLAY=$display TAVO_WINE_SHOW=1 "$root/cmake/wine-run.sh" "$prefix" \
   'C:\Program Files\TaVO\tavo.exe' sample.bin >/dev/null 2>&1) &
pids+=($!)
shown=0
for _ in $(seq 60); do
  if DISPLAY=$display xdotool search --name "Quick Viewer" >/dev/null 2>&1; then shown=1; break; fi
  sleep 1
done
[[ $shown == 1 ]] || fail "the installed tavo.exe showed no Quick Viewer within a minute"
echo "the installed tavo.exe shows the Quick Viewer on the sample"
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true

wine_run 'C:\Program Files\TaVO\Uninstall.exe' /S
WINEPREFIX="$prefix" wineserver -w
for _ in $(seq 30); do [[ -e "$folder" ]] || break; sleep 1; done
[[ ! -e "$folder/tavo.exe" ]] || fail "the uninstaller left tavo.exe behind"
[[ ! -e "$entry" ]] || fail "the uninstaller left the Start-menu entry behind"
echo "uninstalled: no program files and no Start-menu entry left"
