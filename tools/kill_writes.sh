#!/bin/bash
# Kills velk-cli at random moments while it writes, and counts what the
# kills leave behind: temporary files, and targets that are neither the old
# nor the new file whole. By hand, not a test:
#   tools/kill_writes.sh build/velk-cli build/demo.smc [KILLS]
set -u
cli=${1:?velk-cli}; demo=${2:?demo image}; kills=${3:-200}
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
cp "$demo" "$work/base.smc"
# Each kind: the command and the file it writes.
run_kind() {
  local kind=$1 left=0 broken=0 i
  cp "$work/base.smc" "$work/game.smc"
  case $kind in
    save) args=("$work/game.smc" save "$work/out.smc"); target=$work/out.smc ;;
    over) args=("$work/game.smc" save "$work/game.smc"); target=$work/game.smc ;;
    ips)  args=("$work/game.smc" patch "$work/out.ips"); target=$work/out.ips ;;
    bps)  args=("$work/game.smc" patch "$work/out.bps"); target=$work/out.bps ;;
  esac
  # The whole file a finished run writes, and the one before it.
  "$cli" "${args[@]}" >/dev/null 2>&1; cp "$target" "$work/new"
  local old=$work/new
  [ "$kind" = over ] && old=$work/base.smc
  local time_us; time_us=$( { TIMEFORMAT=%R; time "$cli" "${args[@]}" >/dev/null 2>&1; } 2>&1 )
  time_us=$(awk -v t="$time_us" 'BEGIN { printf "%d", t * 1000000 + 1000 }')
  for ((i = 0; i < kills; i++)); do
    [ "$kind" = over ] && cp "$work/base.smc" "$work/game.smc" && rm -f "$work/game.smc.bak"
    "$cli" "${args[@]}" >/dev/null 2>&1 &
    local pid=$!
    sleep "$(awk -v r=$RANDOM -v t="$time_us" 'BEGIN { printf "%.6f", r / 32768 * t / 1000000 }')"
    kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
    local temps=("$work"/*.velk-tmp-*)
    [ -e "${temps[0]}" ] && left=$((left + 1)) && rm -f "$work"/*.velk-tmp-*
    if [ -e "$target" ] && ! cmp -s "$target" "$work/new" && ! cmp -s "$target" "$old" && ! cmp -s "$target" "$work/base.smc"; then
      broken=$((broken + 1))
    fi
  done
  echo "$kind: $kills kills, $left left a temporary file, $broken left a target neither old nor new"
}
for kind in save over ips bps; do run_kind "$kind"; done
