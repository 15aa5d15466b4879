// The pull operations' context table as clients see it through open, pull and close: batches,
// errors, timeouts, limits, and many clients at once.
#include <gtest/gtest.h>

#include <thread>

#include "cimom/dispatch/enumeration_context_table.h"

namespace cimhost {
namespace {

using Kind = EnumerationKind;

std::vector<std::string> items(int n) {
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) {
        out.push_back("<o" + std::to_string(i) + "/>");
    }
    return out;
}

class ContextTableTest : public ::testing::Test {
  protected:
    EnumerationLimits limits() {
        EnumerationLimits l;
        l.maxOpen = 2;
        l.maxBytes = 100;
        l.maxTimeout = 30;
        return l;
    }
    EnumerationContextTable::Clock::time_point now_{};
    EnumerationContextTable table_{limits(), [this] { return now_; }};
};

TEST_F(ContextTableTest, BatchesFollowMaxObjectCount) {
    struct Step {
        std::uint32_t count;
        std::vector<std::string> items;
        bool end;
    };
    EnumerationBatch first = table_.open(Kind::Paths, "root/x", items(5), std::nullopt, 2);
    ASSERT_TRUE(first.status.isOk());
    EXPECT_EQ(first.items, (std::vector<std::string>{"<o0/>", "<o1/>"}));
    EXPECT_FALSE(first.endOfSequence);
    const Step steps[] = {{0, {}, false}, {2, {"<o2/>", "<o3/>"}, false}, {9, {"<o4/>"}, true}};
    for (const Step& s : steps) {
        const EnumerationBatch b = table_.pull(first.context, Kind::Paths, "ROOT/X", s.count);
        ASSERT_TRUE(b.status.isOk()) << s.count;
        EXPECT_EQ(b.items, s.items);
        EXPECT_EQ(b.endOfSequence, s.end);
        EXPECT_EQ(b.context.empty(), s.end);
    }
    EXPECT_EQ(table_.openCount(), 0u);

    const EnumerationBatch whole = table_.open(Kind::Paths, "root/x", items(3), std::nullopt, 3);
    EXPECT_TRUE(whole.endOfSequence);
    EXPECT_TRUE(whole.context.empty());
    EXPECT_EQ(table_.openCount(), 0u);
}

// Timeouts out of range, and unknown, closed or mismatched contexts, are refused as
// e2e.pull_sequence and the pull requests of e2e.raw_requests show; the table's own limits here.
TEST_F(ContextTableTest, LimitsOfOpenContextsAndHeldBytesAreServerLimits) {
    ASSERT_TRUE(table_.open(Kind::Paths, "root/x", items(3), 10, 1).status.isOk());
    const struct {
        const char* what;
        Status status;
        CimCode code;
    } cases[] = {
        {"too many bytes",
         table_.open(Kind::Paths, "root/x", {"y", std::string(101, 'x')}, std::nullopt, 1).status,
         CimCode::ServerLimitsExceeded},
        {"second", table_.open(Kind::Paths, "root/x", items(2), std::nullopt, 1).status,
         CimCode::Ok},
        {"third", table_.open(Kind::Paths, "root/x", items(2), std::nullopt, 1).status,
         CimCode::ServerLimitsExceeded},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.status.code(), c.code) << c.what << ": " << c.status.description();
    }
}

TEST_F(ContextTableTest, TimeoutDropsContextsAndPullsRenewIt) {
    const std::string kept = table_.open(Kind::Paths, "root/x", items(9), 10, 1).context;
    const std::string left = table_.open(Kind::Paths, "root/x", items(9), 10, 1).context;
    now_ += std::chrono::seconds(9);
    ASSERT_TRUE(table_.pull(kept, Kind::Paths, "root/x", 1).status.isOk());
    now_ += std::chrono::seconds(9);
    EXPECT_TRUE(table_.pull(kept, Kind::Paths, "root/x", 1).status.isOk());
    EXPECT_EQ(table_.pull(left, Kind::Paths, "root/x", 1).status.code(),
              CimCode::InvalidEnumerationContext);
    EXPECT_EQ(table_.openCount(), 1u);
    now_ += std::chrono::seconds(10);
    EXPECT_TRUE(table_.open(Kind::Paths, "root/x", items(2), 10, 1).status.isOk());
    EXPECT_EQ(table_.openCount(), 1u);
}

TEST(ContextTableConcurrency, ClientsAtOnceLeaveNothingOpen) {
    EnumerationContextTable table;
    std::vector<std::thread> clients;
    for (int t = 0; t < 4; ++t) {
        clients.emplace_back([&table, t] {
            for (int i = 0; i < 200; ++i) {
                const EnumerationBatch b = table.open(Kind::Paths, "root/x", items(4), 5, 1);
                if (!b.status.isOk()) {
                    continue;
                }
                if ((i + t) % 2 == 0) {
                    table.close(b.context, "root/x");
                    continue;
                }
                std::string ctx = b.context;
                while (!ctx.empty()) {
                    ctx = table.pull(ctx, Kind::Paths, "root/x", 2).context;
                }
            }
        });
    }
    for (std::thread& c : clients) {
        c.join();
    }
    EXPECT_EQ(table.openCount(), 0u);
}

}  // namespace
}  // namespace cimhost
