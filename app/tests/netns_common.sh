# Shared by the tests that run real daemons in network namespaces of their
# own: the checks that skip them, unique names, bounded waits and the
# clean-up. Sourced; NETNS_PREFIX names the namespaces this run makes.

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/utf8_locale.sh"

skip() { echo "SKIP: $*"; exit 77; }

require_root_and_tools() {
  [ "$(id -u)" -eq 0 ] || skip "the namespace tests need root (they make network namespaces)"
  for tool in ip "$@"; do
    command -v "$tool" >/dev/null || skip "$tool is missing (scripts/setup.sh installs it)"
  done
  # What the tests do, tried on a namespace of the probe's own: `ip netns
  # exec` remounts /sys and makes / a slave mount, which fails in a chroot
  # or a container where / is no mount point.
  local probe="vxprobe$$" error
  error=$(ip netns add "$probe" 2>&1) || skip "ip netns add is not allowed here: $error"
  error=$(ip netns exec "$probe" true 2>&1)
  local status=$?
  ip netns del "$probe"
  [ "$status" -eq 0 ] ||
    skip "ip netns exec cannot run here (a container or chroot where / is no mount point?): $error"
}

# The tests that give themselves a /run of their own need a mount namespace.
require_mount_namespace() {
  local error
  error=$(unshare --net --mount --fork -- true 2>&1) ||
    skip "unshare --mount cannot make a mount namespace here (a container or chroot where / is no mount point?): $error"
}

# Names unique to this run, short enough for interface names (15 bytes).
NETNS_PREFIX=${NETNS_PREFIX:-vx$(printf '%04x' $((RANDOM ^ $$ & 0xffff)))}
work=$(mktemp -d)
background_pids=()
namespaces=()

cleanup() {
  for pid in "${background_pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${background_pids[@]}"; do wait "$pid" 2>/dev/null; done
  for ns in "${namespaces[@]}"; do ip netns del "$ns" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

make_namespace() {  # NAME
  ip netns add "$1" || { echo "FAIL: cannot make namespace $1"; exit 1; }
  namespaces+=("$1")
  ip -n "$1" link set lo up
}

fail() {
  echo "FAIL: $*"
  for f in "$work"/*.log; do [ -f "$f" ] && { echo "--- $f"; tail -n 30 "$f"; }; done
  # The whole logs, the daemons' with the players', outlive the clean-up:
  # a failure seen once in many runs is read afterwards.
  local kept
  kept=$(mktemp -d /tmp/vexa-failed-XXXXXX) &&
    find "$work" -maxdepth 2 \( -name '*.log' -o -name '*.out' \) -exec cp {} "$kept"/ \; &&
    echo "logs kept in $kept"
  exit 1
}

now_ms() { date +%s%3N; }

# Runs COMMAND... until it succeeds, for at most SECONDS. The bound is only
# there so that a broken run ends: give it room for a loaded machine.
wait_until() {  # SECONDS COMMAND...
  local deadline=$(( $(now_ms) + $1 * 1000 ))
  shift
  until "$@"; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

has_line() { grep -q -- "$2" "$1" 2>/dev/null; }
