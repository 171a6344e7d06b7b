# shellcheck shell=bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# The process handling shared by the desktop runners (tests/x11/run-x11.sh,
# tests/wayland/run-wayland.sh), sourced by them. A runner sets `runner` (its
# name in messages) and `work` (its session's folder, where the servers' logs
# go as *.log), and traps EXIT for its own cleanup.

# An interrupted run ends through the runner's cleanup too.
trap 'exit 130' INT
trap 'exit 143' TERM

# The end of each server's log, for a run that failed.
show_logs() {
  local log
  for log in "$work"/*.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log")" >&2; tail -n 100 "$log" >&2; }
  done
  return 0
}
fail() {
  echo "$runner: $*" >&2
  show_logs
  exit 1
}

# Everything a process started, children before their parents.
descendants() {
  local child
  for child in $(pgrep -P "$1"); do
    descendants "$child"
    echo "$child"
  done
}
# Stops a process and everything it started. The parent goes first, so that it
# never sees a child of its end (a shell would report it).
kill_tree() {
  local pids
  pids="$1 $(descendants "$1")"
  kill -KILL $pids 2>/dev/null || true
}

# Prints where each process of a tree is: every thread's stack.
print_stacks() {
  if ! command -v gdb >/dev/null 2>&1; then
    echo "$runner: gdb is missing: no stacks to show" >&2
    return
  fi
  local pid
  for pid in $(descendants "$1") "$1"; do
    echo "--- stacks of $pid: $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)" >&2
    timeout 60 gdb -p "$pid" -batch -nx -ex 'set pagination off' \
      -ex 'thread apply all bt' </dev/null 2>&1 | grep -v '^\[New LWP' >&2 || true
  done
}

# Waits up to 20 s (the machine may be busy) for a command to succeed.
wait_for() {
  local what=$1
  shift
  for _ in $(seq 200); do
    "$@" && return 0
    sleep 0.1
  done
  fail "timed out waiting for $what"
}

# Waits for the test program started as program_pid, named $1, and sets
# status to how it ended. With a deadline ($2 seconds, 0 for none) a program
# still running then has its stacks printed and is stopped, and the status
# is 124. The runner's cleanup stops whatever watchdog_pid names.
wait_for_program() {
  local name=$1 deadline=$2 overran="$work/overran"
  if [ "$deadline" -gt 0 ]; then
    (
      sleep "$deadline"
      echo "$runner: $name still running after $deadline s: stopped" >&2
      print_stacks "$program_pid"
      touch "$overran"
      kill_tree "$program_pid"
    ) &
    watchdog_pid=$!
    disown "$watchdog_pid" # stopped below or by the cleanup, with no word from the shell
  fi
  status=0
  wait "$program_pid" || status=$?
  if [ -n "$watchdog_pid" ]; then
    kill_tree "$watchdog_pid"
    watchdog_pid=
  fi
  [ -e "$overran" ] && status=124
  program_pid=
  return 0
}
