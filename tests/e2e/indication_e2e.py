"""End-to-end tests of the indication service: cimp-cimom on a free loopback port with a private
copy of the example platform, subscribed to with cim_client as common clients do, delivering to
indication_listener.py. One TestCase per group; CTest runs each group as its own test.

Environment (set by CTest): CIMP_CIMOM, CIMP_PLATFORM_TOOL (cimp-platform),
CIMP_EXAMPLE_PLATFORM (examples/platform).
"""

import glob
import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.request

from cim_client import CIMError, Connection, Instance, InstanceName, uint16, uint32

HERE = os.path.dirname(os.path.abspath(__file__))
GATE_QUERY = "SELECT * FROM CIM_InstIndication WHERE SourceInstance ISA Vesk_AssociatedTOvPassthru"
WAIT = 20  # seconds any awaited event may take before the test gives up on it
CIM_ERR_FAILED, CIM_ERR_INVALID_PARAMETER, CIM_ERR_NOT_FOUND, CIM_ERR_NOT_SUPPORTED = 1, 4, 6, 7
CIM_ERR_ALREADY_EXISTS = 11
CIM_ERR_QUERY_LANGUAGE_NOT_SUPPORTED, CIM_ERR_INVALID_QUERY = 14, 15
CIM_ERR_SERVER_LIMITS_EXCEEDED = 27


def wait_until(what, condition):
    deadline = time.monotonic() + WAIT
    while not condition():
        if time.monotonic() > deadline:
            raise AssertionError("gave up waiting for " + what)
        time.sleep(0.05)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Daemon:
    """cimp-cimom on port 0 over the platform copy in `work`, with a log of its own there."""

    def __init__(self, work, *options):
        self.platform = os.path.join(work, "platform")
        if not os.path.isdir(self.platform):
            shutil.copytree(os.environ["CIMP_EXAMPLE_PLATFORM"], self.platform)
        command = [os.environ["CIMP_CIMOM"], "--port", "0", "--platform-root", self.platform,
                   "--lifecycle-poll-interval", "1", *options]
        handle, self.log = tempfile.mkstemp(prefix="daemon-", suffix=".log", dir=work)
        with os.fdopen(handle, "w") as log:
            self.process = subprocess.Popen(command, stdout=log, stderr=log)
        listening = re.compile(r"^listening on 127\.0\.0\.1:(\d+)$", re.M)
        wait_until("the daemon to listen", lambda: listening.search(self.text()) or
                   self.process.poll() is not None)
        found = listening.search(self.text())
        if not found:
            raise AssertionError("daemon did not start:\n" + self.text())
        self.port = int(found.group(1))

    def text(self):
        with open(self.log) as log:
            return log.read()

    def connection(self, **login):
        return Connection(self.port, **login)

    def platform_tool(self, *args):
        subprocess.run([os.environ["CIMP_PLATFORM_TOOL"], "--root", self.platform, *args],
                       check=True, stdout=subprocess.DEVNULL)

    def set_role(self, role):
        self.platform_tool("set-role", str(role))

    def stop(self):
        """SIGTERM; the daemon must be gone, with status 0, within WAIT seconds."""
        if self.process.poll() is not None:
            return
        self.process.send_signal(signal.SIGTERM)
        try:
            status = self.process.wait(WAIT)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise AssertionError("daemon still running after SIGTERM")
        if status != 0:
            raise AssertionError("daemon exited with %d:\n%s" % (status, self.text()[-4000:]))


class Listener:
    """indication_listener.py with `options`; records() are the indications it took."""

    def __init__(self, work, *options, port=0):
        handle, self.out = tempfile.mkstemp(suffix=".jsonl", dir=work)
        os.close(handle)
        self.process = subprocess.Popen(
            [sys.executable, os.path.join(HERE, "indication_listener.py"), "--port", str(port),
             "--out", self.out, *options], stdout=subprocess.PIPE, text=True)
        self.port = int(self.process.stdout.readline().split()[-1])
        self.url = "http://127.0.0.1:%d" % self.port

    def records(self):
        with open(self.out) as out:
            return [json.loads(line) for line in out if line.endswith("\n")]

    def wait_for(self, count):
        wait_until("%d indications at %s" % (count, self.url),
                   lambda: len(self.records()) >= count)
        return self.records()

    def stop(self):
        self.process.kill()
        self.process.wait()
        self.process.stdout.close()


def gate_filter(name=None, query=GATE_QUERY, language="WQL"):
    props = {"Query": query, "QueryLanguage": language, "SourceNamespaces": ["root/orvcim"]}
    return Instance("CIM_IndicationFilter", dict(props, Name=name) if name else props)


