#!/usr/bin/env python3
"""Subscribes a listener to indications of a CIMOM, as a console would (Python 3 standard library).

Creates, by CIM-XML CreateInstance in root/interop, a CIM_IndicationFilter with the given WQL
query on root/orvcim, a CIM_ListenerDestinationCIMXML for the listener's URL, and a
CIM_IndicationSubscription of the two, leaving out the keys the CIMOM fills in. Prints the
subscription's instance name (CIM-XML) and exits 0, or prints the CIMOM's error and exits 1.

Usage: subscription_client.py --port PORT --listener URL --query WQL [--name NAME]
"""

import argparse
import http.client
import sys
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape, quoteattr

INTEROP = "root/interop"


def namespace_path(name):
    parts = "".join('<NAMESPACE NAME=%s/>' % quoteattr(p) for p in name.split("/"))
    return "<LOCALNAMESPACEPATH>%s</LOCALNAMESPACEPATH>" % parts


def create_instance_body(instance_xml):
    return ('<?xml version="1.0" encoding="utf-8" ?>'
            '<CIM CIMVERSION="2.0" DTDVERSION="2.0"><MESSAGE ID="1" PROTOCOLVERSION="1.0">'
            '<SIMPLEREQ><IMETHODCALL NAME="CreateInstance">%s'
            '<IPARAMVALUE NAME="NewInstance">%s</IPARAMVALUE>'
            '</IMETHODCALL></SIMPLEREQ></MESSAGE></CIM>' % (namespace_path(INTEROP), instance_xml))


def prop(name, value, cim_type="string"):
    return '<PROPERTY NAME=%s TYPE="%s"><VALUE>%s</VALUE></PROPERTY>' % (
        quoteattr(name), cim_type, escape(value))


def prop_array(name, values):
    items = "".join("<VALUE>%s</VALUE>" % escape(v) for v in values)
    return '<PROPERTY.ARRAY NAME=%s TYPE="string"><VALUE.ARRAY>%s</VALUE.ARRAY></PROPERTY.ARRAY>' % (
        quoteattr(name), items)


def prop_reference(name, instance_name):
    return '<PROPERTY.REFERENCE NAME=%s><VALUE.REFERENCE>%s</VALUE.REFERENCE></PROPERTY.REFERENCE>' % (
        quoteattr(name), instance_name)


def create(port, class_name, properties):
    """CreateInstance; the INSTANCENAME the CIMOM answers, as XML text."""
    body = create_instance_body(
        "<INSTANCE CLASSNAME=%s>%s</INSTANCE>" % (quoteattr(class_name), "".join(properties)))
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
    connection.request("POST", "/cimom", body.encode("utf-8"), {
        "Content-Type": 'application/xml; charset="utf-8"',
        "CIMOperation": "MethodCall",
        "CIMMethod": "CreateInstance",
        "CIMObject": INTEROP,
    })
    answer = connection.getresponse().read()
    connection.close()
    root = ET.fromstring(answer)
    error = root.find(".//ERROR")
    if error is not None:
        raise RuntimeError("CreateInstance %s: %s %s" % (
            class_name, error.get("CODE"), error.get("DESCRIPTION")))
    name = root.find(".//IRETURNVALUE/INSTANCENAME")
    if name is None:
        raise RuntimeError("CreateInstance %s: no instance name in %r" % (class_name, answer))
    return ET.tostring(name, encoding="unicode")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, required=True, help="the CIMOM's HTTP port")
    parser.add_argument("--listener", required=True, help="the listener's http:// URL")
    parser.add_argument("--query", required=True, help="the filter's WQL query")
    parser.add_argument("--name", default="e2e", help="names the filter and the destination")
    args = parser.parse_args()
    try:
        query_filter = create(args.port, "CIM_IndicationFilter", [
            prop("Name", args.name), prop("Query", args.query), prop("QueryLanguage", "WQL"),
            prop_array("SourceNamespaces", ["root/orvcim"])])
        destination = create(args.port, "CIM_ListenerDestinationCIMXML", [
            prop("Name", args.name), prop("Destination", args.listener),
            prop("PersistenceType", "3", "uint16")])
        subscription = create(args.port, "CIM_IndicationSubscription", [
            prop_reference("Filter", query_filter), prop_reference("Handler", destination)])
    except (OSError, RuntimeError, ET.ParseError) as error:
        print(error, file=sys.stderr)
        return 1
    print(subscription)
    return 0


if __name__ == "__main__":
    sys.exit(main())
