#!/usr/bin/python3
"""vksim --rfc2217 and --tcp driven by pyserial, a client that is not ours.

Usage: vksim_pyserial.py VKSIM. Starts vksim on free ports of 127.0.0.1, asks the
simulated VKT02 for its model name, changes the line's speed through RFC 2217 (the
sensor, still at 57600 baud, must fall silent) and back, and reads the same through the
raw TCP stream, which a sensor at 9600 baud answers too (the server's port is set up for
the sensor's speed). Exits 0 when all holds; 77 (skipped) without python3-serial.
"""
import os
import subprocess
import sys
import tempfile

try:
    import serial
except ImportError:
    print("python3-serial is not installed (scripts/setup installs it)")
    sys.exit(77)


def frame(address, packet_id, payload=b""):
    """A request in the checksum variant."""
    body = bytes([0x02, address, len(payload) + 1, packet_id]) + payload
    return body + bytes([-sum(body) & 0xFF])


GET_MODEL_NAME = 127
MODEL_REPLY = frame(1, GET_MODEL_NAME, b"0 VKT-02".ljust(16, b"\0"))


def serve(vksim, option, folder, *sensor):
    """Starts vksim serving its line at OPTION; returns the process and its URL."""
    process = subprocess.Popen(
        [vksim, "--port-dir", folder, option, "127.0.0.1:0", *sensor],
        stdout=subprocess.PIPE, text=True)
    process.stdout.readline()  # COM1 /dev/pts/N
    url = process.stdout.readline().strip()
    if not url:
        process.wait()
        sys.exit("vksim did not start: status %d" % process.returncode)
    return process, url


def ask_model(port):
    port.reset_input_buffer()
    port.write(frame(1, GET_MODEL_NAME))
    return port.read(len(MODEL_REPLY))


def check(what, got, expected):
    if got != expected:
        sys.exit("%s: got %r, expected %r" % (what, got, expected))


def main():
    vksim = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        process, url = serve(vksim, "--rfc2217", folder)
        try:
            check("url", url.startswith("rfc2217://127.0.0.1:"), True)
            with serial.serial_for_url(url, baudrate=57600, timeout=1) as port:
                check("model at 57600", ask_model(port), MODEL_REPLY)
                port.baudrate = 19200
                check("model at 19200", ask_model(port), b"")
                port.baudrate = 57600
                check("model at 57600 again", ask_model(port), MODEL_REPLY)
        finally:
            process.terminate()
            process.wait()

        process, url = serve(vksim, "--tcp", folder, "--baud", "9600")
        try:
            raw = url.replace("tcp://", "socket://")
            with serial.serial_for_url(raw, timeout=1) as port:
                check("model over tcp", ask_model(port), MODEL_REPLY)
        finally:
            process.terminate()
            process.wait()
    print("pyserial reached the simulated sensor through RFC 2217 and raw TCP")


if __name__ == "__main__":
    main()
