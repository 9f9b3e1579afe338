# Sourced by the scripts that need an X display of their own. start_xvfb N
# starts Xvfb on the first free display from :N to :N+30, exports DISPLAY and
# sets xvfb_pid; it fails when none is free.
start_xvfb() {
  local n
  for n in $(seq "$1" "$(($1 + 30))"); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    # -noreset: by default the server resets when its last client leaves, and
    # a program that connects during the reset cannot open the display.
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    return 0
  done
  echo "no free X display from :$1" >&2
  return 1
}