def subscribe(conn, url, name, persistence=2, handler="CIM_ListenerDestinationCIMXML"):
    """Filter, destination and subscription as common clients create them; their paths."""
    filter_path = conn.CreateInstance(gate_filter(name))
    destination = conn.CreateInstance(Instance(handler, {
        "Name": name, "Destination": url, "PersistenceType": uint16(persistence)}))
    subscription = conn.CreateInstance(Instance("CIM_IndicationSubscription", {
        "Filter": filter_path, "Handler": destination}))
    return filter_path, destination, subscription


def names(conn, class_name):
    return sorted(n.key("Name") for n in conn.EnumerateInstanceNames(class_name))


class DaemonTestCase(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="cimp-e2e-ind.")
        self.addCleanup(shutil.rmtree, self.work, ignore_errors=True)
        self.daemons = []
        self.faults = self.fault_count()

    def fault_count(self):
        result = self._outcome.result
        return len(result.failures) + len(result.errors)

    def tearDown(self):
        if self.fault_count() > self.faults and self.daemons:
            sys.stderr.write("--- daemon log\n" + self.daemons[-1].text()[-4000:])

    def file(self, name):
        return os.path.join(self.work, name)

    def daemon(self, *options):
        daemon = Daemon(self.work, *options)
        self.daemons.append(daemon)
        self.addCleanup(daemon.stop)
        return daemon

    def listener(self, *options, port=0):
        listener = Listener(self.work, *options, port=port)
        self.addCleanup(listener.stop)
        return listener

    def assertCIMError(self, code, call, *args, mentions=None):
        with self.assertRaises(CIMError) as raised:
            call(*args)
        self.assertEqual(raised.exception.code, code, raised.exception.description)
        if mentions:
            self.assertIn(mentions, raised.exception.description)

    def gate_cycle(self, daemon, listener, seen):
        """Closes and opens the gate, waiting for each indication at `listener`."""
        daemon.set_role(0)
        listener.wait_for(seen + 1)
        daemon.set_role(1)
        return listener.wait_for(seen + 2)


def service(conn):
    return conn.EnumerateInstanceNames("CIM_IndicationService")[0]


def set_retries(conn, attempts, interval):
    conn.ModifyInstance(service(conn), {"DeliveryRetryAttempts": uint16(attempts),
                                        "DeliveryRetryInterval": uint32(interval)})


def settle():
    """The first poll after a subscription only records what is there: let it happen."""
    time.sleep(2)


class Lifecycle(DaemonTestCase):
    def test_gate_closed_and_opened(self):
        daemon = self.daemon()
        listener = self.listener()
        conn = daemon.connection()
        filter_path, destination, subscription = subscribe(conn, listener.url, "console-gate")
        self.assertEqual(conn.GetInstance(destination).properties["PersistenceType"], "2")
        self.assertEqual(conn.GetInstance(subscription).properties["SubscriptionState"], "2")
        self.assertEqual(conn.GetInstance(filter_path).properties["Query"], GATE_QUERY)
        settle()
        # A failing read of the gate is no deletion.
        daemon.platform_tool("fail", "dscv/FspRole", "0x51A00007")
        wait_until("a failing poll", lambda: "nothing reported" in daemon.text())
        daemon.platform_tool("clear", "--all")
        wait_until("a working poll", lambda: "works again" in daemon.text())
        self.assertEqual(listener.records(), [])  # nor is what was there before

        deletion, creation = self.gate_cycle(daemon, listener, 0)
        self.assertEqual(deletion["className"], "CIM_InstDeletion")
        self.assertEqual(creation["className"], "CIM_InstCreation")
        for indication in (deletion, creation):
            props = indication["properties"]
            self.assertEqual(props["SourceInstance"]["className"], "Vesk_AssociatedTOvPassthru")
            self.assertEqual(props["SourceInstance"]["properties"]["UserOfService"]["keys"]["MTMS"],
                             "9119.MHE.10ABCDE")
            self.assertIn("Vesk_AssociatedTOvPassthru.", props["SourceInstanceModelPath"])
            self.assertTrue(props["IndicationIdentifier"] and props["IndicationTime"])
        self.assertEqual(deletion["properties"]["SequenceContext"],
                         creation["properties"]["SequenceContext"])
        self.assertEqual([int(i["properties"]["SequenceNumber"]) for i in (deletion, creation)],
                         [0, 1])

        # Disabled, it delivers nothing; deleting it keeps the filter and the destination.
        conn.ModifyInstance(subscription, {"SubscriptionState": uint16(4)})
        daemon.set_role(0)
        settle()
        conn.DeleteInstance(subscription)
        self.assertEqual(len(listener.records()), 2)
        conn.GetInstance(filter_path)
        conn.GetInstance(destination)

        # A new daemon start is a new sequence context; the older handler class serves as well.
        daemon.set_role(1)
        second = self.daemon()
        subscribe(second.connection(), listener.url, "again", handler="CIM_IndicationHandlerCIMXML")
        settle()
        later = self.gate_cycle(second, listener, 2)[2]
        self.assertNotEqual(later["properties"]["SequenceContext"],
                            creation["properties"]["SequenceContext"])


