#!/usr/bin/env bash
# Drives the real tivaro executable on a virtual X display as a person would,
# and compares the skin's files byte for byte. The controls are found by their
# role and accessible name over AT-SPI (atspi.py beside this script), as a
# screen reader finds them, so a control may move anywhere in the window; xdotool
# gives only what must come from outside: pointer drags on the canvas, at places
# computed from the canvas's extents, and keys.
# Usage: e2e.sh TIVARO CLOSE_WINDOW SOURCE_DIR
set -euo pipefail

# A D-Bus session of its own, which ends with the script: the accessibility bus
# is found through it, and CI has none.
if [ -z "${TIVARO_E2E_BUS:-}" ]; then
  command -v dbus-run-session >/dev/null || { echo "FAIL: dbus-run-session is missing: run scripts/deps.sh" >&2; exit 1; }
  TIVARO_E2E_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi

tivaro=$(realpath "$1")
close_window=$(realpath "$2")
source_dir=$(realpath "$3")
samples=$source_dir/samples
expected=$source_dir/tests/e2e/expected
here=$(dirname "$(realpath "$0")")
# Debian's own Python, which has the GObject bindings of AT-SPI, whatever python3 comes first in PATH.
python=/usr/bin/python3
bus_launcher=/usr/libexec/at-spi-bus-launcher

# Fails with the message and a picture of the screen in the working folder.
exec 3>&2 # the messages reach the log also from checks whose output is silenced
fail() {
  echo "FAIL: $*" >&3
  if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null; then
    import -window root "$PWD/e2e-failure.png" 2>/dev/null && echo "screen: $PWD/e2e-failure.png" >&3
  fi
  exit 1
}
for tool in Xvfb xdotool xdpyinfo dbus-send "$bus_launcher"; do
  command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/deps.sh"
done
"$python" -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
  fail "the AT-SPI bindings for $python are missing: run scripts/deps.sh"

scratch=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# Waits until "$@" succeeds, for at most $timeout seconds.
wait_for() { # what timeout command...
  local what=$1 timeout=$2
  shift 2
  local deadline=$((SECONDS + timeout))
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || fail "timed out waiting for $what"
    sleep 0.05
  done
}

# Xvfb picks a display number nobody uses and tells it through a file.
# -noreset: between two programs no client is connected, and a reset would turn the next one away.
Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp -noreset 4>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
pids+=($!)
display_told() { [ "$(wc -l <"$scratch/display")" -ge 1 ]; } # the number ends with a line break
wait_for "Xvfb to start" 10 display_told
display=:$(tr -dc 0-9 <"$scratch/display")
export DISPLAY=$display QT_QPA_PLATFORM=xcb
# Qt and the X libraries keep some memory until exit; that is not ours to report here.
export ASAN_OPTIONS=detect_leaks=0
wait_for "Xvfb on $display" 10 xdpyinfo

# The accessibility bus of this display, its socket in the scratch folder; Qt
# joins it even though no desktop asked for a screen reader.
export XDG_RUNTIME_DIR=$scratch/runtime QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$bus_launcher" --launch-immediately >"$scratch/atspi.log" 2>&1 &
pids+=($!)
bus_up() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q true
}
wait_for "the accessibility bus" 10 bus_up

# Finds a control by role and accessible name and acts on it: see atspi.py.
atspi() { # [--in WINDOW] [--inside ROLE NAME] [--nth N] [--timeout S] COMMAND ROLE NAME [ARG]
  "$python" "$here/atspi.py" "$@" || fail "atspi.py $*"
}

# A program folder of its own, so that Tivaro.ini of the build stays untouched.
program=$scratch/program
mkdir -p "$program"
cp "$tivaro" "$program/tivaro"
ln -s "$(dirname "$tivaro")/pics" "$program/pics"

app=
window=

# Starts the program with the given arguments and waits for the editor window.
start_tivaro() {
  "$program/tivaro" "$@" >"$scratch/tivaro.log" 2>&1 &
  app=$!
  pids+=("$app")
  wait_for "the editor window" 20 editor_shown
  window=$(xdotool search --onlyvisible --name '^Tivaro$' | head -1)
  xdotool windowfocus --sync "$window"
  wait_for "the canvas to be drawn" 20 canvas_drawn
}

