/*
 * cmpimacs.h - CMPI 1.0 convenience macros, written from the Open Group CMPI standard.
 *
 * CM* macros operate on encapsulated objects (o->ft->fn(o, ...)), CB* macros call the broker's
 * up-call table, CD* macros the broker's debugging services, and the CM*MIStub macros generate an
 * MI's function table plus its exported <mi-name>_Create_<mi-type>MI() factory.
 */
#if !defined(CMPIMACS_H) && !defined(_CMPIMACS_H_)
#define CMPIMACS_H
#define _CMPIMACS_H_ /* the guard name the CIMOMs' own copies use */

#include "cmpift.h"

/* ---- Status -------------------------------------------------------------------------------- */

#define CMSetStatus(st, rcp) \
    do {                     \
        (st)->rc = (rcp);    \
        (st)->msg = NULL;    \
    } while (0)

#define CMSetStatusWithString(st, rcp, string) \
    do {                                       \
        (st)->rc = (rcp);                      \
        (st)->msg = (string);                  \
    } while (0)

#define CMSetStatusWithChars(mb, st, rcp, chars)               \
    do {                                                       \
        (st)->rc = (rcp);                                      \
        (st)->msg = (mb)->eft->newString((mb), (chars), NULL); \
    } while (0)

#define CMReturn(rc)                            \
    do {                                        \
        CMPIStatus cmpi_status_ = {(rc), NULL}; \
        return cmpi_status_;                    \
    } while (0)

#define CMReturnWithString(rc, str)              \
    do {                                         \
        CMPIStatus cmpi_status_ = {(rc), (str)}; \
        return cmpi_status_;                     \
    } while (0)

#define CMReturnWithChars(mb, rc, chars)                              \
    do {                                                              \
        CMPIStatus cmpi_status_ = {(rc), NULL};                       \
        cmpi_status_.msg = (mb)->eft->newString((mb), (chars), NULL); \
        return cmpi_status_;                                          \
    } while (0)

/* ---- Tests on objects and CMPIData --------------------------------------------------------- */

/* True when the object pointer, or the handle it carries, is NULL. */
#define CMIsNullObject(o) ((o) == NULL || *((void**)(o)) == NULL)
#define CMIsNullValue(v) (((v).state) & CMPI_nullValue)
#define CMIsKeyValue(v) (((v).state) & CMPI_keyValue)
#define CMIsArray(v) (((v).type) & CMPI_ARRAY)

/* ---- Any encapsulated object --------------------------------------------------------------- */

#define CMClone(o, rc) ((o)->ft->clone((o), (rc)))
#define CMRelease(o) ((o)->ft->release((o)))

/* ---- Broker factories (CMPIBrokerEncFT) ---------------------------------------------------- */

#define CMNewInstance(mb, op, rc) ((mb)->eft->newInstance((mb), (op), (rc)))
#define CMNewObjectPath(mb, ns, cn, rc) ((mb)->eft->newObjectPath((mb), (ns), (cn), (rc)))
#define CMNewString(mb, data, rc) ((mb)->eft->newString((mb), (data), (rc)))
#define CMNewArgs(mb, rc) ((mb)->eft->newArgs((mb), (rc)))
#define CMNewArray(mb, max, type, rc) ((mb)->eft->newArray((mb), (max), (type), (rc)))
#define CMNewDateTime(mb, rc) ((mb)->eft->newDateTime((mb), (rc)))
#define CMNewDateTimeFromBinary(mb, binTime, interval, rc) \
    ((mb)->eft->newDateTimeFromBinary((mb), (binTime), (interval), (rc)))
#define CMNewDateTimeFromChars(mb, utcTime, rc) \
    ((mb)->eft->newDateTimeFromChars((mb), (utcTime), (rc)))
#define CMNewSelectExp(mb, query, lang, projection, rc) \
    ((mb)->eft->newSelectExp((mb), (query), (lang), (projection), (rc)))
#define CMClassPathIsA(mb, op, type, rc) ((mb)->eft->classPathIsA((mb), (op), (type), (rc)))

#define CDToString(mb, o, rc) ((mb)->eft->toString((mb), (const void*)(o), (rc)))
#define CDIsOfType(mb, o, type, rc) ((mb)->eft->isOfType((mb), (const void*)(o), (type), (rc)))
#define CDGetType(mb, o, rc) ((mb)->eft->getType((mb), (const void*)(o), (rc)))

#define CMLogMessage(mb, severity, id, text, string) \
    ((mb)->eft->logMessage((mb), (severity), (id), (text), (string)))
