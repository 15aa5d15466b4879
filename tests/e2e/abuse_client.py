#!/usr/bin/env python3
"""Hostile clients for the end-to-end tests: opens COUNT connections to 127.0.0.1:PORT from
SOURCE (another loopback address, so that the daemon sees a different peer from the test's own
requests), behaves as MODE for at most SECONDS, and prints how many connections the daemon had
closed by then and after how many seconds the last one went.

Modes: idle (connect, send nothing), slow (a request line, then one header byte a second),
gone (half a request, then hang up at once)."""
import socket
import sys
import time

port, mode, count, seconds = int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), float(sys.argv[4])
source = sys.argv[5] if len(sys.argv) > 5 else "127.0.0.2"
start = time.monotonic()
conns = []
for _ in range(count):
    s = socket.socket()
    s.bind((source, 0))
    try:
        s.connect(("127.0.0.1", port))
    except OSError:
        continue
    if mode in ("slow", "gone"):
        s.sendall(b"POST /cimom HTTP/1.1\r\nHost: x\r\n")
    if mode == "gone":
        s.close()
        continue
    s.setblocking(False)
    conns.append(s)

closed = 0
last_close = 0.0
while conns and time.monotonic() - start < seconds:
    still = []
    for s in conns:
        try:
            if mode == "slow":
                s.send(b"X")
            if s.recv(4096) == b"":
                raise ConnectionError
            still.append(s)
        except BlockingIOError:
            still.append(s)
        except OSError:
            closed += 1
            last_close = time.monotonic() - start
            s.close()
    conns = still
    time.sleep(1.0 if mode == "slow" else 0.2)
print(f"closed {closed} last {last_close:.1f}")
