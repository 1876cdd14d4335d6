#!/usr/bin/env bash
# Drives the real tivaro executable on a virtual X display, only from outside
# with xdotool as a person would, and compares the skin's files byte for byte.
# Usage: e2e.sh TIVARO CLOSE_WINDOW SOURCE_DIR
set -euo pipefail

tivaro=$(realpath "$1")
close_window=$(realpath "$2")
source_dir=$(realpath "$3")
samples=$source_dir/samples
expected=$source_dir/tests/e2e/expected

# Fails with the message and a picture of the screen in the working folder.
exec 3>&2 # the messages reach the log also from checks whose output is silenced
fail() {
  echo "FAIL: $*" >&3
  if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null; then
    import -window root "$PWD/e2e-failure.png" 2>/dev/null && echo "screen: $PWD/e2e-failure.png" >&3
  fi
  exit 1
}
for tool in Xvfb xdotool xdpyinfo; do
  command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/deps.sh"
done

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

# A program folder of its own, so that Tivaro.ini of the build stays untouched.
program=$scratch/program
mkdir -p "$program"
cp "$tivaro" "$program/tivaro"
ln -s "$(dirname "$tivaro")/pics" "$program/pics"

app=
window=
window_x=0
window_y=0

# Starts the program with the given arguments and waits for the editor window.
start_tivaro() {
  # One device pixel per screen pixel, so the positions below hold on any display.
  grep -qs '^\[View\]' "$program/Tivaro.ini" || printf '[View]\r\nZoom= 1\r\n' >>"$program/Tivaro.ini"
  "$program/tivaro" "$@" >"$scratch/tivaro.log" 2>&1 &
  app=$!
  pids+=("$app")
  wait_for "the editor window" 20 editor_shown
  # Under load the window may be found before it is mapped at its full size.
  wait_for "the editor window to be mapped at full size" 20 editor_mapped
  window=$(xdotool search --onlyvisible --name '^Tivaro$' | head -1)
  eval "$(xdotool getwindowgeometry --shell "$window")"
  window_x=$X window_y=$Y
  # The widget positions below are those of the editor's fixed-size window.
  [ "$WIDTH" -gt 400 ] && [ "$HEIGHT" -gt 400 ] || fail "unexpected editor window size ${WIDTH}x$HEIGHT"
  xdotool windowfocus --sync "$window"
  wait_for "the canvas to be drawn" 20 canvas_drawn
}

# True once the canvas shows in the middle of its screen area (neither the bare
# display nor the window's grey): the window then takes pointer and keys.
canvas_drawn() {
  local pixel
  pixel=$(import -window root -depth 8 -crop 1x1+$(canvas 120 286 | tr ' ' +) txt:- | tail -1)
  [[ $pixel != *"#EFEFEF"* && $pixel != *"#000000"* ]]
}

