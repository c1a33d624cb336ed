#!/usr/bin/env bash
# End-to-end: vrk.exe in a fresh demo tree under Wine, looked at and clicked
# from outside through vrkprobe, the way a person uses the window.
#
#   panel_e2e.sh <source root> <windows build dir> <demo dir>
#
# Checks: the window's frame; every control of the window definition (as
# vrklayout prints it) is there, under its parent, at its place, once its
# panel has been shown (and not before); a few key
# controls where the design puts them; the panels' stacking order; the
# runtime state file; the window by keyboard: from its first focus Tab and
# Shift+Tab follow the reading order round the end over what is disabled or
# hidden, a screen reader is told of each move, Space on the Apache tab shows
# its page, the arrows move the PHP choice, the start images are named with
# their servers, Return on Apache's starts the service and Space stops it;
# the tab images switching panels; a radio group click;
# every label holding its caption; a move to a display of 150 % and back; the
# close by Alt+F4 with the focus on a control. Then the window on displays of
# 120, 144 and 192 dots per
# inch (Wine's LogPixels): its client area, key controls at their scaled
# places, every label holding its caption on every panel, the focus mark, and
# the options dialog likewise. And first the drop-in package the demo tree is
# unpacked from: the panel's files, and nothing of the servers. Screenshots go
# to build/screenshots/e2e-*.png (e2e-focus.png and e2e-<dpi>dpi-focus.png
# with the focus mark on the Apache start image).
set -euo pipefail
root=${1:?source root}
build=${2:?windows build dir}
demo=${3:?demo dir}

# CTest runs this inside scripts/wine-env; on its own it gets one.
if [ -z "${DISPLAY:-}" ]; then exec "$root/scripts/wine-env" "$0" "$@"; fi

probe_exe=$build/tests/e2e/vrkprobe.exe
check_exe=$build/tests/stubs/stubcheck.exe
layout_exe=$build/tests/e2e/vrklayout.exe
shots=$root/build/screenshots
work=$demo.work
log=$work/wine.log
rm -rf "$work"
mkdir -p "$work" "$shots"

test_name=panel_e2e
# shellcheck source=e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
[ -f "$layout_exe" ] || abort "$layout_exe is missing (build the vrklayout target)"

# --- the drop-in package the demo tree is unpacked from ----------------------------
zip=$(ls "$build"/../dist/vrk-*-win64.zip 2>/dev/null | head -n 1)
[ -n "$zip" ] || abort "no package in $build/../dist"
python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip" >"$work/package.txt"
for entry in vrk.exe vrk-README.txt vrk/config/settings.ini vrk/langs/English.ini vrk/langs/Deutsch.ini \
  "vrk/langs/Français.ini" vrk/skins/default/bg.jpg vrk/skins/default/loading.gif vrk/skins/default/ok.ico vrk/tmp/; do
  grep -qxF "$entry" "$work/package.txt" || abort "the package $(basename "$zip") has no $entry"
done
[ "$(grep -c '^vrk/skins/default/.' "$work/package.txt")" = "$(ls "$root/bundle/vrk/skins/default" | wc -l)" ] ||
  abort "the package's skin differs from bundle/vrk/skins/default"
# The text tells bundle makers what the panel writes and who else may.
python3 -c 'import sys, zipfile; sys.stdout.write(zipfile.ZipFile(sys.argv[1]).read("vrk-README.txt").decode())' \
  "$zip" >"$work/vrk-README.txt"
for said in 'vrk\tmp\ ' 'vrk\config\ ' 'tmp\php\ ' 'writable by administrators only'; do
  grep -qF -- "$said" "$work/vrk-README.txt" || abort "vrk-README.txt does not say: $said"
done
grep -qvE '^(vrk\.exe|vrk-README\.txt|vrk/.*)$' "$work/package.txt" &&
  abort "the package holds more than the panel: $(grep -vE '^(vrk\.exe|vrk-README\.txt|vrk/.*)$' "$work/package.txt" | head -n 3 | tr '\n' ' ')"

