#!/usr/bin/env python3
"""The printer application's start, memory and a job's latency from IPP to the device, on a
free loopback port with the capture device. Usage: bench_printer_app.py PATH-TO-orvel-printer-app"""

import os
import socket
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests",
                                "printerapp"))
os.environ["ORVEL_PRINTER_APP"] = os.path.abspath(sys.argv[1])
import orvel_app  # noqa: E402

starts = []
for _ in range(5):
    began = time.monotonic()
    app = orvel_app.AppServer(printer=None)
    starts.append(time.monotonic() - began)
    app.stop()

app = orvel_app.AppServer()
try:
    with open("/proc/%d/status" % app.proc.pid) as status:
        rss = [line for line in status if line.startswith("VmRSS")][0].split()[1]
    job = orvel_app.write_file(app.root, "job.prn", b"\x1b@latency\x0c")
    test = os.path.join(app.root, "print.test")
    with open(test, "w") as out:
        out.write(orvel_app.ipp_request(
            "Print-Job", ["ATTR name requesting-user-name bench",
                          "ATTR mimeMediaType document-format application/vnd.varnet-orvel-escp",
                          "FILE $filename"]))
    latencies = []
    for i in range(10):
        began = time.monotonic()
        subprocess.run(["ipptool", "-f", job, app.uri(), test], check=True, timeout=30,
                       capture_output=True)
        app.wait_for_captures(i + 1)
        latencies.append(time.monotonic() - began)
finally:
    app.stop()
print("start until the port answers: median %.0f ms (of %d)" % (
    sorted(starts)[len(starts) // 2] * 1000, len(starts)))
print("resident memory with one printer: %s kB" % rss)
print("Print-Job by ipptool to the job's file complete: median %.0f ms, max %.0f ms (of %d)" % (
    sorted(latencies)[len(latencies) // 2] * 1000, max(latencies) * 1000, len(latencies)))
