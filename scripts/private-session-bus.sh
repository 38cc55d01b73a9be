# Sourced by the screenshot scripts and the serve benchmark: a work folder, a session bus of its own
# (DBUS_SESSION_BUS_ADDRESS exported), and a cleanup on exit that ends every
# process id added to `pids` and removes the folder.
work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

dbus-daemon --session --nofork --print-address >"$work/bus" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/bus" ] && break; sleep 0.1; done
export DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$work/bus")"
