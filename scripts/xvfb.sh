# Shell functions for running the program under Xvfb and driving it with
# xdotool, shared by the Xvfb test, the screenshot and the window figures.
# Source it; it sets only a UTF-8 character set until a function is called.
source "$(dirname "${BASH_SOURCE[0]}")/utf8_locale.sh"

# Starts Xvfb on the first free display from $1 on, exports DISPLAY and sets
# xvfb_pid. -noreset: otherwise the server resets each time its last client
# leaves, and a program connecting just then (while xdotool polls) is turned
# away.
start_xvfb() {
  local display
  for display in $(seq "$1" $(($1 + 40))); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
  done
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

# Prints the first visible window whose title matches the regular
# expression $1, waiting up to ${2:-10} seconds; fails if none appears.
wait_for_window() {
  local window tries=$(( ${2:-10} * 100 ))
  for _ in $(seq "$tries"); do
    window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && { echo "$window"; return 0; }
    sleep 0.01
  done
  return 1
}

# Moves the pointer to a point of the main window's client area given in
# twips (15 to a pixel); the client area, 485 pixels high, lies between the
# menu bar and the status bar, 22 pixels high.
point_at_twips() {  # point_at_twips WINDOW X_TWIPS Y_TWIPS
  local height menu_height
  height=$(xdotool getwindowgeometry --shell "$1" | awk -F= '/HEIGHT/ {print $2}')
  menu_height=$(( height - 485 - 22 ))
  xdotool mousemove --window "$1" $(( $2 / 15 )) $(( menu_height + $3 / 15 ))
}

# The centre of a board cell, in twips.
cell_x() { echo $(( 150 + 480 * ($1 % 11) + 187 )); }
cell_y() { echo $(( 165 + 480 * ($1 / 11) + 187 )); }