# Wine gives a process that declares itself DPI-aware the registry's
# LogPixels as the display's scale; the prefix is shared, so it goes back
# (and a run that was killed midway leaves the next one at 100 % too).
set_dpi() {
  "$root/scripts/wine-run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    </dev/null >>"$log" 2>&1
}
restore_dpi() {
  "$root/scripts/wine-run" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f </dev/null >>"$log" 2>&1 || true
}
restore_dpi

VRK_WINDOWS_BUILD=$build "$root/scripts/make-demo-tree" "$demo"
check clean Apache2.2 >/dev/null || abort "a service Apache2.2 is left from before and cannot be removed"
cmp -s "$build/app/vrk.exe" "$demo/vrk.exe" || abort "the demo tree's vrk.exe is not the one built"

(cd "$demo" && exec "$root/scripts/wine-run" "$demo/vrk.exe" </dev/null >>"$log" 2>&1) &
panel=$!
cleanup() {
  if kill -0 "$panel" 2>/dev/null; then
    probe close >/dev/null 2>&1 || true
    panel_ended 10 || stop_panel_process
  fi
  check clean Apache2.2 >/dev/null || echo "could not remove the service Apache2.2"
}
trap cleanup EXIT

probe wait 90 >/dev/null || abort "the window \"VORLAN Web Server\" did not come up: $(tail -n 3 "$log" | tr '\n' ' ')"
if ! errors=$(probe errors); then abort "the panel shows an error box: $errors"; fi

probe list >"$work/list.tsv" || abort "vrkprobe list failed"
"$root/scripts/wine-run" "$layout_exe" </dev/null 2>>"$log" | tr -d '\r' >"$work/layout.tsv"
[ -s "$work/layout.tsv" ] || abort "vrklayout printed nothing"

# The window alone, cut from the screen.
screenshot() {
  local rect
  rect=$(probe list | awk -F'\t' 'NR == 1 { split($4, r, ","); printf "%dx%d+%d+%d", r[3], r[4], r[1], r[2] }')
  import -window root -crop "$rect" +repage "$shots/$1"
}
screenshot e2e-start.png

field() { # field <name> <column>: a column of a control's line in the list
  awk -F'\t' -v n="$1" -v c="$2" '$1 == n { print $c; found = 1 } END { exit !found }' "$work/list.tsv"
}