#define CMTraceMessage(mb, level, component, text, string) \
    ((mb)->eft->trace((mb), (level), (component), (text), (string)))

/* getMessage(): `args` is one of CMFmtArgsN(...) built from CMFmt<Type>(value) pairs. */
#define CMGetMessage(mb, msgId, defMsg, rc, args) \
    ((mb)->eft->getMessage((mb), (msgId), (defMsg), (rc), args))
#define CMFmtSint(v) CMPI_sint32, ((long int)(v))
#define CMFmtUint(v) CMPI_uint32, ((unsigned long int)(v))
#define CMFmtSint64(v) CMPI_sint64, ((long long int)(v))
#define CMFmtUint64(v) CMPI_uint64, ((unsigned long long int)(v))
#define CMFmtReal(v) CMPI_real64, ((double)(v))
#define CMFmtBoolean(v) CMPI_boolean, ((int)(v))
#define CMFmtChars(v) CMPI_chars, ((const char*)(v))
#define CMFmtString(v) CMPI_string, ((const CMPIString*)(v))
#define CMFmtArgs0() 0
#define CMFmtArgs1(v1) 1, v1
#define CMFmtArgs2(v1, v2) 2, v1, v2
#define CMFmtArgs3(v1, v2, v3) 3, v1, v2, v3
#define CMFmtArgs4(v1, v2, v3, v4) 4, v1, v2, v3, v4
#define CMFmtArgs5(v1, v2, v3, v4, v5) 5, v1, v2, v3, v4, v5
#define CMFmtArgs6(v1, v2, v3, v4, v5, v6) 6, v1, v2, v3, v4, v5, v6
#define CMFmtArgs7(v1, v2, v3, v4, v5, v6, v7) 7, v1, v2, v3, v4, v5, v6, v7
#define CMFmtArgs8(v1, v2, v3, v4, v5, v6, v7, v8) 8, v1, v2, v3, v4, v5, v6, v7, v8
#define CMFmtArgs9(v1, v2, v3, v4, v5, v6, v7, v8, v9) 9, v1, v2, v3, v4, v5, v6, v7, v8, v9
#define CMFmtArgs10(v1, v2, v3, v4, v5, v6, v7, v8, v9, v10) \
    10, v1, v2, v3, v4, v5, v6, v7, v8, v9, v10

/* ---- CMPIString ---------------------------------------------------------------------------- */

/* Shortcut: a broker's CMPIString keeps its character data in hdl. */
#define CMGetCharPtr(s) ((char*)(s)->hdl)
#define CMGetCharsPtr(s, rc) ((s)->ft->getCharPtr((s), (rc)))

/* ---- CMPIArray ----------------------------------------------------------------------------- */

#define CMGetArrayCount(a, rc) ((a)->ft->getSize((a), (rc)))
#define CMGetArrayType(a, rc) ((a)->ft->getSimpleType((a), (rc)))
#define CMGetArrayElementAt(a, n, rc) ((a)->ft->getElementAt((a), (n), (rc)))
#define CMSetArrayElementAt(a, n, v, t) \
    ((a)->ft->setElementAt((a), (n), (const CMPIValue*)(v), (t)))

/* ---- CMPIEnumeration ----------------------------------------------------------------------- */

#define CMGetNext(e, rc) ((e)->ft->getNext((e), (rc)))
#define CMHasNext(e, rc) ((e)->ft->hasNext((e), (rc)))
#define CMToArray(e, rc) ((e)->ft->toArray((e), (rc)))

/* ---- CMPIResult ---------------------------------------------------------------------------- */

#define CMReturnData(r, v, t) ((r)->ft->returnData((r), (const CMPIValue*)(v), (t)))
#define CMReturnInstance(r, i) ((r)->ft->returnInstance((r), (i)))
#define CMReturnObjectPath(r, op) ((r)->ft->returnObjectPath((r), (op)))
#define CMReturnDone(r) ((r)->ft->returnDone((r)))

/* ---- CMPIInstance -------------------------------------------------------------------------- */

#define CMGetProperty(i, name, rc) ((i)->ft->getProperty((i), (name), (rc)))
#define CMGetPropertyAt(i, n, name, rc) ((i)->ft->getPropertyAt((i), (n), (name), (rc)))
#define CMGetPropertyCount(i, rc) ((i)->ft->getPropertyCount((i), (rc)))
#define CMSetProperty(i, name, v, t) ((i)->ft->setProperty((i), (name), (const CMPIValue*)(v), (t)))
#define CMGetObjectPath(i, rc) ((i)->ft->getObjectPath((i), (rc)))
#define CMSetPropertyFilter(i, props, keys) ((i)->ft->setPropertyFilter((i), (props), (keys)))

