# Shared by the Xvfb test scripts (sourced).

# Runs the calling script again inside a fresh Xvfb server. Servers started at the same moment
# (by other tests or other programs on the machine) may take the display that -a chose; such a
# run ends with code 75 and is tried on another display.
run_in_xvfb() {
    local attempt status
    for attempt in 1 2 3; do
        status=0
        timeout -s KILL 100 xvfb-run -a -s '-screen 0 1024x768x24' "$@" || status=$?
        if [ "$status" -ne 75 ]; then
            return "$status"
        fi
        echo "display taken (attempt $attempt); trying again"
        sleep 1
    done
    return 1
}

# Inside Xvfb: waits until the display answers; ends the run with code 75 when it never does.
wait_for_display() {
    local _
    for _ in $(seq 1 100); do
        if xdotool getdisplaygeometry >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.05
    done
    exit 75
}
