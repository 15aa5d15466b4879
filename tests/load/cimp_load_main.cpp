// cimp-load: drives a running cimp-cimom with request files from keep-alive connections and
// counts how each kind of request was answered.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tests/load/http_connection.h"
#include "tests/load/request_file.h"

namespace {

const char kUsage[] =
    "usage: cimp-load --port N [--connections C] [--requests N] REQUEST.http...\n"
    "Sends N requests (default 1000) over C keep-alive connections (default 4, at most 64) to\n"
    "127.0.0.1:N, the request files taken in turn, and prints per file how many were answered\n"
    "with a result (ok), with a CIM error (cim_error), or not properly (failed: no answer, an\n"
    "HTTP status other than 200, or no CIM-XML response). Exit status 1 when any failed.\n";

struct Tally {
    std::string file;
    std::string request;
    std::atomic<long> ok{0};
    std::atomic<long> cimError{0};
    std::atomic<long> failed{0};
};

void count(Tally& tally, const std::optional<cimpload::HttpAnswer>& answer) {
    if (!answer || answer->status != 200 ||
        answer->body.find("<IMETHODRESPONSE") == std::string::npos ||
        answer->body.find("</CIM>") == std::string::npos) {
        ++tally.failed;
    } else if (answer->body.find("<ERROR ") != std::string::npos) {
        ++tally.cimError;
    } else {
        ++tally.ok;
    }
}

long numberAfter(int& i, int argc, char** argv, long low, long high) {
    if (i + 1 >= argc) {
        std::fputs(kUsage, stderr);
        std::exit(2);
    }
    char* end = nullptr;
    const long value = std::strtol(argv[++i], &end, 10);
    if (*end != '\0' || end == argv[i] || value < low || value > high) {
        std::fprintf(stderr, "cimp-load: %s wants a number from %ld to %ld\n", argv[i - 1], low,
                     high);
        std::exit(2);
    }
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    long port = 0;
    long connections = 4;
    long requests = 1000;
    std::vector<Tally> tallies(static_cast<std::size_t>(argc));
    std::size_t files = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port") == 0) {
            port = numberAfter(i, argc, argv, 1, 65535);
        } else if (std::strcmp(argv[i], "--connections") == 0) {
            connections = numberAfter(i, argc, argv, 1, 64);
        } else if (std::strcmp(argv[i], "--requests") == 0) {
            requests = numberAfter(i, argc, argv, 1, 1000000000);
        } else {
            std::optional<std::string> request = cimpload::readRequestFile(argv[i]);
            if (!request) {
                std::fprintf(stderr, "cimp-load: %s is not a readable request file\n", argv[i]);
                return 2;
            }
            tallies[files].file = argv[i];
            tallies[files++].request = std::move(*request);
        }
    }
    if (port == 0 || files == 0) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    std::atomic<long> next{0};
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> clients;
    for (long c = 0; c < connections; ++c) {
        clients.emplace_back([&] {
            cimpload::HttpConnection connection(static_cast<int>(port));
            for (long n = next++; n < requests; n = next++) {
                Tally& tally = tallies[static_cast<std::size_t>(n) % files];
                count(tally, connection.exchange(tally.request));
            }
        });
    }
    for (std::thread& client : clients) {
        client.join();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    long failed = 0;
    for (std::size_t f = 0; f < files; ++f) {
        std::printf("%s ok=%ld cim_error=%ld failed=%ld\n", tallies[f].file.c_str(),
                    tallies[f].ok.load(), tallies[f].cimError.load(), tallies[f].failed.load());
        failed += tallies[f].failed;
    }
    std::printf("%ld requests over %ld connections in %.1f s (%.0f/s), %ld failed\n", requests,
                connections, seconds, requests / seconds, failed);
    return failed == 0 ? 0 : 1;
}
