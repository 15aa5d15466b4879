"""End-to-end tests of the alert provider in cimp-cimom, loaded from the default registrations: a
subscriber to CIM_AlertIndication receives one Vesk_AlertIndication per error-log entry, whether
a request's platform read failed or an entry was committed by hand, and a burst of 1,000 in the
order committed, none lost or repeated. The harness (daemon, listener) is indication_e2e.py's.

Environment (set by CTest): CIMP_CIMOM, CIMP_PLATFORM_TOOL (cimp-platform),
CIMP_EXAMPLE_PLATFORM (examples/platform).
"""

import unittest

from cim_client import CIMError, Connection, Instance, uint16
from indication_e2e import DaemonTestCase, wait_until

SERIAL = "svpd/Raw_MachineSerialNumber"


def alerts(listener, prefix):
    """(ErrlKey, ErrlReturnCode) of each alert received whose key starts with `prefix`."""
    found = []
    for record in listener.records():
        properties = record["properties"]
        key = properties.get("ErrlKey") or ""
        if record["className"] == "Vesk_AlertIndication" and key.startswith(prefix):
            found.append((key, properties.get("ErrlReturnCode")))
    return found


class Alerts(DaemonTestCase):
    def subscribed(self):
        """A daemon, and a listener subscribed to every alert of root/orvcim."""
        daemon, listener = self.daemon("--quiet"), self.listener()
        conn = daemon.connection()
        query_filter = conn.CreateInstance(Instance("CIM_IndicationFilter", {
            "Name": "alerts", "Query": "SELECT * FROM CIM_AlertIndication",
            "QueryLanguage": "WQL", "SourceNamespaces": ["root/orvcim"]}))
        destination = conn.CreateInstance(Instance("CIM_ListenerDestinationCIMXML", {
            "Name": "alerts", "Destination": listener.url, "PersistenceType": uint16(3)}))
        conn.CreateInstance(Instance("CIM_IndicationSubscription", {
            "Filter": query_filter, "Handler": destination}))
        return daemon, listener

    def await_alerts(self, listener, prefix, count):
        wait_until("%d alerts of %s" % (count, prefix),
                   lambda: len(alerts(listener, prefix)) >= count)
        return alerts(listener, prefix)

    def test_a_request_whose_platform_read_fails_raises_an_alert(self):
        daemon, listener = self.subscribed()
        daemon.platform_tool("fail", SERIAL, "0x1234")
        served = Connection(daemon.port, namespace="root/orvcim")
        with self.assertRaises(CIMError):
            served.EnumerateInstanceNames("Vesk_AssociatedTOvPassthru")
        received = self.await_alerts(listener, SERIAL, 1)
        self.assertEqual(set(received), {(SERIAL, str(0x1234))})

    def test_an_entry_committed_by_hand_raises_one_alert(self):
        daemon, listener = self.subscribed()
        daemon.platform_tool("errl", "commit", "--rc", "0x51A00042", "--key", "by/hand")
        self.assertEqual(self.await_alerts(listener, "by/hand", 1),
                         [("by/hand", str(0x51A00042))])
        daemon.platform_tool("errl", "commit", "--key", "after")
        self.await_alerts(listener, "after", 1)
        self.assertEqual(len(alerts(listener, "by/hand")), 1)

    def test_a_burst_of_1000_entries_arrives_in_order(self):
        daemon, listener = self.subscribed()
        for n in range(1, 1001):
            daemon.platform_tool("errl", "commit", "--key", "burst/%04d" % n)
        daemon.platform_tool("errl", "commit", "--key", "burst-end")
        # Delivered in order: once the entry after the burst is in, all of the burst is.
        self.await_alerts(listener, "burst-end", 1)
        self.assertEqual([key for key, _ in alerts(listener, "burst/")],
                         ["burst/%04d" % n for n in range(1, 1001)])


if __name__ == "__main__":
    unittest.main()
