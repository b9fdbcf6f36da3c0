# shellcheck shell=bash
# Sourced by the with-*.sh scripts, which run a command beside a program they start in the
# background: waiting until that program is ready, and stopping it.

# Succeeds once COMMAND does; fails when process PID has ended first or after TRIES checks
# 0.1 s apart.
#   wait_until_ready PID TRIES COMMAND [ARGUMENT]...
wait_until_ready() {
    local pid="$1" tries="$2"
    shift 2
    for _ in $(seq 1 "$tries"); do
        kill -0 "$pid" 2>/dev/null || return 1
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Ends process PID if it still runs, and waits for it.
stop_process() {
    local pid="$1"
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
}