# True once the editor window exists; fails at once when the program has ended.
editor_shown() {
  kill -0 "$app" 2>/dev/null || fail "tivaro ended on start; its output:
$(cat "$scratch/tivaro.log")"
  xdotool search --name '^Tivaro$'
}
# True once the editor window is on the screen at its real size.
editor_mapped() {
  local id
  id=$(xdotool search --onlyvisible --name '^Tivaro$' | head -1) || return 1
  eval "$(xdotool getwindowgeometry --shell "$id")"
  [ "$WIDTH" -gt 400 ] && [ "$HEIGHT" -gt 400 ]
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

# Pointer positions: the device's screen area sits between the left docks and
# below the menu and tool bars, at (266, 83) inside the editor window.
canvas() { echo $((window_x + 266 + $1)) $((window_y + 83 + $2)); }
window_at() { echo $((window_x + $1)) $((window_y + $2)); }

drag() { # from_x from_y dx dy, device pixels on the canvas
  local x y
  read -r x y < <(canvas "$1" "$2")
  # Several steps, as a hand moves, so the program sees the pointer on its way.
  xdotool mousemove --sync "$x" "$y" sleep 0.1 mousedown 1 sleep 0.1 \
    mousemove --sync $((x + $3 / 2)) $((y + $4 / 2)) sleep 0.1 \
    mousemove --sync $((x + $3)) $((y + $4)) sleep 0.1 mouseup 1 sleep 0.1
}

click_canvas() { xdotool mousemove --sync $(canvas "$1" "$2") click 1; }
click_window() { xdotool mousemove --sync $(window_at "$1" "$2") click 1; }

# The screen list: open it, type the start of the screen's name, take it.
choose_screen() { # name
  click_window 190 63
  sleep 0.2 # the list opens with an animation-free popup, but it must be mapped first
  xdotool type --delay 20 "$1"
  xdotool key Return
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
  xdotool mousemove --sync $(window_at 60 154) click --repeat 2 1
  xdotool type 42
  click_window 133 33 # "Speichern"
  # The next element with Shift+Down, one step left, then close and answer Alt+Y.
  xdotool key shift+Down Left
  "$close_window" "$window"
  focus_window 'Frage:'
  xdotool key alt+j # "Ja"
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
  wait_for "the question to go away" 10 sh -c "! xdotool search --onlyvisible --name '^Frage:\$'"
  kill -0 "$app" 2>/dev/null || fail "Escape on the save question ended the program"
  "$close_window" "$window"
  focus_window 'Frage:'
  xdotool key alt+n
  wait_exit
  check_skin "$skin" ""
}

# Tivaro.ini of the scratch program folder: the demo device and map export copies.
write_settings() { # device_folder skin_folder map_export_folder
  printf '[Directory]\r\nSkinDir= %s\r\nMN4Dir= \\MN4\\MobileNavigator.exe\r\nMapExportDir= %s\r\n[Device]\r\nBackend= folder\r\nFolder= %s\r\n' \
    "$2" "$3" "$1" >"$program/Tivaro.ini"
}

# Clicks at a position inside the window with the given title.
click_in() { # title x y
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" | head -1)
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove --sync $((X + $2)) $((Y + $3)) click 1
}

# True when the pixel at a position inside the window with the given title has the colour.
pixel_in() { # title x y colour
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" | head -1)
  eval "$(xdotool getwindowgeometry --shell "$id")"
  [[ $(import -window root -depth 8 -crop 1x1+$((X + $2))+$((Y + $3)) txt:- | tail -1) == *"$4"* ]]
}

# True when a rectangle inside the window with the given title holds dark pixels, such as text.
text_in() { # title x y width height
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" | head -1)
  eval "$(xdotool getwindowgeometry --shell "$id")"
  [[ $(import -window root -crop "$4x$5+$((X + $2))+$((Y + $3))" -format '%[fx:minima.intensity < 0.3]' info:) == 1 ]]
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
  click_window 783 33 # "Skins"
  focus_window 'to the PDA'
  click_in 'to the PDA' 51 24 # "verbinden"
  # The connection is up once the window offers "trennen"; the lights show it as well.
  wait_for "the connection" 20 pixel_in 'to the PDA' 232 24 '#00FF00'
  click_in 'to the PDA' 24 356 # "+": upload the PC skin
  wait_for "the upload to finish" 30 diff -r -x Layout -x Font -x Font2 "$skin" "$device/MN4/Skins/DemoSkin"
  wait_for "the third skin in the list" 20 text_in 'to the PDA' 14 92 40 10
  click_in 'to the PDA' 45 69 # the first stored skin: DemoSkin, sorted before Nacht and Tag
  click_in 'to the PDA' 114 356 # "Switch"
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
  click_window 702 33 # "Misc"
  focus_window Preferences
  # Motorway speed out of town: 130 instead of 120.
  local id
  id=$(xdotool search --onlyvisible --name '^Preferences$' | head -1)
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove --sync $((X + 156)) $((Y + 90)) click --repeat 2 1 sleep 0.1 type 130
  xdotool key Tab
  click_in Preferences 352 321 # PC: "fast"
  click_in Preferences 466 428 # "Update"
  focus_window 'Hinweis:'
  xdotool key Return
  close_titled Preferences
  "$close_window" "$window"
  wait_exit
  cmp "$expected/profiles/speedprofiles.ini" "$base/map-export/speedprofiles.ini" ||
    fail "speedprofiles.ini: $(diff "$expected/profiles/speedprofiles.ini" "$base/map-export/speedprofiles.ini" | cat -A)"
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
    click_window 133 33 # "Speichern"
    "$close_window" "$window"
    wait_exit
  done
  # Only the two lines of "home" differ, in the file as it is spelled.
  home_moved() { sed '0,/^x= 10\r$/s//x= 15\r/; 0,/^y= 36\r$/s//y= 39\r/' "$1"; }
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
    click_window 133 33 # "Speichern"
    focus_window 'Hinweis:'
    xdotool key Return
    # Closing: the question again; after No the program ends.
    "$close_window" "$window"
    focus_window 'Frage:'
    xdotool key alt+n
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

run() { # scenario
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