/* ---- CMPIObjectPath ------------------------------------------------------------------------ */

#define CMSetNameSpace(op, ns) ((op)->ft->setNameSpace((op), (ns)))
#define CMGetNameSpace(op, rc) ((op)->ft->getNameSpace((op), (rc)))
#define CMSetHostname(op, hn) ((op)->ft->setHostname((op), (hn)))
#define CMGetHostname(op, rc) ((op)->ft->getHostname((op), (rc)))
#define CMSetClassName(op, cn) ((op)->ft->setClassName((op), (cn)))
#define CMGetClassName(op, rc) ((op)->ft->getClassName((op), (rc)))
#define CMAddKey(op, name, v, t) ((op)->ft->addKey((op), (name), (const CMPIValue*)(v), (t)))
#define CMGetKey(op, name, rc) ((op)->ft->getKey((op), (name), (rc)))
#define CMGetKeyAt(op, n, name, rc) ((op)->ft->getKeyAt((op), (n), (name), (rc)))
#define CMGetKeyCount(op, rc) ((op)->ft->getKeyCount((op), (rc)))
#define CMSetNameSpaceFromObjectPath(op, src) ((op)->ft->setNameSpaceFromObjectPath((op), (src)))
#define CMSetHostAndNameSpaceFromObjectPath(op, src) \
    ((op)->ft->setHostAndNameSpaceFromObjectPath((op), (src)))
#define CMGetClassQualifier(op, qName, rc) ((op)->ft->getClassQualifier((op), (qName), (rc)))
#define CMGetPropertyQualifier(op, pName, qName, rc) \
    ((op)->ft->getPropertyQualifier((op), (pName), (qName), (rc)))
#define CMGetMethodQualifier(op, mName, qName, rc) \
    ((op)->ft->getMethodQualifier((op), (mName), (qName), (rc)))
#define CMGetParameterQualifier(op, mName, pName, qName, rc) \
    ((op)->ft->getParameterQualifier((op), (mName), (pName), (qName), (rc)))
#define CMObjectPathToString(op, rc) ((op)->ft->toString((op), (rc)))

/* ---- CMPIArgs ------------------------------------------------------------------------------ */

#define CMAddArg(as, name, v, t) ((as)->ft->addArg((as), (name), (const CMPIValue*)(v), (t)))
#define CMGetArg(as, name, rc) ((as)->ft->getArg((as), (name), (rc)))
#define CMGetArgAt(as, n, name, rc) ((as)->ft->getArgAt((as), (n), (name), (rc)))
#define CMGetArgCount(as, rc) ((as)->ft->getArgCount((as), (rc)))

/* ---- CMPIDateTime -------------------------------------------------------------------------- */

#define CMGetBinaryFormat(dt, rc) ((dt)->ft->getBinaryFormat((dt), (rc)))
#define CMGetStringFormat(dt, rc) ((dt)->ft->getStringFormat((dt), (rc)))
#define CMIsInterval(dt, rc) ((dt)->ft->isInterval((dt), (rc)))

/* ---- CMPIContext --------------------------------------------------------------------------- */

#define CMGetContextEntry(c, name, rc) ((c)->ft->getEntry((c), (name), (rc)))
#define CMGetContextEntryAt(c, n, name, rc) ((c)->ft->getEntryAt((c), (n), (name), (rc)))
#define CMGetContextEntryCount(c, rc) ((c)->ft->getEntryCount((c), (rc)))
#define CMAddContextEntry(c, name, v, t) \
    ((c)->ft->addEntry((c), (name), (const CMPIValue*)(v), (t)))

/* ---- Query objects ------------------------------------------------------------------------- */

#define CMGetSelExpString(se, rc) ((se)->ft->getString((se), (rc)))
#define CMEvaluateSelExp(se, inst, rc) ((se)->ft->evaluate((se), (inst), (rc)))
#define CMEvaluateSelExpUsingAccessor(se, accessor, parm, rc) \
    ((se)->ft->evaluateUsingAccessor((se), (accessor), (parm), (rc)))
#define CMGetDoc(se, rc) ((se)->ft->getDOC((se), (rc)))
#define CMGetCod(se, rc) ((se)->ft->getCOD((se), (rc)))
#define CMGetSubCondCountAndType(sc, type, rc) ((sc)->ft->getCountAndType((sc), (type), (rc)))
#define CMGetSubCondAt(sc, n, rc) ((sc)->ft->getSubCondAt((sc), (n), (rc)))
#define CMGetPredicateCount(sc, rc) ((sc)->ft->getCount((sc), (rc)))
#define CMGetPredicateAt(sc, n, rc) ((sc)->ft->getPredicateAt((sc), (n), (rc)))
#define CMGetPredicate(sc, name, rc) ((sc)->ft->getPredicate((sc), (name), (rc)))
#define CMGetPredicateData(pr, type, op, lhs, rhs) \
    ((pr)->ft->getData((pr), (type), (op), (lhs), (rhs)))