# True once the editor's canvas is known over AT-SPI and its window is on the
# screen; fails at once when the program has ended.
editor_shown() {
  kill -0 "$app" 2>/dev/null || fail "tivaro ended on start; its output:
$(cat "$scratch/tivaro.log")"
  "$python" "$here/atspi.py" --in Tivaro --timeout 1 wait filler Zeichenfläche &&
    xdotool search --onlyvisible --name '^Tivaro$'
}

# True once the canvas shows in the middle of the PDA screen (neither the bare
# display nor the window's grey): the window then takes pointer and keys.
canvas_drawn() {
  local pixel
  locate_canvas
  pixel=$(import -window root -depth 8 -crop "1x1+$((canvas_x + 120 * zoom))+$((canvas_y + 160 * zoom))" txt:- | tail -1)
  [[ $pixel != *"#EFEFEF"* && $pixel != *"#000000"* ]]
}

# Waits for the program to end by itself.
wait_exit() {
  local deadline=$((SECONDS + 20))
  while kill -0 "$app" 2>/dev/null; do
    ((SECONDS < deadline)) || fail "tivaro did not exit; its output: $(cat "$scratch/tivaro.log")"
    sleep 0.05
  done
  wait "$app" || fail "tivaro exited with an error: $(cat "$scratch/tivaro.log")"
}

# Waits for a window with the given title and gives it the keyboard.
focus_window() { # title
  wait_for "the window \"$1\"" 10 xdotool search --onlyvisible --name "^$1\$"
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "^$1\$" | head -1)"
}

# Where the canvas shows the PDA's 240 × 320 screen, and at which zoom: it
# draws it inside an even margin, so its extents tell both (height - width =
# 80 × zoom). Read anew before each use, as the canvas may move or zoom.
canvas_x=0
canvas_y=0
zoom=1
locate_canvas() {
  local box width height margin
  box=$(atspi --in Tivaro extents filler Zeichenfläche)
  read -r canvas_x canvas_y width height <<<"$box"
  zoom=$(((height - width) / 80))
  margin=$(((width - 240 * zoom) / 2))
  canvas_x=$((canvas_x + margin)) canvas_y=$((canvas_y + margin))
}
drag() { # from_x from_y dx dy, device pixels on the canvas
  locate_canvas
  local x=$((canvas_x + $1 * zoom)) y=$((canvas_y + $2 * zoom)) dx=$(($3 * zoom)) dy=$(($4 * zoom))
  # Several steps, as a hand moves, so the program sees the pointer on its way.
  xdotool mousemove --sync "$x" "$y" sleep 0.1 mousedown 1 sleep 0.1 \
    mousemove --sync $((x + dx / 2)) $((y + dy / 2)) sleep 0.1 \
    mousemove --sync $((x + dx)) $((y + dy)) sleep 0.1 mouseup 1 sleep 0.1
}

click_canvas() {
  locate_canvas
  xdotool mousemove --sync $((canvas_x + $1 * zoom)) $((canvas_y + $2 * zoom)) click 1
}

# Clicks the middle of a control found over AT-SPI, once or more often. An
# action over AT-SPI may overtake the pointer and keys sent before it, a click
# may not: after a drag or keys, click rather than press.
click_on() { # clicks [--in WINDOW] [--nth N] ROLE NAME
  local clicks=$1 box x y width height
  shift
  box=$(atspi "${@:1:$#-2}" extents "${@: -2:1}" "${@: -1}") || exit 1
  read -r x y width height <<<"$box"
  xdotool mousemove --sync $((x + width / 2)) $((y + height / 2)) click --repeat "$clicks" 1
}

# True when the control found over AT-SPI has the state, such as "checked" or "selected".
has_state() { # [--in WINDOW] [--nth N] state ROLE NAME
  "$python" "$here/atspi.py" "${@:1:$#-3}" state "${@: -2:1}" "${@: -1}" "${@: -3:1}"
}