class Delivery(DaemonTestCase):
    def test_listener_down_then_up_and_black_hole(self):
        daemon = self.daemon("--delivery-send-timeout", "2", "--delivery-connect-timeout", "2")
        conn = daemon.connection()
        live, hole = self.listener(), self.listener("--black-hole")
        late_port = free_port()
        # A window of 15 retries a second apart: the late listener comes up well within it.
        set_retries(conn, 15, 1)
        subscribe(conn, hole.url, "hole")
        subscribe(conn, "http://127.0.0.1:%d" % late_port, "late")
        subscribe(conn, live.url, "live")
        settle()

        # Three events while one listener is down and one never answers: the live one hears all.
        self.gate_cycle(daemon, live, 0)
        daemon.set_role(0)
        records = live.wait_for(3)
        self.assertEqual([r["className"] for r in records],
                         ["CIM_InstDeletion", "CIM_InstCreation", "CIM_InstDeletion"])
        # ... and requests are served meanwhile.
        self.assertEqual(names(conn, "CIM_IndicationFilter"), ["hole", "late", "live"])
        self.assertEqual(len(conn.EnumerateInstances("CIM_IndicationSubscription")), 3)

        late = self.listener(port=late_port)
        got = late.wait_for(3)
        self.assertEqual([r["className"] for r in got], [r["className"] for r in records])
        self.assertEqual([r["properties"]["SequenceNumber"] for r in got], ["0", "1", "2"])
        daemon.set_role(1)
        self.assertEqual(late.wait_for(4)[3]["className"], "CIM_InstCreation")
        self.assertEqual(live.wait_for(4)[3]["className"], "CIM_InstCreation")
        self.assertEqual(hole.records(), [])
        # What the black hole never took is counted at stop.
        daemon.stop()
        self.assertRegex(daemon.text(), r"\b[1-4] indications were left undelivered at stop")

    def test_refusals_retried_in_order_on_one_connection(self):
        daemon = self.daemon("--delivery-senders", "1")
        conn = daemon.connection()
        set_retries(conn, 5, 1)
        listener = self.listener("--fail", "2")
        subscribe(conn, listener.url, "refusing")
        settle()
        got = self.gate_cycle(daemon, listener, 0)
        self.assertEqual([r["properties"]["SequenceNumber"] for r in got], ["0", "1"])
        self.assertEqual([r["className"] for r in got], ["CIM_InstDeletion", "CIM_InstCreation"])
        self.assertEqual(got[0]["peerPort"], got[1]["peerPort"])  # kept alive


class Dropped(DaemonTestCase):
    def test_given_up_past_the_window(self):
        daemon = self.daemon()
        conn = daemon.connection()
        set_retries(conn, 1, 1)
        filter_path = conn.CreateInstance(gate_filter("dead"))
        dead = conn.CreateInstance(Instance("CIM_ListenerDestinationCIMXML", {
            "Name": "dead", "Destination": "http://127.0.0.1:%d/" % free_port()}))
        subscription = conn.CreateInstance(Instance("CIM_IndicationSubscription", {
            "Filter": filter_path, "Handler": dead, "OnFatalErrorPolicy": uint16(3)}))
        settle()
        before = int(time.time())
        daemon.set_role(0)
        wait_until("the subscription to be disabled", lambda: conn.GetInstance(
            subscription).properties["SubscriptionState"] == "4")
        failed_at = int(conn.GetInstance(subscription).properties["DeliveryFailureTime"])
        self.assertTrue(before <= failed_at <= time.time(), failed_at)
        self.assertRegex(daemon.text(), r'Name="dead" dropped after 1 retries')
        metrics = urllib.request.urlopen("http://127.0.0.1:%d/metrics" % daemon.port).read()
        self.assertIn(b'cimp_indications_total{outcome="dropped"} 1', metrics)
        self.assertIn(b'cimp_indications_total{outcome="retried"} 1', metrics)

    def test_https_listener_certificate_checked(self):
        for name in ("trusted", "stranger"):
            subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days",
                            "1", "-subj", "/CN=localhost", "-addext",
                            "subjectAltName=IP:127.0.0.1", "-keyout", self.file(name + ".key"),
                            "-out", self.file(name + ".pem")], check=True, capture_output=True)
        daemon = self.daemon("--delivery-ca-file", self.file("trusted.pem"))
        conn = daemon.connection()
        set_retries(conn, 0, 1)
        listeners = {}
        for name in ("trusted", "stranger"):
            listeners[name] = self.listener("--tls-cert", self.file(name + ".pem"),
                                            "--tls-key", self.file(name + ".key"))
            subscribe(conn, listeners[name].url.replace("http:", "https:"), name)
        settle()
        daemon.set_role(0)
        self.assertEqual(listeners["trusted"].wait_for(1)[0]["className"], "CIM_InstDeletion")
        wait_until("the stranger's indication to be dropped",
                   lambda: 'Name="stranger" dropped' in daemon.text())
        self.assertEqual(listeners["stranger"].records(), [])