#define CMEvaluatePredicateUsingAccessor(pr, accessor, parm, rc) \
    ((pr)->ft->evaluateUsingAccessor((pr), (accessor), (parm), (rc)))

/* ---- Broker up-calls (CMPIBrokerFT) -------------------------------------------------------- */

#define CBGetClassification(mb) ((mb)->bft->brokerCapabilities)
#define CBGetCapabilities(mb) ((mb)->bft->brokerCapabilities)
#define CBBrokerVersion(mb) ((mb)->bft->brokerVersion)
#define CBBrokerName(mb) ((mb)->bft->brokerName)

#define CBPrepareAttachThread(mb, ctx) ((mb)->bft->prepareAttachThread((mb), (ctx)))
#define CBAttachThread(mb, ctx) ((mb)->bft->attachThread((mb), (ctx)))
#define CBDetachThread(mb, ctx) ((mb)->bft->detachThread((mb), (ctx)))
#define CBDeliverIndication(mb, ctx, ns, ind) \
    ((mb)->bft->deliverIndication((mb), (ctx), (ns), (ind)))

#define CBEnumInstanceNames(mb, ctx, op, rc) \
    ((mb)->bft->enumerateInstanceNames((mb), (ctx), (op), (rc)))
#define CBEnumInstances(mb, ctx, op, props, rc) \
    ((mb)->bft->enumerateInstances((mb), (ctx), (op), (props), (rc)))
#define CBGetInstance(mb, ctx, op, props, rc) \
    ((mb)->bft->getInstance((mb), (ctx), (op), (props), (rc)))
#define CBCreateInstance(mb, ctx, op, inst, rc) \
    ((mb)->bft->createInstance((mb), (ctx), (op), (inst), (rc)))
#define CBModifyInstance(mb, ctx, op, inst, props) \
    ((mb)->bft->modifyInstance((mb), (ctx), (op), (inst), (props)))
#define CBSetInstance(mb, ctx, op, inst, props) CBModifyInstance(mb, ctx, op, inst, props)
#define CBDeleteInstance(mb, ctx, op) ((mb)->bft->deleteInstance((mb), (ctx), (op)))
/* Note the argument order: language before query, as the macro has always had it. */
#define CBExecQuery(mb, ctx, op, lang, query, rc) \
    ((mb)->bft->execQuery((mb), (ctx), (op), (query), (lang), (rc)))
#define CBAssociators(mb, ctx, op, assocClass, resultClass, role, resultRole, props, rc)          \
    ((mb)->bft->associators((mb), (ctx), (op), (assocClass), (resultClass), (role), (resultRole), \
                            (props), (rc)))
#define CBAssociatorNames(mb, ctx, op, assocClass, resultClass, role, resultRole, rc)   \
    ((mb)->bft->associatorNames((mb), (ctx), (op), (assocClass), (resultClass), (role), \
                                (resultRole), (rc)))
#define CBReferences(mb, ctx, op, resultClass, role, props, rc) \
    ((mb)->bft->references((mb), (ctx), (op), (resultClass), (role), (props), (rc)))
#define CBReferenceNames(mb, ctx, op, resultClass, role, rc) \
    ((mb)->bft->referenceNames((mb), (ctx), (op), (resultClass), (role), (rc)))
#define CBInvokeMethod(mb, ctx, op, method, in, out, rc) \
    ((mb)->bft->invokeMethod((mb), (ctx), (op), (method), (in), (out), (rc)))
#define CBSetProperty(mb, ctx, op, name, v, t) \
    ((mb)->bft->setProperty((mb), (ctx), (op), (name), (const CMPIValue*)(v), (t)))
#define CBGetProperty(mb, ctx, op, name, rc) \
    ((mb)->bft->getProperty((mb), (ctx), (op), (name), (rc)))

/* ---- MI factory stubs ---------------------------------------------------------------------- */
/*
 * CM<Type>MIStub(pfx, pn, broker, hook) defines the function table from functions named
 * pfx<Operation> (for example pfxCleanup, pfxEnumInstanceNames, pfxModifyInstance) and the
 * exported factory pn_Create_<Type>MI(), which stores the CMPIBroker pointer into the variable
 * `broker` (a `const CMPIBroker*`) and then runs `hook` (a statement, or CMNoHook).
 */

