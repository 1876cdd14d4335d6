#!/usr/bin/env bash
# Installs the build into a fresh prefix and uses the installed program as a
# new user would: --check and --render write no settings; the first start of the window
# takes the user's earlier settings over into ~/.config/Tivaro/ and leaves the
# old folder alone; the program finds its bitmaps through bin/tivaro.
#   install.sh BUILD_DIR BUILT_TIVARO SOURCE_DIR
set -euo pipefail
build=$1 built=$2 source=$3

work=$(mktemp -d)
app=
cleanup() {
  [ -z "$app" ] || kill -KILL "$app" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/tivaro lib/tivaro/tivaro lib/tivaro/installed lib/tivaro/pics/skinpic \
  share/applications/tivaro.desktop share/icons/hicolor/scalable/apps/tivaro.svg \
  share/metainfo/org.tivaro.Tivaro.metainfo.xml share/man/man1/tivaro.1 share/doc/tivaro/LICENSE; do
  [ -e "$prefix/$file" ] || fail "not installed: $file"
done
[ -L "$prefix/bin/tivaro" ] || fail "bin/tivaro is no link to the program"
grep -qx 'Exec=tivaro %f' "$prefix/share/applications/tivaro.desktop" || fail "the menu entry cannot open a folder"
if command -v appstreamcli >/dev/null; then
  report=$(appstreamcli validate --no-net "$prefix/share/metainfo/org.tivaro.Tivaro.metainfo.xml" 2>&1) \
    || fail "the AppStream file does not validate: $report"
fi
warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$prefix/share/man/man1/tivaro.1" 2>&1)
[ -z "$warnings" ] || fail "the man page has faults: $warnings"

export HOME=$work/home
unset XDG_CONFIG_HOME XDG_DATA_HOME
mkdir -p "$HOME"
settings_anywhere() { find "$HOME" "$prefix" -iname Tivaro.ini; }

"$prefix/bin/tivaro" --check "$source/samples/DemoSkin" >/dev/null || fail "--check finds faults in the demo skin"
"$prefix/bin/tivaro" --render "$source/samples/DemoSkin" --screen Hauptmenu --out "$work/installed.png"
[ -z "$(settings_anywhere)" ] || fail "--check or --render wrote settings: $(settings_anywhere)"

earlier=$HOME/.local/share/tivaro/Tivaro.ini
mkdir -p "$(dirname "$earlier")"
printf '[Directory]\r\nlastDir= /skins/mine/\r\n' >"$earlier"
cp "$earlier" "$work/earlier.ini"
"$prefix/bin/tivaro" >"$work/tivaro.log" 2>&1 & # the note about the take-over keeps it open
app=$!
settings=$HOME/.config/Tivaro/Tivaro.ini
for _ in $(seq 1 200); do
  grep -qs BorderFrame "$settings" && break
  kill -0 "$app" 2>/dev/null || fail "the program ended: $(cat "$work/tivaro.log")"
  sleep 0.1
done
grep -qs BorderFrame "$settings" || fail "no settings written to $settings"
grep -q '^lastDir= /skins/mine/' "$settings" || fail "the earlier settings were not taken over"
cmp -s "$earlier" "$work/earlier.ini" || fail "the earlier settings were changed"
[ "$(settings_anywhere | sort)" = "$(printf '%s\n' "$earlier" "$settings" | sort)" ] \
  || fail "settings in other places: $(settings_anywhere)"
kill -KILL "$app"
wait "$app" 2>/dev/null || true
app=

# The built program in a folder of its own, so that the build's settings stay untouched.
mkdir "$work/built"
cp "$built" "$work/built/tivaro"
ln -s "$(dirname "$built")/pics" "$work/built/pics"
"$work/built/tivaro" --render "$source/samples/DemoSkin" --screen Hauptmenu --out "$work/built.png"
cmp -s "$work/installed.png" "$work/built.png" || fail "the installed program paints without its bitmaps"
echo "install test passed"