# --- the window ----------------------------------------------------------------------
IFS=$'\t' read -r form_name form_class _ form_rect _ _ _ form_state _ <"$work/list.tsv"
[ "$form_name $form_class" = "vrk_form VrkForm" ] || abort "the window is $form_name of class $form_class"
declare -A frame
for kv in $form_state; do frame[${kv%%=*}]=${kv#*=}; done
[ "${frame[client]}" = 797x486 ] || abort "the client area is ${frame[client]}, not 797x486"
IFS=, read -r x y w h <<<"$form_rect"
screen_w=${frame[screen]%x*} screen_h=${frame[screen]#*x}
dx=$((2 * x + w - screen_w)) dy=$((2 * y + h - screen_h))
[ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] || abort "the window ($form_rect) is not centred on the screen (${frame[screen]})"
style=$((16#${frame[style]})) exstyle=$((16#${frame[exstyle]}))
((style & 0x00080000)) && abort "the window has a system menu (caption-bar buttons)"
((style & 0x00040000)) && abort "the window can be resized"
((style & 0x00C00000)) || abort "the window has no caption bar"
((exstyle & 0x00080000)) || abort "the window is not layered (alpha blending)"

# --- every control of the definition, at its place ---------------------------------
# held_against_layout <panels>: the list in list.tsv holds a window for every
# control of the definition, under its parent, at its place, but for the
# controls on the panels named (a regular expression): those have none yet,
# as a panel's controls get their windows when it is first shown.
held_against_layout() {
  awk -F'\t' -v unshown="^($1)$" '
    FNR == NR { kind[$1] = $2; parent[$1] = $3; rect[$1] = $4; auto[$1] = $5; align[$1] = $6; next }
    FNR == 1 { next } # the window itself
    {
      if (!($1 in kind)) { print "unknown control " $1; bad = 1; next }
      if (parent[$1] ~ unshown) { print $1 " has a window, though its panel " parent[$1] " was never shown"; bad = 1 }
      found[$1] = 1
      want = kind[$1]
      cls = want == "label" ? "VrkLabel" : want == "image" ? "VrkImage" : want == "animated image" ? "VrkAnimatedImage" : \
            want == "panel" ? "VrkPanel" : want == "shape" ? "VrkShape" : want == "radio group" ? "VrkRadioGroup" : \
            want == "edit" || want == "memo" ? "Edit" : want == "drop-down list" ? "ComboBox" : "Button"
      if (tolower($2) != tolower(cls)) { print $1 ": class " $2 ", expected " cls; bad = 1 }
      if ($3 != parent[$1]) { print $1 ": child of " $3 ", expected " parent[$1]; bad = 1 }
      split(rect[$1], w, ","); split($4, h, ",")
      if (want == "drop-down list") ok = w[1] == h[1] && w[2] == h[2] && w[3] == h[3]
      else if (auto[$1] == 1 && align[$1] == "right") ok = w[1] + w[3] == h[1] + h[3] && w[2] == h[2]
      else if (auto[$1] == 1) ok = w[1] == h[1] && w[2] == h[2]
      else ok = rect[$1] == $4
      if (!ok) { print $1 ": at " $4 ", defined at " rect[$1] (auto[$1] == 1 ? " (auto-size)" : ""); bad = 1 }
    }
    END {
      for (n in kind) if (!(n in found) && parent[n] !~ unshown) { print "missing control " n; bad = 1 }
      exit bad
    }' "$work/layout.tsv" "$work/list.tsv"
}
hidden_panels="PanelVRKInformation|PanelPgSQL|PanelFTP|PanelDB|PanelFeedback|PanelMySQL|PanelApache"
held_against_layout "$hidden_panels" >"$work/why" || abort "at start: $(cat "$work/why")"

# Panels stack in the order of the definition, the last one on top.
previous=-1
for p in PanelApache PanelMySQL PanelFeedback PanelVRK PanelDB PanelFTP PanelPgSQL PanelVRKInformation; do
  index=$(field "$p" 7)
  [ "$index" -gt "$previous" ] || abort "$p is stacked above a panel defined after it"
  previous=$index
done

# --- what the start-up showed -----------------------------------------------------------
for p in PanelApache PanelDB PanelFTP PanelVRKInformation PanelMySQL PanelPgSQL PanelFeedback; do
  [ "$(field "$p" 5)" = 0 ] || abort "$p is visible at start"
done
[ "$(field PanelVRK 5)" = 1 ] || abort "the welcome panel PanelVRK is not visible at start"
[ "$(field lbl_vorlan 9)" = "VORLAN CMS" ] || abort "lbl_vorlan reads \"$(field lbl_vorlan 9)\""
case "$(field VRKTitle 9)" in "VORLAN WEB SERVER - "*) ;; *) abort "VRKTitle reads \"$(field VRKTitle 9)\"" ;; esac
for pair in 'imgTabApache\apache.ico' 'btnExit\close.ico' 'frmGif\loading.gif'; do
  name=${pair%%\\*} file=\\${pair#*\\}
  picture=$(field "$name" 10)
  [ "${picture%"$file"}" != "$picture" ] || abort "$name shows \"$picture\", not $file"
done

run_ini=$demo/vrk/tmp/run.ini
[ -f "$run_ini" ] || abort "no runtime state file $run_ini"
value() { tr -d '\r' <"$run_ini" | awk -F= -v s="[$1]" -v k="$2" '/^\[/ { in_s = ($0 == s) } in_s && $1 == k { print substr($0, length(k) + 2) }'; }
[ "$(value gui version)" = 1.3.22 ] || abort "run.ini [gui] version is \"$(value gui version)\""
[ "$(value credit creator)" = Malverin ] || abort "run.ini [credit] creator is \"$(value credit creator)\""

# A click or a key is handled when the panel's thread gets to it: wait until
# it shows.
until_shows() { # until_shows <column> <name> <value>
  for _ in $(seq 1 100); do
    probe list >"$work/list.tsv"
    [ "$(field "$2" "$1")" = "$3" ] && return 0
    sleep 0.1
  done
  return 1
}

# --- the keyboard ------------------------------------------------------------------------
# Keys as a person types them: to the window that has the keyboard focus.
key() {
  xdotool key --delay 60 "$@" 2>>"$log"
  sleep 0.4
}
tabs() { # tabs <keys...>: presses each key and lists where the focus went
  local k out=""
  for k in "$@"; do
    key "$k"
    out+="$(probe focus) "
  done
  echo "${out% }"
}
[ "$(probe focus)" = vrk_form ] || abort "at start the focus is on $(probe focus), not on the window"
# A screen reader follows the focus: it is told of each move.
events=$work/focus-events.txt
# (Not through probe, whose output file the calls meanwhile use.)
"$root/scripts/wine-run" "$probe_exe" focus-events 12 60 "$(winepath -w "$events" 2>/dev/null)" \
  </dev/null >/dev/null 2>>"$log" &
listener=$!
for _ in $(seq 1 300); do grep -q listening "$events" 2>/dev/null && break; sleep 0.1; done
grep -q listening "$events" || abort "vrkprobe cannot follow the panel's focus events"
# From the window's first focus: backwards round the end to the last tab,
# forwards round to the first stop (the start page is disabled while Apache
# is stopped, the welcome page has no controls, the hidden tabs are skipped),
# then in reading order to the Apache tab.
order=$(tabs shift+Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab)
want="imgTabFTP imgVRKFolder imgVORLAN imgServicesManager imgTaskManager imgSystemMonitor imgGroupPolicy imgOptions"
want+=" btnMinimize btnExit imgTabVRK imgTabApache"
[ "$order" = "$want" ] || abort "Tab and Shift+Tab went over $order, not $want"
wait "$listener" || true
told=$(tr -d '\r' <"$events" | grep -v listening | paste -sd' ' || true)
[ "$told" = "$want" ] || abort "a screen reader was told of the focus on \"$told\", not on \"$want\""
key space
until_shows 5 PanelApache 1 || abort "Space on imgTabApache does not show PanelApache"
[ "$(probe focus)" = imgTabApache ] || abort "after the panel switch the focus is on $(probe focus), not on imgTabApache"
order=$(tabs Tab Tab Tab)
[ "$order" = "imgTabDB imgTabFTP rgp_PHPVersions" ] || abort "on the Apache page Tab went over $order"
# The arrows move the PHP choice as in a radio group, round the end.
php=$(field rgp_PHPVersions 8)
key Left
until_shows 8 rgp_PHPVersions "index=$(((${php#index=} + 2) % 3))" ||
  abort "Left on rgp_PHPVersions ($php) does not choose the item before, round the end"
key Tab
[ "$(probe focus)" = imgApacheRunStop ] || abort "Tab from rgp_PHPVersions reaches $(probe focus), not imgApacheRunStop"
# The two start images of the page say which server each starts; the
# captions on show stay the word.
probe list >"$work/list.tsv"
[ "$(field imgApacheRunStop 9)" = "Start, Apache Web Server" ] &&
  [ "$(field imgMemcacheRunStop 9)" = "Start, memcached Server" ] && [ "$(field lbl_ApacheRunStop 9)" = Start ] ||
  abort "the start images are named \"$(field imgApacheRunStop 9)\" and \"$(field imgMemcacheRunStop 9)\"," \
    "their label reads \"$(field lbl_ApacheRunStop 9)\""
[ -f "$demo/servers/apache/bin/httpd.exe" ] || abort "the demo tree has no stand-ins (build the bundle/stubs targets)"
key Return
check wait Apache2.2 RUNNING 20000 >/dev/null || abort "Return on imgApacheRunStop does not start Apache2.2"
until_shows 9 imgApacheRunStop "Stop, Apache Web Server" || abort "after the start imgApacheRunStop is not named Stop"
[ "$(probe focus)" = imgApacheRunStop ] || abort "after the start the focus is on $(probe focus)"
screenshot e2e-focus.png
key space
check wait Apache2.2 ABSENT 20000 >/dev/null || abort "Space on imgApacheRunStop does not stop and remove Apache2.2"
until_shows 9 imgApacheRunStop "Start, Apache Web Server" || abort "after the stop imgApacheRunStop is not named Start"
if ! errors=$(probe errors); then abort "the panel shows an error box after the keys: $errors"; fi

# --- clicks ------------------------------------------------------------------------------

probe click imgTabApache >/dev/null
until_shows 5 PanelApache 1 || abort "a click on imgTabApache does not show PanelApache"
[ "$(field PanelVRK 5)" = 0 ] || abort "PanelVRK still shows after a click on imgTabApache"
screenshot e2e-apache.png

# The middle of the PHP group is its second item.
probe click rgp_PHPVersions >/dev/null
until_shows 8 rgp_PHPVersions index=1 || abort "a click on the middle of rgp_PHPVersions does not select PHP 5.3"

probe click imgTabVRK >/dev/null
until_shows 5 PanelVRKInformation 1 || abort "a click on imgTabVRK does not show PanelVRKInformation"
[ "$(field PanelApache 5)" = 0 ] || abort "PanelApache still shows after a click on imgTabVRK"
[ "$(field PanelVRK 5)" = 0 ] || abort "PanelVRK shows again after a click on imgTabVRK"
screenshot e2e-information.png

# Every panel a tab shows has its controls now; the three no control shows
# have none.
for tab in imgTabDB imgTabFTP; do probe click "$tab" >/dev/null; done
until_shows 5 PanelFTP 1 || abort "a click on imgTabFTP does not show PanelFTP"
held_against_layout "PanelPgSQL|PanelFeedback|PanelMySQL" >"$work/why" || abort "after the tabs: $(cat "$work/why")"

# --- key controls where the design puts them -----------------------------------------
key_controls='btnExit vrk_form 750,12,32,32
imgTabApache vrk_form 286,172,32,32
lbl_apache_title vrk_form 50,179,200,19
PanelApache vrk_form 330,125,435,302
PanelVRKInformation vrk_form 330,130,435,302
rgp_PHPVersions PanelApache 100,10,325,60
lbl_ApacheRunStop PanelApache 100,110,80,13
Shape2 PanelApache 10,150,415,1
imgLogoMongoDB PanelDB 10,236,64,64
imgVORLANLogo PanelVRK 93,-16,250,125
imgFTPRunStop PanelFTP 34,10,32,32'
# scaled <dpi> <n>: a design length on a display of that scale, rounded half
# away from zero; scaled_rect <dpi> <left,top,width,height>: a place, where a
# one-pixel size (a line) grows by whole pixels only.
scaled() { awk -v d="$1" -v n="$2" 'BEGIN { v = n * d / 96; printf "%d", v < 0 ? -int(-v + 0.5) : int(v + 0.5) }'; }
scaled_rect() {
  local l t w h line=$(($1 / 96 > 1 ? $1 / 96 : 1))
  IFS=, read -r l t w h <<<"$2"
  [ "$w" = 1 ] && w=$line || w=$(scaled "$1" "$w")
  [ "$h" = 1 ] && h=$line || h=$(scaled "$1" "$h")
  echo "$(scaled "$1" "$l"),$(scaled "$1" "$t"),$w,$h"
}
key_controls_at() { # key_controls_at <dpi>: each sits at its design place, scaled
  local name parent rect got want
  while read -r name parent rect; do
    got="$(field "$name" 3) $(field "$name" 4)" || { echo "no control $name"; return 1; }
    want="$parent $(scaled_rect "$1" "$rect")"
    [ "$got" = "$want" ] || { echo "$name is at $got, the design at $1 dpi puts it at $want"; return 1; }
  done <<<"$key_controls"
}
key_controls_at 96 >"$work/why" || abort "$(cat "$work/why")"
picture=$(field imgLogoApache 10)
[ "${picture%\\apache_logo.ico}" != "$picture" ] || abort "imgLogoApache shows \"$picture\", not \\apache_logo.ico"

# --- every label holds its caption -------------------------------------------------------
# labels_fit <what> [welcome]: on the welcome panel (when asked) and on every
# panel a tab shows, no label clips its caption.
labels_fit() {
  local pair tab pnl
  if [ -n "${2:-}" ]; then probe fits >"$work/why" || abort "$1, on the welcome panel: $(cat "$work/why")"; fi
  for pair in imgTabApache:PanelApache imgTabDB:PanelDB imgTabFTP:PanelFTP imgTabVRK:PanelVRKInformation; do
    tab=${pair%:*} pnl=${pair#*:}
    probe click "$tab" >/dev/null
    until_shows 5 "$pnl" 1 || abort "$1: a click on $tab does not show $pnl"
    probe fits >"$work/why" || abort "$1, on $pnl: $(cat "$work/why")"
  done
}
labels_fit "at 96 dpi"

# --- moved to a display of another scale ------------------------------------------------
centre_of() { # centre_of <left,top,width,height>: twice its centre, "x y"
  local l t w h
  IFS=, read -r l t w h <<<"$1"
  echo "$((2 * l + w)) $((2 * t + h))"
}
read -r cx cy < <(centre_of "$form_rect")
probe dpi 144 >/dev/null || abort "the window does not take a change of scale"
probe list >"$work/list.tsv"
IFS=$'\t' read -r _ _ _ moved_rect _ _ _ moved_state _ <"$work/list.tsv"
case " $moved_state " in *" client=1196x729 "*) ;; *) abort "moved to 144 dpi the client area is not 1196x729: $moved_state" ;; esac
read -r mx my < <(centre_of "$moved_rect")
[ "$(((mx - cx) / 4))" = 0 ] && [ "$(((my - cy) / 4))" = 0 ] ||
  abort "moved to 144 dpi, the window ($moved_rect) left its centre (it was at $form_rect)"
key_controls_at 144 >"$work/why" || abort "moved to 144 dpi: $(cat "$work/why")"
probe fits >"$work/why" || abort "moved to 144 dpi: $(cat "$work/why")"
screenshot e2e-moved-to-144dpi.png
probe dpi 96 >/dev/null
probe list >"$work/list.tsv"
case "$(head -n 1 "$work/list.tsv")" in *client=797x486*) ;; *) abort "back at 96 dpi the client area is not 797x486" ;; esac
held_against_layout "PanelPgSQL|PanelFeedback|PanelMySQL" >"$work/why" || abort "back at 96 dpi: $(cat "$work/why")"

