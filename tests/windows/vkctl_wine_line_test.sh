#!/usr/bin/env bash
# vkctl.exe under Wine against simulated sensors on this machine: COM1 of the Wine prefix
# opens the simulator's pseudo-terminal. Where an answer is not fixed by the sensor's
# protocol alone, the Linux vkctl against the same simulator is the reference.
#   vkctl_wine_line_test.sh CASE WINE_RUN WINE_DIR VKCTL_EXE HOST_BUILD WORK
# CASE: identify, silent, read-buffer, upload or pulled-line. HOST_BUILD is a Linux build
# folder with sim/vksim and cli/vkctl; WORK a scratch folder of this case's own.
set -euo pipefail

case_name=$1 wine_run=$2 wine_dir=$3 vkctl_exe=$4 host_build=$5 work=$6
vksim=$host_build/sim/vksim
vkctl=$host_build/cli/vkctl

rm -rf "$work"
mkdir -p "$work/ports"
export KORVEL_PORT_DIR=$work/ports

sim_pid=""
stop_sim() {
    if [ -n "$sim_pid" ]; then
        kill -TERM "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
        sim_pid=""
    fi
}
trap stop_sim EXIT

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# Starts vksim with the given options on COM1 of the port folder and points the prefix's
# COM1 at its terminal. Its messages go to $work/sim.err.
start_sim() {
    coproc SIM { exec "$vksim" --com 1 "$@" 2>"$work/sim.err"; }
    sim_pid=$SIM_PID
    local com device
    read -r -t 10 com device <&"${SIM[0]}" || fail "vksim did not start: $(cat "$work/sim.err")"
    ln -sfn "$device" "$wine_dir/COM1"
}

# vkctl.exe under Wine on COM1; standard output and error to $work/win.out, win.err.
win_vkctl() {
    "$wine_run" "$wine_dir" "$vkctl_exe" --port COM1 "$@" >"$work/win.out" 2>"$work/win.err"
}

linux_vkctl() {
    "$vkctl" --port COM1 "$@" >"$work/linux.out" 2>"$work/linux.err"
}

ms_since() {
    local now=${EPOCHREALTIME/./}
    echo $(((now - $1) / 1000))
}

same_output() {
    cmp -s "$work/win.out" "$work/linux.out" ||
        fail "$1: vkctl.exe printed other lines than vkctl: $(diff "$work/linux.out" "$work/win.out" | head -n 20)"
}

case $case_name in
identify)
    # One sensor of each check method on the line (the connection tries checksum first),
    # and one that hears only 19200 baud.
    start_sim --sensor address=1 --sensor address=2,crc,model=VKT04 --sensor address=3,baud=19200
    for sensor in "1 checksum 57600" "2 crc 57600" "3 checksum 19200"; do
        read -r address method baud <<<"$sensor"
        win_vkctl --baud "$baud" --address "$address" identify ||
            fail "identify $address: $(cat "$work/win.err")"
        linux_vkctl --baud "$baud" --address "$address" identify || fail "Linux identify $address"
        same_output "identify $address"
        grep -qx "check method: $method" "$work/win.out" || fail "sensor $address is not a $method sensor"
    done
    # At the speed of the others, the third sensor does not hear.
    if win_vkctl --address 3 identify; then fail "sensor 3 answered at 57600 baud"; fi
    ;;
silent)
    # Nobody answers address 9: both check methods are tried, each with its full wait,
    # and the program gives up with status 1, neither at once nor never.
    start_sim
    started=${EPOCHREALTIME/./}
    status=0
    win_vkctl --address 9 identify || status=$?
    elapsed=$(ms_since "$started")
    [ "$status" -eq 1 ] || fail "exit status $status, not 1"
    grep -q "Cannot connect to the sensor" "$work/win.err" || fail "no error line: $(cat "$work/win.err")"
    [ "$(grep -c "GetModelName failed" "$work/win.err")" -eq 2 ] || fail "not both methods tried"
    # Two tries of 1000 ms with their pauses take 2.85 s; Wine's start comes on top.
    [ "$elapsed" -ge 2500 ] || fail "gave up after $elapsed ms, before its time-outs"
    [ "$elapsed" -le 12000 ] || fail "took $elapsed ms"
    echo "silent sensor: exit 1 after $elapsed ms"
    ;;
