#!/usr/bin/env python3
"""A CIM-XML indication listener for the tests (Python 3 standard library only).

Takes ExportIndication requests as common listeners do (POST, CIMExport: MethodRequest,
CIMExportMethod: ExportIndication, application/xml or text/xml in UTF-8, CIM > MESSAGE >
SIMPLEEXPREQ > EXPMETHODCALL > EXPPARAMVALUE NewIndication > INSTANCE), answers 200 with
CIMExport: MethodResponse, and appends each indication to --out as one JSON line:
{"className": ..., "properties": {name: value}, "peerPort": N} where a value is a string, a list of strings,
null, a reference's {"className", "keys"}, or an embedded instance decoded the same way.
A request it cannot read gets 400 with a CIMError header, as those listeners answer.

Modes for tests: --fail N answers the first N indications with an error (in a 200 whose
EXPMETHODRESPONSE holds an ERROR); --black-hole reads requests and never answers;
--tls-cert and --tls-key make it an HTTPS listener.
Prints "listening on PORT" on stdout when ready. Binds 127.0.0.1 only.
"""

import argparse
import json
import ssl
import sys
import threading
import time
import xml.etree.ElementTree as ET
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

MAX_BODY = 4 * 1024 * 1024


class BadRequest(Exception):
    pass


def reference(element):
    name = element.find(".//INSTANCENAME")
    if name is None:
        return None
    keys = {}
    for binding in name.findall("KEYBINDING"):
        value = binding.find("KEYVALUE")
        keys[binding.get("NAME")] = value.text if value is not None else None
    return {"className": name.get("CLASSNAME"), "keys": keys}


def embedded(text):
    try:
        return instance(ET.fromstring(text))
    except ET.ParseError as error:
        raise BadRequest("embedded instance: %s" % error)


def property_value(prop):
    if prop.tag == "PROPERTY.REFERENCE":
        return reference(prop)
    if prop.tag == "PROPERTY.ARRAY":
        array = prop.find("VALUE.ARRAY")
        return None if array is None else [v.text or "" for v in array.findall("VALUE")]
    value = prop.find("VALUE")
    if value is None:
        return None
    text = value.text or ""
    kind = prop.get("EmbeddedObject") or prop.get("EMBEDDEDOBJECT")
    return embedded(text) if kind == "instance" and text else text


def instance(element):
    if element.tag != "INSTANCE":
        raise BadRequest("expected INSTANCE, found %s" % element.tag)
    properties = {}
    for prop in element:
        if prop.tag in ("PROPERTY", "PROPERTY.ARRAY", "PROPERTY.REFERENCE"):
            properties[prop.get("NAME")] = property_value(prop)
    return {"className": element.get("CLASSNAME"), "properties": properties}


def indication_of(body):
    try:
        root = ET.fromstring(body)
    except ET.ParseError as error:
        raise BadRequest("not XML: %s" % error)
    message = root.find("MESSAGE")
    call = None if message is None else message.find("SIMPLEEXPREQ/EXPMETHODCALL")
    if root.tag != "CIM" or call is None or call.get("NAME") != "ExportIndication":
        raise BadRequest("not an ExportIndication request")
    param = call.find("EXPPARAMVALUE")
    if param is None or param.get("NAME") != "NewIndication" or len(param) != 1:
        raise BadRequest("needs one EXPPARAMVALUE NewIndication")
    return message.get("ID"), instance(param[0])


def answer_body(message_id, error):
    inner = '<ERROR CODE="1" DESCRIPTION="refused for the test"/>' if error else ""
    return ('<?xml version="1.0" encoding="utf-8" ?>\n<CIM CIMVERSION="2.0" DTDVERSION="2.0">'
            '<MESSAGE ID="%s" PROTOCOLVERSION="1.0"><SIMPLEEXPRSP>'
            '<EXPMETHODRESPONSE NAME="ExportIndication">%s</EXPMETHODRESPONSE>'
            '</SIMPLEEXPRSP></MESSAGE></CIM>' % (message_id or "0", inner)).encode("utf-8")


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"  # keep-alive, as the sender expects
    disable_nagle_algorithm = True  # headers and body go out in two writes

    def log_message(self, *args):
        pass

    def check_headers(self):
        if self.headers.get("CIMExport") != "MethodRequest":
            raise BadRequest("CIMExport is not MethodRequest")
        if self.headers.get("CIMExportMethod") != "ExportIndication":
            raise BadRequest("CIMExportMethod is not ExportIndication")
        if self.headers.get("Accept-Range") is not None:
            raise BadRequest("Accept-Range")
        content_type = (self.headers.get("Content-Type") or "").lower().replace(" ", "")
        media, _, params = content_type.partition(";")
        if media not in ("application/xml", "text/xml"):
            raise BadRequest("content type %s" % media)
        if params and params.replace('"', "") not in ("charset=utf-8",):
            raise BadRequest("charset %s" % params)

    def read_body(self):
        length = int(self.headers.get("Content-Length") or "0")
        if length < 0 or length > MAX_BODY:
            raise BadRequest("body length %d" % length)
        return self.rfile.read(length)

    def refuse(self, why):
        self.send_response(400)
        self.send_header("CIMError", "request-not-well-formed")
        self.send_header("Content-Length", "0")
        self.end_headers()
        self.server.report({"refused": str(why)})

    def do_POST(self):
        try:
            body = self.read_body()
            self.check_headers()
            message_id, indication = indication_of(body)
        except (BadRequest, ValueError) as why:
            self.refuse(why)
            return
        if self.server.black_hole:
            while True:
                time.sleep(3600)
        error = self.server.take_failure()
        if not error:
            indication["peerPort"] = self.client_address[1]  # tells one connection from another
            self.server.report(indication)
        answer = answer_body(message_id, error)
        self.send_response(200)
        self.send_header("CIMExport", "MethodResponse")
        self.send_header("Content-Type", 'application/xml; charset="utf-8"')
        self.send_header("Content-Length", str(len(answer)))
        self.end_headers()
        self.wfile.write(answer)


class Listener(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, port, out, failures, black_hole):
        super().__init__(("127.0.0.1", port), Handler)
        self.out = out
        self.failures = failures
        self.black_hole = black_hole
        self.lock = threading.Lock()

    def take_failure(self):
        with self.lock:
            if self.failures > 0:
                self.failures -= 1
                return True
            return False

    def report(self, record):
        with self.lock:
            self.out.write(json.dumps(record, sort_keys=True) + "\n")
            self.out.flush()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0, help="0 picks a free one")
    parser.add_argument("--out", required=True, help="file the indications are appended to")
    parser.add_argument("--fail", type=int, default=0, metavar="N",
                        help="answer the first N indications with an error")
    parser.add_argument("--black-hole", action="store_true", help="never answer")
    parser.add_argument("--tls-cert", help="PEM certificate: serve HTTPS")
    parser.add_argument("--tls-key", help="its PEM key")
    args = parser.parse_args()
    with open(args.out, "a", encoding="utf-8") as out:
        server = Listener(args.port, out, args.fail, args.black_hole)
        if args.tls_cert:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(args.tls_cert, args.tls_key)
            server.socket = context.wrap_socket(server.socket, server_side=True)
        print("listening on %d" % server.server_address[1], flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
