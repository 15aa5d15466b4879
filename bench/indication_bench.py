#!/usr/bin/env python3
"""Indication benchmarks against a running cimp-cimom (Release build), with the tests' CIM client
and listener (tests/e2e). Subcommands:

  latency BUILD      From `cimp-platform set-role` to the listener's receipt of the lifecycle
                     indication it causes, over --flips gate changes, at a 1 s poll interval.
  memory BUILD       The daemon's resident memory before and after 100 subscriptions (each with
                     its own filter and destination, all to a listener that never answers) and
                     1,000 indications queued for them.
  alerts BUILD       From an error-log commit (`cimp-platform errl commit`, the alert's
                     IndicationTime) to the listener's receipt of the alert, over --commits
                     entries committed one at a time; the receipt is seen by polling the
                     listener's output every millisecond, so figures may be up to 1 ms high.
  subscribe PORT N   Creates N lifecycle subscriptions of the gate on the daemon at PORT, to a
                     listener address nothing answers at, and exits (bench/host_load.sh uses it
                     for CIMP_BENCH_SUBSCRIPTIONS).

Usage: bench/indication_bench.py latency build-release [--flips 20]
       bench/indication_bench.py alerts build-release [--commits 500]
"""

import argparse
import calendar
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.request

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))

from cim_client import Connection, Instance, uint16  # noqa: E402

GATE_QUERY = "SELECT * FROM CIM_InstIndication WHERE SourceInstance ISA Vesk_AssociatedTOvPassthru"
ALERT_QUERY = "SELECT * FROM Vesk_AlertIndication"


def subscribe(conn, url, name, query=GATE_QUERY):
    filter_path = conn.CreateInstance(Instance("CIM_IndicationFilter", {
        "Name": name, "Query": query, "QueryLanguage": "WQL",
        "SourceNamespaces": ["root/orvcim"]}))
    destination = conn.CreateInstance(Instance("CIM_ListenerDestinationCIMXML", {
        "Name": name, "Destination": url, "PersistenceType": uint16(2)}))
    conn.CreateInstance(Instance("CIM_IndicationSubscription", {
        "Filter": filter_path, "Handler": destination}))


def wait_until(what, condition, seconds=30, poll=0.002):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            sys.exit("gave up waiting for " + what)
        time.sleep(poll)


def cim_datetime_seconds(text):
    """Seconds since 1970 of a CIM datetime (yyyymmddhhmmss.mmmmmmsutc)."""
    moment = calendar.timegm(time.strptime(text[:14], "%Y%m%d%H%M%S")) + int(text[15:21]) / 1e6
    return moment - int(text[21:]) * 60


class Setup:
    """A daemon over a private platform copy, and the tests' listener; stopped on exit."""

    def __init__(self, build, *listener_options):
        self.work = tempfile.mkdtemp(prefix="cimp-indication-bench.")
        self.platform = os.path.join(self.work, "platform")
        shutil.copytree(os.path.join(REPO, "examples", "platform"), self.platform)
        self.tool = os.path.join(build, "tools", "cimp-platform", "cimp-platform")
        self.out = os.path.join(self.work, "received.jsonl")
        self.listener = subprocess.Popen(
            [sys.executable, os.path.join(REPO, "tests", "e2e", "indication_listener.py"),
             "--port", "0", "--out", self.out, *listener_options],
            stdout=subprocess.PIPE, text=True)
        self.url = "http://127.0.0.1:%s" % self.listener.stdout.readline().split()[-1]
        log = os.path.join(self.work, "daemon.log")
        with open(log, "w") as sink:
            self.daemon = subprocess.Popen(
                [os.path.join(build, "cimom", "daemon", "cimp-cimom"), "--port", "0", "--quiet",
                 "--platform-root", self.platform, "--lifecycle-poll-interval", "1"],
                stdout=sink, stderr=sink)
        found = []
        wait_until("the daemon to listen", lambda: found.extend(re.findall(
            r"^listening on 127\.0\.0\.1:(\d+)$", open(log).read(), re.M)) or found)
        self.port = int(found[0])
        self.conn = Connection(self.port)

    def received(self):
        if not os.path.exists(self.out):
            return 0
        with open(self.out) as out:
            return sum(1 for _ in out)

    def set_role(self, role):
        subprocess.run([self.tool, "--root", self.platform, "set-role", str(role)], check=True,
                       stdout=subprocess.DEVNULL)

    def rss_kib(self):
        with open("/proc/%d/status" % self.daemon.pid) as status:
            return int(re.search(r"VmRSS:\s+(\d+)", status.read()).group(1))

    def metric(self, name):
        text = urllib.request.urlopen("http://127.0.0.1:%d/metrics" % self.port).read().decode()
        return int(float(re.search(r"^%s (\S+)$" % re.escape(name), text, re.M).group(1)))

    def close(self):
        for process in (self.daemon, self.listener):
            process.kill()
            process.wait()
        self.listener.stdout.close()
        shutil.rmtree(self.work)