class State(DaemonTestCase):
    def test_restart_keeps_permanent_subscriptions(self):
        state = os.path.join(self.work, "state")
        kept_name = 'pywbemfilter:e2e:"kept" \\ <&>'  # as an owning client names it, and worse
        listener = self.listener()
        daemon = self.daemon("--state-dir", state)
        conn = daemon.connection()
        self.assertEqual(conn.GetInstance(service(conn)).properties["DeliveryRetryInterval"], "20")
        subscribe(conn, listener.url, kept_name)
        _, transient, _ = subscribe(conn, listener.url, "passing", persistence=3)
        set_retries(conn, 4, 7)
        daemon.stop()
        self.assertEqual(os.stat(state).st_mode & 0o777, 0o700)
        self.assertEqual(os.stat(os.path.join(state, "indications.mof")).st_mode & 0o777, 0o600)

        daemon = self.daemon("--state-dir", state)
        conn = daemon.connection()
        self.assertEqual(names(conn, "CIM_IndicationFilter"), sorted([kept_name, "passing"]))
        self.assertEqual(names(conn, "CIM_ListenerDestinationCIMXML"), [kept_name])
        subscriptions = conn.EnumerateInstances("CIM_IndicationSubscription")
        self.assertEqual([s.properties["Handler"].key("Name") for s in subscriptions], [kept_name])
        self.assertEqual(subscriptions[0].properties["Filter"].key("Name"), kept_name)
        self.assertEqual(subscriptions[0].properties["SubscriptionState"], "2")
        retry = conn.GetInstance(service(conn)).properties
        self.assertEqual((retry["DeliveryRetryAttempts"], retry["DeliveryRetryInterval"]),
                         ("4", "7"))
        self.assertCIMError(CIM_ERR_NOT_FOUND, conn.GetInstance, transient)
        # What was read back is at work, and its integrity holds.
        settle()
        daemon.set_role(0)
        self.assertEqual([r["properties"]["IndicationFilterName"] for r in listener.wait_for(1)],
                         [kept_name])
        self.assertCIMError(CIM_ERR_FAILED, conn.DeleteInstance,
                            subscriptions[0].properties["Filter"])

    def test_damaged_state_file_is_set_aside(self):
        state = os.path.join(self.work, "state")
        os.makedirs(state, mode=0o700)
        path = os.path.join(state, "indications.mof")
        with open(path, "w") as damaged:
            damaged.write('instance of CIM_IndicationFilter {\n    Name = "x";\n    Query = ;\n};\n')
        daemon = self.daemon("--state-dir", state)
        conn = daemon.connection()
        self.assertEqual(names(conn, "CIM_IndicationFilter"), [])
        self.assertFalse(os.path.exists(path))
        aside = glob.glob(path + ".damaged-*")
        self.assertEqual(len(aside), 1)
        with open(aside[0]) as kept:
            self.assertIn("Query = ;", kept.read())
        self.assertIn(path + ":3:", daemon.text())
        # It works on: a new filter is kept in a new file.
        subscribe(conn, "http://127.0.0.1:9/", "new")
        self.assertTrue(os.path.exists(path))


