// DeliveryService against the tests' listener: order, retries past the window, recovery, the
// queue bound, turns between destinations, removal, stop, and the checks of HTTPS listeners.
// (A listener down within the window, a black hole beside a working listener, refusals retried
// on one connection, and the retry policy set by a client are shown end to end.)
#include "cimom/delivery/delivery_service.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <thread>

#include "tests/support/indication_listener_process.h"

namespace {

using cimhost::DeliveryCounters;
using cimhost::DeliveryService;
using cimhost::DeliverySettings;
using cimhost::DeliveryTarget;
using cimhosttest::IndicationListenerProcess;
using cimhosttest::receivedLines;
using cimhosttest::receivedProperty;
using namespace std::chrono_literals;

std::string indication(int sequenceNumber) {
    return "<INSTANCE CLASSNAME=\"CIM_AlertIndication\"><PROPERTY NAME=\"SequenceNumber\" "
           "TYPE=\"sint64\"><VALUE>" +
           std::to_string(sequenceNumber) + "</VALUE></PROPERTY></INSTANCE>";
}

// Waits (without judging how long it took) until `done`, or fails after a generous bound.
void waitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 3000 && !done(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(done());
}

class DeliveryTest : public ::testing::Test {
  protected:
    DeliveryTest() {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder_ = std::filesystem::temp_directory_path() /
                  ("cimdelivery-" + name + "-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        settings_.log = &log_;
        settings_.retry.attempts = 3;
        settings_.retry.interval = 20ms;
    }
    ~DeliveryTest() override { std::filesystem::remove_all(folder_); }

    std::string out(const std::string& name) const { return (folder_ / name).string(); }

    // The SequenceNumbers a listener received, in order.
    std::vector<int> received(const std::string& file) const {
        std::vector<int> numbers;
        for (const std::string& line : receivedLines(file)) {
            numbers.push_back(std::stoi(receivedProperty(line, "SequenceNumber")));
        }
        return numbers;
    }

    static std::vector<int> oneTo(int last) {
        std::vector<int> numbers;
        for (int i = 1; i <= last; ++i) {
            numbers.push_back(i);
        }
        return numbers;
    }

    static void enqueueOneTo(DeliveryService& service, const DeliveryTarget& target, int last) {
        for (int i = 1; i <= last; ++i) {
            EXPECT_TRUE(service.enqueue(target, indication(i)));
        }
    }

    std::filesystem::path folder_;
    std::ostringstream log_;  // read only once the service has stopped
    DeliverySettings settings_;
};

TEST_F(DeliveryTest, DeliversEveryIndicationInOrderAndCountsThem) {
    IndicationListenerProcess listener(out("a"));
    DeliveryService service(settings_);
    enqueueOneTo(service, {"a", listener.url()}, 200);
    waitFor([&] { return service.counters().delivered == 200; });
    EXPECT_EQ(received(out("a")), oneTo(200));
    const DeliveryCounters counters = service.counters();
    EXPECT_EQ(counters.generated, 200u);
    EXPECT_EQ(counters.dropped + counters.retried + counters.queued, 0u);
    EXPECT_EQ(service.stop(1s), 0u);
}

TEST_F(DeliveryTest, PastTheWindowEachIndicationIsDroppedCountedLoggedAndReported) {
    int port = 0;
    {
        IndicationListenerProcess gone(out("gone"));
        port = gone.port();
    }
    settings_.retry = {2, 5ms};
    DeliveryService service(settings_);
    std::atomic<int> failures{0};
    service.setOutcomeHandler([&](const std::string& key, bool givenUp) {
        failures += key == "gone" && givenUp ? 1 : 100;
    });
    enqueueOneTo(service, {"gone", "http://127.0.0.1:" + std::to_string(port)}, 3);
    waitFor([&] { return service.counters().dropped == 3; });
    EXPECT_EQ(failures.load(), 3);
    EXPECT_EQ(service.counters().retried, 6u);
    EXPECT_EQ(service.counters().queued, 0u);
    service.stop(0ms);
    const std::string log = log_.str();
    EXPECT_NE(log.find("indication to gone dropped after 2 retries"), std::string::npos) << log;
    EXPECT_EQ(log.find("dropped after"), log.rfind("dropped after")) << "one line, not three";
}

TEST_F(DeliveryTest, ADestinationThatRecoversIsLoggedWithWhatItLost) {
    int port = 0;
    {
        IndicationListenerProcess first(out("a"));
        port = first.port();
    }
    settings_.retry = {0, 0ms};
    DeliveryService service(settings_);
    const DeliveryTarget target{"a", "http://127.0.0.1:" + std::to_string(port)};
    enqueueOneTo(service, target, 4);
    waitFor([&] { return service.counters().dropped == 4; });
    IndicationListenerProcess again(out("a"), {}, port);
    EXPECT_TRUE(service.enqueue(target, indication(5)));
    waitFor([&] { return service.counters().delivered == 1; });
    EXPECT_EQ(received(out("a")), std::vector<int>{5});
    service.stop(0ms);
    EXPECT_NE(log_.str().find("delivery to a resumed; 4 indications were dropped"),
              std::string::npos)
        << log_.str();
}

TEST_F(DeliveryTest, AFullQueueRefusesTheNewestAndCountsIt) {
    IndicationListenerProcess hole(out("hole"), {"--black-hole"});
    settings_.queueLimit = 5;
    DeliveryService service(settings_);
    int accepted = 0;
    for (int i = 1; i <= 12; ++i) {
        accepted += service.enqueue({"hole", hole.url()}, indication(i)) ? 1 : 0;
    }
    EXPECT_EQ(accepted, 5);
    EXPECT_EQ(service.counters().dropped, 7u);
    EXPECT_EQ(service.counters().queued, 5u);
    EXPECT_EQ(service.stop(0ms), 5u);
    EXPECT_EQ(service.counters().dropped, 12u);
    EXPECT_NE(log_.str().find("queue for hole is full (5)"), std::string::npos) << log_.str();
}

TEST_F(DeliveryTest, SendersTakeDestinationsInTurnNotOneQueueToTheEnd) {
    IndicationListenerProcess listener(out("a"));  // two destinations, one listener
    settings_.senders = 1;
    DeliveryService service(settings_);
    enqueueOneTo(service, {"a", listener.url()}, 200);
    // The sender may already be well into a's queue; count from where it stood.
    const auto sentBefore = static_cast<long>(service.counters().delivered);
    service.enqueue({"b", listener.url()}, indication(1000));
    waitFor([&] { return service.counters().delivered == 201; });
    const std::vector<int> order = received(out("a"));
    const auto late = std::find(order.begin(), order.end(), 1000) - order.begin();
    EXPECT_LT(late - sentBefore, 10) << "b waited behind a's queue";
}

TEST_F(DeliveryTest, ARemovedDestinationLosesItsQueueAndCanComeBack) {
    IndicationListenerProcess hole(out("hole"), {"--black-hole"});
    IndicationListenerProcess good(out("good"));
    DeliveryService service(settings_);
    enqueueOneTo(service, {"a", hole.url()}, 4);
    service.removeTarget("a");
    EXPECT_EQ(service.counters().queued, 0u);
    enqueueOneTo(service, {"a", good.url()}, 3);  // while the old head may still be sending
    waitFor([&] { return service.counters().delivered == 3; });
    EXPECT_EQ(received(out("good")), oneTo(3));
}

TEST_F(DeliveryTest, StopSendsWhatIsQueuedWithinTheGraceThenRefusesMore) {
    IndicationListenerProcess listener(out("a"));
    DeliveryService service(settings_);
    enqueueOneTo(service, {"a", listener.url()}, 100);
    EXPECT_EQ(service.stop(60s), 0u);
    EXPECT_EQ(received(out("a")), oneTo(100));
    EXPECT_FALSE(service.enqueue({"a", listener.url()}, indication(101)));
    EXPECT_EQ(service.stop(0ms), 0u);
}

TEST_F(DeliveryTest, HttpsListenersAreCheckedAgainstTheStoreOrTheNamedCaUnlessTurnedOff) {
    const std::string cert = out("cert.pem");
    const std::string key = out("key.pem");
    const std::string make =
        "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=localhost"
        " -addext subjectAltName=IP:127.0.0.1 -keyout " +
        key + " -out " + cert + " 2>/dev/null";
    ASSERT_EQ(std::system(make.c_str()), 0);
    IndicationListenerProcess listener(out("a"), {"--tls-cert", cert, "--tls-key", key});
    settings_.retry.attempts = 0;
    const auto deliveredWith = [&](bool verify, const std::string& caFile) {
        settings_.verifyPeer = verify;
        settings_.caFile = caFile;
        DeliveryService service(settings_);
        service.enqueue({"a", listener.url()}, indication(1));
        waitFor([&] { return service.counters().queued == 0; });
        return service.counters().delivered;
    };
    EXPECT_EQ(deliveredWith(true, cert), 1u);
    EXPECT_EQ(deliveredWith(true, ""), 0u);  // a self-signed certificate is in no store
    EXPECT_EQ(deliveredWith(false, ""), 1u);
    EXPECT_EQ(receivedLines(out("a")).size(), 2u);
}

}  // namespace
