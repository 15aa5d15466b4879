"""A small CIM-XML operations client for the end-to-end tests (Python 3 standard library only).

Sends CreateInstance, GetInstance, EnumerateInstances(Names), ModifyInstance and DeleteInstance
as DSP0200 requests over HTTP. Instances are Instance(className, {name: value}); a value is a
str, a Typed number (uint16(2)), a list of str, or an InstanceName (a reference). Answers
come back in the same shapes, every scalar as its text. A CIM error raises CIMError(code,
description); an HTTP status other than 200 raises CIMError(0, "HTTP <status>").
"""

import base64
import http.client
import itertools
import xml.etree.ElementTree as ET
from collections import namedtuple
from urllib.parse import quote
from xml.sax.saxutils import escape, quoteattr

Instance = namedtuple("Instance", "className properties")
Typed = namedtuple("Typed", "type value")


def uint16(value):
    return Typed("uint16", value)


def uint32(value):
    return Typed("uint32", value)


class InstanceName(namedtuple("InstanceName", "className keys namespace")):
    """A path; keys is {name: str or InstanceName}; namespace None means the connection's."""

    def __new__(cls, className, keys, namespace=None):
        return super().__new__(cls, className, dict(keys), namespace)

    def key(self, name):
        return next(v for k, v in self.keys.items() if k.lower() == name.lower())


class CIMError(Exception):
    def __init__(self, code, description):
        super().__init__("(%d) %s" % (code, description))
        self.code = code
        self.description = description


def _namespace_xml(namespace):
    parts = "".join('<NAMESPACE NAME=%s/>' % quoteattr(p) for p in namespace.split("/") if p)
    return "<LOCALNAMESPACEPATH>%s</LOCALNAMESPACEPATH>" % parts


def _name_xml(name):
    bindings = []
    for key, value in name.keys.items():
        if isinstance(value, InstanceName):
            inner = _reference_xml(value)
        else:
            inner = '<KEYVALUE VALUETYPE="string">%s</KEYVALUE>' % escape(str(value))
        bindings.append("<KEYBINDING NAME=%s>%s</KEYBINDING>" % (quoteattr(key), inner))
    return "<INSTANCENAME CLASSNAME=%s>%s</INSTANCENAME>" % (quoteattr(name.className),
                                                          "".join(bindings))


def _reference_xml(name):
    if name.namespace is None:
        return "<VALUE.REFERENCE>%s</VALUE.REFERENCE>" % _name_xml(name)
    return ("<VALUE.REFERENCE><LOCALINSTANCEPATH>%s%s</LOCALINSTANCEPATH></VALUE.REFERENCE>"
            % (_namespace_xml(name.namespace), _name_xml(name)))


def _property_xml(name, value):
    attr = quoteattr(name)
    if isinstance(value, InstanceName):
        return '<PROPERTY.REFERENCE NAME=%s>%s</PROPERTY.REFERENCE>' % (attr, _reference_xml(value))
    if isinstance(value, list):
        values = "".join("<VALUE>%s</VALUE>" % escape(v) for v in value)
        return ('<PROPERTY.ARRAY NAME=%s TYPE="string"><VALUE.ARRAY>%s</VALUE.ARRAY>'
                '</PROPERTY.ARRAY>' % (attr, values))
    kind, text = (value.type, str(value.value)) if isinstance(value, Typed) else ("string", value)
    return '<PROPERTY NAME=%s TYPE="%s"><VALUE>%s</VALUE></PROPERTY>' % (attr, kind, escape(text))


def _instance_xml(instance):
    props = "".join(_property_xml(n, v) for n, v in instance.properties.items())
    return "<INSTANCE CLASSNAME=%s>%s</INSTANCE>" % (quoteattr(instance.className), props)


def _read_name(element, namespace=None):
    keys = {}
    for binding in element.findall("KEYBINDING"):
        ref = binding.find("VALUE.REFERENCE")
        keys[binding.get("NAME")] = (_read_reference(ref) if ref is not None
                                     else binding.findtext("KEYVALUE", ""))
    return InstanceName(element.get("CLASSNAME"), keys, namespace)


def _read_reference(element):
    spaces = [n.get("NAME") for n in element.iter("NAMESPACE")]
    return _read_name(element.find(".//INSTANCENAME"), "/".join(spaces) if spaces else None)