# The screen list: open it, type the start of the screen's name, take it.
choose_screen() { # name
  atspi --in Tivaro --inside "tool bar" Bildschirm press "combo box" ""
  atspi wait "list item" "$1" # the list is open and takes the keys
  xdotool type --delay 20 "$1"
  xdotool key Return
}

# "Speichern" after the edits; waits until the title shows no changes left.
save() {
  click_on 1 --in Tivaro "push button" Speichern
  wait_for "the save" 10 xdotool search --name '^Tivaro$'
}

# Answers the question or message in the window with the given title with one of its buttons.
answer() { # title button
  atspi --in "$1" press "push button" "$2"
  atspi --in "$1" gone "push button" "$2"
}

# Every file of the skin equals the sample except those given, which equal their expected copies.
check_skin() { # skin expected_dir
  local skin=$1 want=$2 name
  for file in "$samples/DemoSkin"/*; do
    [ -f "$file" ] || continue
    name=$(basename "$file")
    if [ -n "$want" ] && [ -f "$want/$name" ]; then
      cmp "$want/$name" "$skin/$name" || fail "$name differs from $want/$name:
$(diff "$want/$name" "$skin/$name" | cat -A)"
    else
      cmp "$file" "$skin/$name" || fail "$name changed although it should not:
$(diff "$file" "$skin/$name" | cat -A)"
    fi
  done
  [ "$(find "$skin" -type f | wc -l)" -eq "$(find "$samples/DemoSkin" -type f | wc -l)" ] || fail "the skin folder gained or lost files"
}

scenario_editor_edits_and_saves() {
  local skin=$scratch/editor/DemoSkin
  mkdir -p "$scratch/editor" && cp -r "$samples/DemoSkin" "$skin"
  start_tivaro "$skin"

  # "Hauptmenu": move "home" by its body, widen "speech" by its right edge.
  drag 60 63 5 3
  drag 229 60 4 0
  # Another screen: the question about the pending changes, answered with Enter (Yes).
  choose_screen Routenoptionen
  focus_window 'Frage:'
  xdotool key Return
  wait_for "the save of Hauptmenu" 10 grep -q "x= 15" "$skin/mainmenult.ini"
  cmp "$expected/editor/mainmenult.ini" "$skin/mainmenult.ini" ||
    fail "Hauptmenu saved wrongly: $(diff "$expected/editor/mainmenult.ini" "$skin/mainmenult.ini" | cat -A)"

  # "Routenoptionen": pick "routetype", nudge it right twice and down once with the keys.
  xdotool windowfocus --sync "$window"
  click_canvas 176 46
  xdotool key Right Right Down
  # A double click selects the number in the X field; type a new value over it.
  click_on 2 --in Tivaro text X
  xdotool type 42
  save
  [ "$(atspi --in Tivaro text text X)" = 42 ] || fail "the X field shows $(atspi --in Tivaro text text X), not 42"
  # The next element with Shift+Down, one step left, then close and answer "Ja".
  xdotool key shift+Down Left
  "$close_window" "$window"
  answer 'Frage:' Ja
  wait_exit
  check_skin "$skin" "$expected/editor"
}

scenario_editor_closes_without_saving() {
  local skin=$scratch/discard/DemoSkin
  mkdir -p "$scratch/discard" && cp -r "$samples/DemoSkin" "$skin"
  start_tivaro "$skin"
  drag 60 63 -7 9
  # Escape on the question keeps the program open with the edit.
  "$close_window" "$window"
  focus_window 'Frage:'
  xdotool key Escape
  atspi --in 'Frage:' gone "push button" Abbrechen
  kill -0 "$app" 2>/dev/null || fail "Escape on the save question ended the program"
  "$close_window" "$window"
  answer 'Frage:' Nein
  wait_exit
  check_skin "$skin" ""
}

# Tivaro.ini of the scratch program folder: the demo device and map export copies.
write_settings() { # device_folder skin_folder map_export_folder
  printf '[Directory]\r\nSkinDir= %s\r\nMN4Dir= \\MN4\\MobileNavigator.exe\r\nMapExportDir= %s\r\n[Device]\r\nBackend= folder\r\nFolder= %s\r\n' \
    "$2" "$3" "$1" >"$program/Tivaro.ini"
}

# Closes the window with the given title and waits until it is gone.
close_titled() { # title
  "$close_window" "$(xdotool search --onlyvisible --name "^$1\$" | head -1)"
  wait_for "the window \"$1\" to close" 10 bash -c "! xdotool search --onlyvisible --name '^$1\$'"
}

scenario_skin_manager_uploads_and_switches() {
  local base=$scratch/manager
  local skin=$base/DemoSkin device=$base/demo-device
  mkdir -p "$base" && cp -r "$samples/DemoSkin" "$skin" && cp -r "$samples/demo-device" "$device"
  write_settings "$device" "$skin" "$base/none"
  start_tivaro
  atspi --in Tivaro press "push button" Skins
  atspi --in 'to the PDA' press "push button" verbinden
  # The connection is up once the window offers "trennen".
  atspi --in 'to the PDA' wait "push button" trennen
  atspi --in 'to the PDA' press "push button" "Skin hinzufügen" # upload the PC skin
  wait_for "the upload to finish" 30 diff -r -x Layout -x Font -x Font2 "$skin" "$device/MN4/Skins/DemoSkin"
  # The stored skins, the first list of the window, show it: a click selects it.
  click_on 1 --in 'to the PDA' "list item" DemoSkin
  wait_for "DemoSkin to be selected" 10 has_state --in 'to the PDA' selected "list item" DemoSkin
  atspi --in 'to the PDA' press "push button" Switch
  wait_for "the switch" 30 cmp "$expected/device/prefs.ini" "$device/MN4/prefs.ini"
  close_titled 'to the PDA'
  "$close_window" "$window"
  wait_exit

  # The live files are the skin's now; everything else on the device is as it was.
  local name live
  while IFS= read -r name; do
    case $name in
      MN4/Skins/DemoSkin/*) cmp "$skin/${name#MN4/Skins/DemoSkin/}" "$device/$name" || fail "$name differs from the skin" ;;
      MN4/NavLib.ini) cmp "$skin/NavLib.ini" "$device/$name" || fail "$name is not the skin's" ;;
      MN4/Layout/defaultlt.ini | MN4/Layout/mapviewlt.ini)
        live=${name#MN4/Layout/}
        cmp "$skin/$live" "$device/$name" || fail "$name is not the skin's" ;;
      MN4/Layout/*) cmp "$skin/Layout/${name#MN4/Layout/}" "$device/$name" || fail "$name is not the skin's" ;;
      MN4/prefs.ini) cmp "$expected/device/prefs.ini" "$device/$name" || fail "prefs.ini: $(diff "$expected/device/prefs.ini" "$device/$name")" ;;
      *) cmp "$samples/demo-device/$name" "$device/$name" || fail "$name changed although it should not" ;;
    esac
  done < <(cd "$device" && find . -type f | sed 's|^\./||')
  check_skin "$skin" ""
  [ -z "$(ls "$program" | grep -v -x -e tivaro -e pics -e Tivaro.ini)" ] || fail "files left in the program folder: $(ls "$program")"
}

scenario_speed_profile_update() {
  local base=$scratch/profiles
  mkdir -p "$base" && cp -r "$samples/map-export" "$base/map-export"
  write_settings "$base/none" "$base/none" "$base/map-export"
  start_tivaro
  atspi --in Tivaro press "push button" Misc
  focus_window Preferences
  # Motorway speed out of town: 130 instead of 120, typed over the number.
  atspi --in Preferences focus text "Geschw. Ausserorts BAB"
  xdotool type 130
  xdotool key Tab
  speed_left() { ! has_state --in Preferences focused text "Geschw. Ausserorts BAB"; }
  wait_for "Tab to leave the speed field" 10 speed_left
  atspi --in Preferences press "check box" "PC fast"
  wait_for "PC fast to be ticked" 10 has_state --in Preferences checked "check box" "PC fast"
  atspi --in Preferences press "push button" Update
  answer 'Hinweis:' OK
  close_titled Preferences
  "$close_window" "$window"
  wait_exit
  cmp "$expected/profiles/speedprofiles.ini" "$base/map-export/speedprofiles.ini" ||
    fail "speedprofiles.ini: $(diff "$expected/profiles/speedprofiles.ini" "$base/map-export/speedprofiles.ini" | cat -A)"
}

# "home" of mainmenult.ini 5 pixels right and 3 down, as "drag 60 63 5 3" moves it.
home_moved() { sed '0,/^x= 10\r$/s//x= 15\r/; 0,/^y= 36\r$/s//y= 39\r/' "$1"; }

# A drag shows as a step in the "Verlauf" dock, whose rows take the document back
# and forth; "Datei" → "Speichern" writes it.
scenario_menu_and_history_dock() {
  local skin=$scratch/menus/DemoSkin
  mkdir -p "$scratch/menus" && cp -r "$samples/DemoSkin" "$skin"
  start_tivaro "$skin"
  # The history shares its place with the screen gallery: its tab brings it up.
  atspi --in Tivaro press "page tab" Verlauf
  atspi --in Tivaro --inside frame Verlauf wait "list item" Geladen
  drag 60 63 5 3
  local step
  step=$(atspi --in Tivaro --inside frame Verlauf --nth 1 text "list item" "")
  [ -n "$step" ] || fail "the drag shows no step in the Verlauf dock"
  wait_for "the step to be current" 10 has_state --in Tivaro --inside frame Verlauf selected "list item" "$step"
  # Back to the loaded state with a click on its row: "home" stands where it stood.
  click_on 1 --in Tivaro --inside frame Verlauf "list item" Geladen
  wait_for "the X field to show 10" 10 field_shows X 10
  click_on 1 --in Tivaro --inside frame Verlauf "list item" "$step"
  wait_for "the X field to show 15" 10 field_shows X 15
  atspi --in Tivaro press "menu item" Datei
  atspi press "menu item" Speichern
  wait_for "the save" 10 xdotool search --name '^Tivaro$'
  home_moved "$samples/DemoSkin/mainmenult.ini" >"$scratch/menus/mainmenult.want"
  cmp "$scratch/menus/mainmenult.want" "$skin/mainmenult.ini" ||
    fail "mainmenult.ini: $(diff "$scratch/menus/mainmenult.want" "$skin/mainmenult.ini" | cat -A)"
  "$close_window" "$window"
  wait_exit
}
field_shows() { [ "$("$python" "$here/atspi.py" --in Tivaro --timeout 1 text text "$1")" = "$2" ]; }

# "Auf den PDA" after a drag: the save question, the copy into Layout, and the
# moved element's lines in the skin stored on the demo device.
scenario_deploy_to_the_pda() {
  local base=$scratch/deploy
  local skin=$base/DemoSkin device=$base/demo-device
  mkdir -p "$base" && cp -r "$samples/DemoSkin" "$skin" && cp -r "$samples/demo-device" "$device"
  write_settings "$device" "$base" "$base/none"
  start_tivaro "$skin"
  drag 60 63 5 3
  xdotool key ctrl+t
  # First the save question; once the deploy window shows, the one about the copy into Layout.
  atspi --in 'Frage:' press "push button" Ja
  atspi --in 'Auf den PDA' wait "push button" Abbrechen
  answer 'Frage:' Ja
  atspi --in 'Auf den PDA' --timeout 30 wait "push button" Schließen
  answer 'Auf den PDA' Schließen
  home_moved "$samples/DemoSkin/mainmenult.ini" >"$base/mainmenult.want"
  stored_home_is "$base/mainmenult.want"

  # Once more, "home" 5 pixels left (a file of the same size): only it and its Layout copy cross.
  xdotool windowfocus --sync "$window"
  drag 70 70 -5 0
  xdotool key ctrl+t
  answer 'Frage:' Ja
  atspi --in 'Auf den PDA' --timeout 30 wait "push button" Schließen
  local summary
  summary=$(atspi --in 'Auf den PDA' text label "")
  [[ $summary == "2 Dateien übertragen, $(($(find "$skin" -type f | wc -l) - 2)) unverändert,"* ]] ||
    fail "the second deploy: $summary"
  answer 'Auf den PDA' Schließen
  "$close_window" "$window"
  wait_exit
  sed 's/^x= 15\r$/x= 10\r/' "$base/mainmenult.want" >"$base/mainmenult.again"
  stored_home_is "$base/mainmenult.again"
  # The stored skin is the PC skin, whole; the rest of the device is as it was (not activated).
  diff -r "$skin" "$device/MN4/Skins/DemoSkin" >/dev/null || fail "the stored skin differs from the PC skin"
  rm -r "$device/MN4/Skins/DemoSkin"
  diff -r "$samples/demo-device" "$device" >/dev/null || fail "the deploy changed the device outside its skin"
}

# The root layout file and its Layout copy of the skin stored on the device equal the file given.
stored_home_is() { # want
  local stored
  for stored in mainmenult.ini Layout/mainmenult.ini; do
    cmp "$1" "$scratch/deploy/demo-device/MN4/Skins/DemoSkin/$stored" ||
      fail "the stored $stored: $(diff "$1" "$scratch/deploy/demo-device/MN4/Skins/DemoSkin/$stored" | cat -A)"
  done
}

# Skin copies whose layout files are damaged in the ways files from the field are.
make_bad_skins() { # folder
  local base=$1 kind
  for kind in garbage empty huge longline bom missing oddcase; do
    cp -r "$samples/DemoSkin" "$base/$kind"
  done
  # Bytes of an executable: zeros, control characters, no line structure.
  head -c 65536 "$tivaro" >"$base/garbage/mainmenult.ini"
  cp "$base/garbage/mainmenult.ini" "$base/garbage/defaultlt.ini"
  : >"$base/empty/mainmenult.ini"
  : >"$base/empty/defaultlt.ini"
  # 10 MB of comments in front of the sections.
  awk 'BEGIN { for (i = 0; i < 420000; ++i) printf "; padding line %07d\r\n", i }' >"$base/huge/mainmenult.ini"
  cat "$samples/DemoSkin/mainmenult.ini" >>"$base/huge/mainmenult.ini"
  # A 100,000-character comment and a 100,000-digit value.
  {
    printf '; %s\r\n' "$(head -c 100000 /dev/zero | tr '\0' x)"
    cat "$samples/DemoSkin/mainmenult.ini"
    printf '[quit]\r\nx= %s\r\n' "$(head -c 100000 /dev/zero | tr '\0' 9)"
  } >"$base/longline/mainmenult.ini"
  # A UTF-8 byte order mark right before the first section.
  { printf '\xEF\xBB\xBF'; tail -n +3 "$samples/DemoSkin/mainmenult.ini"; } >"$base/bom/mainmenult.ini"
  rm "$base/missing/mainmenult.ini" "$base/missing/defaultlt.ini"
  mv "$base/oddcase/mainmenult.ini" "$base/oddcase/MainMenuLT.INI"
  mv "$base/oddcase/defaultlt.ini" "$base/oddcase/DEFAULTLT.ini"
}

scenario_damaged_skins_open_and_stay_untouched() {
  local base=$scratch/damaged kind
  mkdir -p "$base/before"
  make_bad_skins "$base/before"
  cp -r "$base/before" "$base/skins"
  for kind in garbage empty huge longline bom missing oddcase; do
    start_tivaro "$base/skins/$kind"
    # Still running with the editor as its only window: no crash, nothing to answer.
    kill -0 "$app" 2>/dev/null || fail "tivaro ended on the $kind skin"
    [ "$(xdotool search --onlyvisible --name '.' | wc -l)" -eq 1 ] || fail "unexpected window on the $kind skin"
    "$close_window" "$window"
    wait_exit
    diff -r "$base/before/$kind" "$base/skins/$kind" >/dev/null || fail "opening the $kind skin changed it"
  done
}

scenario_damaged_skins_save_only_their_lines() {
  local base=$scratch/saving
  mkdir -p "$base/before"
  make_bad_skins "$base/before"
  cp -r "$base/before" "$base/skins"
  local kind file
  # The same edit on each: "home" 5 pixels right, 3 down, then "Speichern".
  for kind in huge bom oddcase; do
    start_tivaro "$base/skins/$kind"
    drag 60 63 5 3
    save
    "$close_window" "$window"
    wait_exit
  done
  # Only the two lines of "home" differ, in the file as it is spelled.
  home_moved "$base/before/huge/mainmenult.ini" >"$base/huge.want"
  cmp "$base/huge.want" "$base/skins/huge/mainmenult.ini" || fail "the 10 MB file was not saved line for line"
  home_moved "$base/before/bom/mainmenult.ini" >"$base/bom.want"
  cmp "$base/bom.want" "$base/skins/bom/mainmenult.ini" ||
    fail "the file with a byte order mark: $(diff "$base/bom.want" "$base/skins/bom/mainmenult.ini" | head | cat -A)"
  home_moved "$samples/DemoSkin/mainmenult.ini" >"$base/oddcase.want"
  cmp "$base/oddcase.want" "$base/skins/oddcase/MainMenuLT.INI" ||
    fail "MainMenuLT.INI: $(diff "$base/oddcase.want" "$base/skins/oddcase/MainMenuLT.INI" | head | cat -A)"
  for file in "$base/skins/oddcase"/*; do
    [ -f "$file" ] && [ "$(basename "$file")" != MainMenuLT.INI ] || continue
    cmp "$base/before/oddcase/$(basename "$file")" "$file" || fail "$(basename "$file") changed"
  done
  [ "$(ls "$base/skins/oddcase" | wc -l)" -eq "$(ls "$base/before/oddcase" | wc -l)" ] ||
    fail "saving created a second file beside MainMenuLT.INI or DEFAULTLT.ini"
}

# A layout file that cannot be written (a folder in its place, as even root
# cannot write there) and a skin folder deleted while open: a clear message,
# the edits stay for another try, the files that can be written are.
scenario_unwritable_skins_keep_the_edits() {
  local base=$scratch/unwritable
  mkdir -p "$base"
  cp -r "$samples/DemoSkin" "$base/blocked"
  rm "$base/blocked/mainmenult.ini" && mkdir "$base/blocked/mainmenult.ini"
  cp -r "$base/blocked" "$base/blocked.before"
  cp -r "$samples/DemoSkin" "$base/gone"
  local kind
  for kind in blocked gone; do
    start_tivaro "$base/$kind"
    drag 225 12 -9 8 # "win" (in defaultlt.ini) left and down
    xdotool key shift+Down Right # the next element, "home" (in mainmenult.ini), one step right
    [ $kind = gone ] && rm -rf "$base/gone"
    click_on 1 --in Tivaro "push button" Speichern
    answer 'Hinweis:' OK
    # Closing: the question again; after "Nein" the program ends.
    "$close_window" "$window"
    answer 'Frage:' Nein
    wait_exit
  done
  # The writable file of the two took its lines; the rest is as it was.
  sed '/^\[win\]\r$/,/^cy=/{s/^x= 210\r$/x= 201\r/; s/^y= 0\r$/y= 8\r/}' "$base/blocked.before/defaultlt.ini" >"$base/defaultlt.want"
  cmp "$base/defaultlt.want" "$base/blocked/defaultlt.ini" ||
    fail "defaultlt.ini: $(diff "$base/defaultlt.want" "$base/blocked/defaultlt.ini" | cat -A)"
  cp "$base/blocked.before/defaultlt.ini" "$base/blocked/defaultlt.ini"
  diff -r "$base/blocked.before" "$base/blocked" >/dev/null || fail "the blocked skin changed"
  [ ! -e "$base/gone" ] || fail "saving re-created the deleted skin folder"
}

run() { # scenario; E2E_ONLY=WORD runs only the scenarios whose name holds it
  [[ "$1" == *"${E2E_ONLY:-}"* ]] || return 0
  local start=$SECONDS
  "$1"
  echo "ok: $1 ($((SECONDS - start)) s)"
}

run scenario_editor_edits_and_saves
run scenario_editor_closes_without_saving
run scenario_skin_manager_uploads_and_switches
run scenario_speed_profile_update
run scenario_damaged_skins_open_and_stay_untouched
run scenario_damaged_skins_save_only_their_lines
run scenario_unwritable_skins_keep_the_edits
run scenario_menu_and_history_dock
run scenario_deploy_to_the_pda
