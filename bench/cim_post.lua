-- wrk script for bench/host_load.sh: posts one CIM-XML request (body file and CIMMethod from the
-- environment; GET /healthz without a body file) on every keep-alive connection, and prints one
-- machine-readable result line:
-- RESULT <requests> <errors> <p50 us> <p99 us> <duration us>
local body = os.getenv("CIMP_BENCH_BODY")
if body == nil then
    wrk.method = "GET"
    wrk.path = "/healthz"
else
    local file = assert(io.open(body, "rb"))
    wrk.body = file:read("*a")
    file:close()
    wrk.method = "POST"
    wrk.path = "/cimom"
    wrk.headers["Content-Type"] = 'application/xml; charset="utf-8"'
    wrk.headers["CIMOperation"] = "MethodCall"
    wrk.headers["CIMMethod"] = os.getenv("CIMP_BENCH_METHOD")
    wrk.headers["CIMObject"] = "root%2Forvcim"
end

function done(summary, latency, requests)
    local e = summary.errors
    io.write(string.format("RESULT %d %d %d %d %d\n", summary.requests,
        e.connect + e.read + e.write + e.status + e.timeout,
        latency:percentile(50), latency:percentile(99), summary.duration))
end