def latency(args):
    setup = Setup(args.build)
    try:
        subscribe(setup.conn, setup.url, "bench")
        time.sleep(2.5)  # the first poll only sets the baseline
        samples = []
        for flip in range(args.flips):
            before = setup.received()
            started = time.monotonic()
            setup.set_role(flip % 2)
            wait_until("the indication", lambda: setup.received() > before)
            samples.append((time.monotonic() - started) * 1000)
        samples.sort()
        print("lifecycle latency, poll interval 1000 ms, %d gate changes: median %.0f ms, "
              "max %.0f ms (target: at most 1100 ms)"
              % (len(samples), statistics.median(samples), samples[-1]))
    finally:
        setup.close()


def alerts(args):
    setup = Setup(args.build)
    try:
        subscribe(setup.conn, setup.url, "bench", ALERT_QUERY)
        samples = []
        for n in range(args.commits):
            subprocess.run([setup.tool, "--root", setup.platform, "errl", "commit", "--key",
                            "bench/%d" % n], check=True, stdout=subprocess.DEVNULL)
            wait_until("the alert", lambda: setup.received() > n, poll=0.001)
            received = time.time()
            with open(setup.out) as out:
                alert = json.loads(out.readlines()[n])
            committed = cim_datetime_seconds(alert["properties"]["IndicationTime"])
            samples.append((received - committed) * 1000)
        samples.sort()
        print("alert latency, commit to the listener's receipt, %d entries: median %.1f ms, "
              "p99 %.1f ms, max %.1f ms (target: p99 within 20 ms)"
              % (len(samples), statistics.median(samples),
                 samples[int(len(samples) * 0.99) - 1], samples[-1]))
    finally:
        setup.close()


def memory(args):
    setup = Setup(args.build, "--black-hole")
    try:
        time.sleep(0.5)
        before = setup.rss_kib()
        for n in range(100):
            subscribe(setup.conn, setup.url, "bench%d" % n)
        time.sleep(2.5)
        for flip in range(10):  # each change is one indication per subscription
            setup.set_role(flip % 2)
            time.sleep(1.2)
        wait_until("1,000 queued", lambda: setup.metric("cimp_indication_queue_depth") >= 990)
        after = setup.rss_kib()
        print("100 subscriptions, %d indications queued: +%.1f MB resident (target: at most 5 MB)"
              % (setup.metric("cimp_indication_queue_depth"), (after - before) / 1024))
    finally:
        setup.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    commands = parser.add_subparsers(dest="command", required=True)
    run = commands.add_parser("latency")
    run.add_argument("build")
    run.add_argument("--flips", type=int, default=20)
    run.set_defaults(action=latency)
    run = commands.add_parser("alerts")
    run.add_argument("build")
    run.add_argument("--commits", type=int, default=500)
    run.set_defaults(action=alerts)
    run = commands.add_parser("memory")
    run.add_argument("build")
    run.set_defaults(action=memory)
    run = commands.add_parser("subscribe")
    run.add_argument("port", type=int)
    run.add_argument("count", type=int)
    run.set_defaults(action=lambda a: [subscribe(Connection(a.port), "http://127.0.0.1:9/",
                                                 "bench%d" % n) for n in range(a.count)])
    args = parser.parse_args()
    args.build = os.path.abspath(getattr(args, "build", "."))
    args.action(args)


if __name__ == "__main__":
    main()