# --- close --------------------------------------------------------------------------------
# Alt+F4 closes the window as the exit does, also with the focus on a control.
[ "$(probe focus)" = imgTabVRK ] || abort "before the close the focus is on $(probe focus), not on imgTabVRK"
xdotool key alt+F4 2>>"$log" || abort "xdotool could not press Alt+F4"
panel_ended 30 || abort "vrk.exe still runs after Alt+F4"

# --- on displays of other scales ------------------------------------------------------------
trap 'cleanup; restore_dpi' EXIT
options_title=$(tr -d '\r' <"$demo/vrk/langs/English.ini" |
  awk -F= '/^\[/ { s = $0 } s == "[options]" && $1 == "OptionsTitle" { print substr($0, length($1) + 2) }')
[ -n "$options_title" ] || options_title=Options
# within_one <got WxH> <want W> <want H>
within_one() {
  local w=${1%x*} h=${1#*x}
  [ "$(((w - $2) / 2))" = 0 ] && [ "$(((h - $3) / 2))" = 0 ]
}
for dpi in 120 144 192; do
  set_dpi "$dpi" || abort "could not set LogPixels to $dpi"
  (cd "$demo" && exec "$root/scripts/wine-run" "$demo/vrk.exe" </dev/null >>"$log" 2>&1) &
  panel=$!
  probe wait 90 >/dev/null || abort "at $dpi dpi the window did not come up"
  if ! errors=$(probe errors); then abort "at $dpi dpi the panel shows an error box: $errors"; fi
  probe list >"$work/list.tsv"
  IFS=$'\t' read -r _ _ _ form_rect _ _ _ form_state _ <"$work/list.tsv"
  client=${form_state#client=} client=${client%% *}
  within_one "$client" "$(scaled "$dpi" 797)" "$(scaled "$dpi" 486)" ||
    abort "at $dpi dpi the client area is $client, not $(scaled "$dpi" 797)x$(scaled "$dpi" 486)"
  IFS=, read -r x y w h <<<"$form_rect"
  dx=$((2 * x + w - screen_w)) dy=$((2 * y + h - screen_h))
  [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] || abort "at $dpi dpi the window ($form_rect) is not centred"
  screenshot "e2e-${dpi}dpi-welcome.png"
  labels_fit "at $dpi dpi" welcome
  probe list >"$work/list.tsv"
  key_controls_at "$dpi" >"$work/why" || abort "at $dpi dpi: $(cat "$work/why")"
  screenshot "e2e-${dpi}dpi-information.png"
  probe click imgTabApache >/dev/null
  until_shows 5 PanelApache 1 || abort "at $dpi dpi a click on imgTabApache does not show PanelApache"
  screenshot "e2e-${dpi}dpi-apache.png"
  # The focus mark, from the tab clicked on to the Apache start image.
  key Tab Tab Tab Tab
  [ "$(probe focus)" = imgApacheRunStop ] || abort "at $dpi dpi four Tab from imgTabApache reach $(probe focus)"
  screenshot "e2e-${dpi}dpi-focus.png"

  probe click imgOptions >/dev/null
  probe --window "$options_title" wait 15 >/dev/null || abort "at $dpi dpi the options dialog does not open"
  probe --window "$options_title" list >"$work/options.tsv"
  client=$(head -n 1 "$work/options.tsv" | grep -o 'client=[0-9]*x[0-9]*') client=${client#client=}
  within_one "$client" "$(scaled "$dpi" 796)" "$(scaled "$dpi" 600)" ||
    abort "at $dpi dpi the options dialog's client area is $client, not $(scaled "$dpi" 796)x$(scaled "$dpi" 600)"
  probe --window "$options_title" fits >"$work/why" || abort "at $dpi dpi, in the options dialog: $(cat "$work/why")"
  rect=$(awk -F'\t' 'NR == 1 { split($4, r, ","); printf "%dx%d+%d+%d", r[3], r[4], r[1], r[2] }' "$work/options.tsv")
  import -window root -crop "$rect" +repage "$shots/e2e-${dpi}dpi-options.png"
  probe --window "$options_title" click btnCancel >/dev/null
  probe close >/dev/null
  panel_ended 30 || abort "at $dpi dpi vrk.exe does not end when its window is closed"
done
echo "panel_e2e: ok (screenshots in $shots/e2e-*.png)"