read-buffer)
    # The whole scan buffer: 8192 ranges in 64 packets, every value exact.
    start_sim
    win_vkctl read-buffer 0 8192 || fail "read-buffer: $(cat "$work/win.err")"
    linux_vkctl read-buffer 0 8192 || fail "Linux read-buffer"
    [ "$(wc -l <"$work/win.out")" -eq 8193 ] || fail "$(wc -l <"$work/win.out") lines"
    same_output "read-buffer"
    ;;
upload)
    # Every byte value, those a text-mode read or XON/XOFF would eat among them (00, 0A,
    # 0D, 11, 13, 1A), in whole XModem blocks so that the sensor keeps the file as it is.
    for ((i = 0; i < 4; ++i)); do
        for ((b = 0; b < 256; ++b)); do printf "\\x$(printf %02x $(((b * 7 + i) % 256)))"; done
    done >"$work/table.cal"
    [ "$(wc -c <"$work/table.cal")" -eq 1024 ] || fail "test file not 1024 bytes"
    start_sim
    win_vkctl upload cal "$work/table.cal" || fail "upload: $(cat "$work/win.err")"
    linux_vkctl upload cal "$work/table.cal" || fail "Linux upload"
    stop_sim
    same_output "upload"
    mapfile -t received < <(grep "calibration image received" "$work/sim.err")
    [ "${#received[@]}" -eq 2 ] || fail "the sensor did not take both uploads: $(cat "$work/sim.err")"
    [[ "${received[0]}" == *", 1024 bytes, CRC-16 0x"* ]] || fail "${received[0]}"
    [ "${received[0]}" = "${received[1]}" ] ||
        fail "vkctl.exe delivered other bytes than vkctl: ${received[0]} / ${received[1]}"
    ;;
pulled-line)
    # The simulator goes away while the buffer is being read at the wire's own pace: an
    # error line and status 1 soon after, never a hang; the ranges printed are right.
    start_sim --pace
    linux_vkctl read-buffer 0 8192 || fail "Linux read-buffer"
    "$wine_run" "$wine_dir" "$vkctl_exe" --port COM1 --trace read-buffer 0 8192 \
        >"$work/win.out" 2>"$work/win.err" &
    reader=$!
    portions() { grep -c "RX .*GetScanBufferPortion" "$work/win.err" || true; }
    for ((i = 0; i < 600; ++i)); do
        [ "$(portions)" -ge 16 ] && break
        kill -0 "$reader" 2>/dev/null || break
        sleep 0.05
    done
    [ "$(portions)" -ge 16 ] || fail "the read did not get going: $(tail -n 5 "$work/win.err")"
    kill -KILL "$sim_pid"
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=""
    pulled=${EPOCHREALTIME/./}
    status=0
    wait "$reader" || status=$?
    elapsed=$(ms_since "$pulled")
    [ "$status" -eq 1 ] || fail "exit status $status, not 1"
    grep -q "^Command GetScanBufferPortion failed" "$work/win.err" ||
        fail "no error line: $(tail -n 5 "$work/win.err")"
    # A port that went away, not a sensor that fell silent.
    grep -Eq "(ReadFile|WriteFile|FlushFileBuffers) failed" "$work/win.err" ||
        fail "the lost port is not named: $(tail -n 3 "$work/win.err")"
    [ "$elapsed" -le 5000 ] || fail "ended $elapsed ms after the line went"
    lines=$(wc -l <"$work/win.out")
    [ "$lines" -lt 8193 ] || fail "the whole buffer came although the line went"
    head -n "$lines" "$work/linux.out" | cmp -s - "$work/win.out" || fail "the ranges printed are not right"
    echo "pulled line: exit 1 $elapsed ms after the simulator went, $((lines - 1)) ranges printed, all right"
    grep "^Command GetScanBufferPortion failed" "$work/win.err"
    ;;
*)
    fail "no case $case_name"
    ;;
esac