def _read_instance(element):
    properties = {}
    for prop in element:
        if prop.tag == "PROPERTY.REFERENCE":
            ref = prop.find("VALUE.REFERENCE")
            properties[prop.get("NAME")] = None if ref is None else _read_reference(ref)
        elif prop.tag == "PROPERTY.ARRAY":
            array = prop.find("VALUE.ARRAY")
            properties[prop.get("NAME")] = (None if array is None else
                                            [v.text or "" for v in array.findall("VALUE")])
        elif prop.tag == "PROPERTY":
            value = prop.find("VALUE")
            properties[prop.get("NAME")] = None if value is None else value.text or ""
    return Instance(element.get("CLASSNAME"), properties)


class Connection:
    """One server; every call is one request on a fresh connection (timeout in seconds)."""

    _ids = itertools.count(1)

    def __init__(self, port, namespace="root/interop", user=None, password=None, timeout=10):
        self.port, self.namespace, self.timeout = port, namespace, timeout
        self.auth = None
        if user is not None:
            token = base64.b64encode(("%s:%s" % (user, password)).encode()).decode()
            self.auth = "Basic " + token

    def call(self, method, params):
        body = ('<?xml version="1.0" encoding="utf-8"?><CIM CIMVERSION="2.0" DTDVERSION="2.0">'
                '<MESSAGE ID="%d" PROTOCOLVERSION="1.0"><SIMPLEREQ><IMETHODCALL NAME="%s">%s%s'
                '</IMETHODCALL></SIMPLEREQ></MESSAGE></CIM>'
                % (next(self._ids), method, _namespace_xml(self.namespace), params))
        headers = {"Content-Type": 'application/xml; charset="utf-8"',
                   "CIMOperation": "MethodCall", "CIMMethod": method,
                   "CIMObject": quote(self.namespace, safe="")}
        if self.auth:
            headers["Authorization"] = self.auth
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=self.timeout)
        try:
            conn.request("POST", "/cimom", body.encode("utf-8"), headers)
            response = conn.getresponse()
            data = response.read()
        finally:
            conn.close()
        if response.status != 200:
            raise CIMError(0, "HTTP %d" % response.status)
        answer = ET.fromstring(data).find("MESSAGE/SIMPLERSP/IMETHODRESPONSE")
        error = answer.find("ERROR")
        if error is not None:
            raise CIMError(int(error.get("CODE")), error.get("DESCRIPTION") or "")
        return answer.find("IRETURNVALUE")

    def CreateInstance(self, instance):
        answer = self.call("CreateInstance", '<IPARAMVALUE NAME="NewInstance">%s</IPARAMVALUE>'
                           % _instance_xml(instance))
        return _read_name(answer.find("INSTANCENAME"), self.namespace)

    def GetInstance(self, name):
        answer = self.call("GetInstance", '<IPARAMVALUE NAME="InstanceName">%s</IPARAMVALUE>'
                           % _name_xml(name))
        return _read_instance(answer.find("INSTANCE"))

    def EnumerateInstanceNames(self, className):
        answer = self.call("EnumerateInstanceNames", '<IPARAMVALUE NAME="ClassName">'
                           '<CLASSNAME NAME=%s/></IPARAMVALUE>' % quoteattr(className))
        return [_read_name(n, self.namespace) for n in answer.findall("INSTANCENAME")]

    def EnumerateInstances(self, className):
        answer = self.call("EnumerateInstances", '<IPARAMVALUE NAME="ClassName">'
                           '<CLASSNAME NAME=%s/></IPARAMVALUE>' % quoteattr(className))
        return [_read_instance(n.find("INSTANCE")) for n in answer.findall("VALUE.NAMEDINSTANCE")]

    def ModifyInstance(self, name, properties):
        """Sets `properties` (a dict) of the instance at `name`, and only those."""
        instance = _instance_xml(Instance(name.className, properties))
        params = ('<IPARAMVALUE NAME="ModifiedInstance"><VALUE.NAMEDINSTANCE>%s%s'
                  '</VALUE.NAMEDINSTANCE></IPARAMVALUE><IPARAMVALUE NAME="PropertyList">'
                  '<VALUE.ARRAY>%s</VALUE.ARRAY></IPARAMVALUE>'
                  % (_name_xml(name), instance,
                     "".join("<VALUE>%s</VALUE>" % escape(p) for p in properties)))
        self.call("ModifyInstance", params)

    def DeleteInstance(self, name):
        self.call("DeleteInstance", '<IPARAMVALUE NAME="InstanceName">%s</IPARAMVALUE>'
                  % _name_xml(name))