#define CMNoHook

/* Factory body shared by all stubs: record the broker, run the hook, report success. */
#define CMPI_MI_FACTORY_BODY_(broker, hook) \
    (void)ctx;                              \
    broker = brkr;                          \
    hook;                                   \
    if (rc) {                               \
        rc->rc = CMPI_RC_OK;                \
        rc->msg = NULL;                     \
    }

#define CMInstanceMIStub(pfx, pn, broker, hook)                                                    \
    static CMPIInstanceMIFT instMIFT_ = {                                                          \
        CMPICurrentVersion,     CMPICurrentVersion,  "instance" #pn,   pfx##Cleanup,               \
        pfx##EnumInstanceNames, pfx##EnumInstances,  pfx##GetInstance, pfx##CreateInstance,        \
        pfx##ModifyInstance,    pfx##DeleteInstance, pfx##ExecQuery};                              \
    CMPI_EXTERN_C CMPIInstanceMI* pn##_Create_InstanceMI(const CMPIBroker* brkr,                   \
                                                         const CMPIContext* ctx, CMPIStatus* rc) { \
        static CMPIInstanceMI mi = {NULL, &instMIFT_};                                             \
        CMPI_MI_FACTORY_BODY_(broker, hook)                                                        \
        return &mi;                                                                                \
    }

#define CMAssociationMIStub(pfx, pn, broker, hook)                                            \
    static CMPIAssociationMIFT assocMIFT_ = {                                                 \
        CMPICurrentVersion, CMPICurrentVersion,   "association" #pn, pfx##AssociationCleanup, \
        pfx##Associators,   pfx##AssociatorNames, pfx##References,   pfx##ReferenceNames};    \
    CMPI_EXTERN_C CMPIAssociationMI* pn##_Create_AssociationMI(                               \
        const CMPIBroker* brkr, const CMPIContext* ctx, CMPIStatus* rc) {                     \
        static CMPIAssociationMI mi = {NULL, &assocMIFT_};                                    \
        CMPI_MI_FACTORY_BODY_(broker, hook)                                                   \
        return &mi;                                                                           \
    }

#define CMMethodMIStub(pfx, pn, broker, hook)                                                  \
    static CMPIMethodMIFT methMIFT_ = {CMPICurrentVersion, CMPICurrentVersion, "method" #pn,   \
                                       pfx##MethodCleanup, pfx##InvokeMethod};                 \
    CMPI_EXTERN_C CMPIMethodMI* pn##_Create_MethodMI(const CMPIBroker* brkr,                   \
                                                     const CMPIContext* ctx, CMPIStatus* rc) { \
        static CMPIMethodMI mi = {NULL, &methMIFT_};                                           \
        CMPI_MI_FACTORY_BODY_(broker, hook)                                                    \
        return &mi;                                                                            \
    }

#define CMPropertyMIStub(pfx, pn, broker, hook)                                                    \
    static CMPIPropertyMIFT propMIFT_ = {CMPICurrentVersion, CMPICurrentVersion,                   \
                                         "property" #pn,     pfx##PropertyCleanup,                 \
                                         pfx##SetProperty,   pfx##GetProperty};                    \
    CMPI_EXTERN_C CMPIPropertyMI* pn##_Create_PropertyMI(const CMPIBroker* brkr,                   \
                                                         const CMPIContext* ctx, CMPIStatus* rc) { \
        static CMPIPropertyMI mi = {NULL, &propMIFT_};                                             \
        CMPI_MI_FACTORY_BODY_(broker, hook)                                                        \
        return &mi;                                                                                \
    }

#define CMIndicationMIStub(pfx, pn, broker, hook)                                           \
    static CMPIIndicationMIFT indMIFT_ = {CMPICurrentVersion,     CMPICurrentVersion,       \
                                          "indication" #pn,       pfx##IndicationCleanup,   \
                                          pfx##AuthorizeFilter,   pfx##MustPoll,            \
                                          pfx##ActivateFilter,    pfx##DeActivateFilter,    \
                                          pfx##EnableIndications, pfx##DisableIndications}; \
    CMPI_EXTERN_C CMPIIndicationMI* pn##_Create_IndicationMI(                               \
        const CMPIBroker* brkr, const CMPIContext* ctx, CMPIStatus* rc) {                   \
        static CMPIIndicationMI mi = {NULL, &indMIFT_};                                     \
        CMPI_MI_FACTORY_BODY_(broker, hook)                                                 \
        return &mi;                                                                         \
    }

#endif /* CMPIMACS_H */