class Refusals(DaemonTestCase):
    def test_bad_filters_destinations_references_and_limits(self):
        conn = self.daemon("--max-filters", "2", "--max-destinations", "1").connection()
        bad_filters = [
            ("WQL", "SELECT * FROM", CIM_ERR_INVALID_QUERY, "position"),
            ("WQL", "SELECT * FROM Vesk_NoSuchIndication", CIM_ERR_INVALID_QUERY,
             "Vesk_NoSuchIndication"),
            ("WQL", "SELECT * FROM CIM_InstCreation WHERE SourceInstance ISA Vesk_Nothing",
             CIM_ERR_INVALID_QUERY, "Vesk_Nothing"),
            ("WQL", "SELECT * FROM Vesk_CEC", CIM_ERR_INVALID_QUERY, "Vesk_CEC"),
            ("DMTF:CQL", GATE_QUERY, CIM_ERR_QUERY_LANGUAGE_NOT_SUPPORTED, "DMTF:CQL"),
        ]
        for language, query, code, mentioned in bad_filters:
            with self.subTest(query=query):
                self.assertCIMError(code, conn.CreateInstance, gate_filter("bad", query, language),
                                    mentions=mentioned)
        for url in ("ftp://127.0.0.1/x", "garbage", ""):
            with self.subTest(url=url):
                self.assertCIMError(CIM_ERR_INVALID_PARAMETER, conn.CreateInstance, Instance(
                    "CIM_ListenerDestinationCIMXML", {"Name": "bad", "Destination": url}))
        self.assertEqual(names(conn, "CIM_IndicationFilter"), [])
        self.assertEqual(names(conn, "CIM_ListenerDestinationCIMXML"), [])

        filter_path, destination, subscription = subscribe(conn, "http://127.0.0.1:9/", "one")
        self.assertCIMError(CIM_ERR_ALREADY_EXISTS, subscribe, conn, "http://127.0.0.1:9/", "one")
        missing_filter = InstanceName("CIM_IndicationFilter", dict(
            filter_path.keys, Name="absent"), "root/interop")
        missing_destination = InstanceName("CIM_ListenerDestinationCIMXML", dict(
            destination.keys, Name="absent"), "root/interop")
        for refs in ((missing_filter, destination), (filter_path, missing_destination)):
            self.assertCIMError(CIM_ERR_INVALID_PARAMETER, conn.CreateInstance, Instance(
                "CIM_IndicationSubscription", {"Filter": refs[0], "Handler": refs[1]}),
                mentions="absent")
        for used in (filter_path, destination):
            self.assertCIMError(CIM_ERR_FAILED, conn.DeleteInstance, used)
        self.assertCIMError(CIM_ERR_NOT_SUPPORTED, conn.ModifyInstance, filter_path,
                            {"Query": "SELECT * FROM CIM_InstCreation"})
        self.assertCIMError(CIM_ERR_INVALID_PARAMETER, conn.ModifyInstance, subscription,
                            {"SubscriptionState": uint16(3)})
        self.assertCIMError(CIM_ERR_INVALID_PARAMETER, set_retries, conn, 3, 0)
        self.assertCIMError(CIM_ERR_SERVER_LIMITS_EXCEEDED, conn.CreateInstance, Instance(
            "CIM_IndicationHandlerCIMXML", {"Destination": "http://127.0.0.1:9/"}))

        # The limit: two filters, and a third is refused until one goes.
        second = conn.CreateInstance(gate_filter())
        third = gate_filter("third")
        self.assertCIMError(CIM_ERR_SERVER_LIMITS_EXCEEDED, conn.CreateInstance, third)
        conn.DeleteInstance(second)
        conn.CreateInstance(third)

        # Deleting the subscription frees both ends.
        conn.DeleteInstance(subscription)
        conn.DeleteInstance(filter_path)
        conn.DeleteInstance(destination)
        self.assertEqual(names(conn, "CIM_IndicationFilter"), ["third"])

    def test_authentication_needed_for_changes(self):
        users = os.path.join(self.work, "users")
        subprocess.run([os.environ["CIMP_CIMOM"], "passwd", users, "alice"], input=b"secret-1\n",
                       check=True)
        daemon = self.daemon("--auth-file", users)
        anonymous, alice = daemon.connection(), daemon.connection(user="alice", password="secret-1")
        self.assertCIMError(0, subscribe, anonymous, "http://127.0.0.1:9/", "anon",
                            mentions="HTTP 401")
        wrong = daemon.connection(user="alice", password="wrong")
        self.assertCIMError(0, subscribe, wrong, "http://127.0.0.1:9/", "wrong",
                            mentions="HTTP 401")
        _, _, subscription = subscribe(alice, "http://127.0.0.1:9/", "alice")
        self.assertCIMError(0, anonymous.DeleteInstance, subscription, mentions="HTTP 401")
        self.assertEqual(names(alice, "CIM_IndicationFilter"), ["alice"])


if __name__ == "__main__":
    unittest.main()
