#include "platform/UniqueHandle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tv {
namespace {

// A seam that records every close as "<seam>:<handle>".
struct RecordingSeam {
    std::string name;
    std::vector<std::string>* closed;
    void Close(std::uintptr_t handle) { closed->push_back(name + ":" + std::to_string(handle)); }
};

using Owned = SeamHandle<RecordingSeam, std::uintptr_t, &RecordingSeam::Close>;

struct Case {
    const char* what;
    std::function<void(RecordingSeam& a, RecordingSeam& b)> run;
    std::vector<std::string> closed;
};

TEST(UniqueHandleTest, ClosesEachHandleOnceThroughTheSeamItCameFrom) {
    const Case cases[] = {
        {"going out of scope", [](RecordingSeam& a, RecordingSeam&) { Owned held(a, 7); }, {"a:7"}},
        {"zero is empty", [](RecordingSeam& a, RecordingSeam&) { Owned held(a, 0); }, {}},
        {"moved into another",
         [](RecordingSeam& a, RecordingSeam&) {
             Owned first(a, 7);
             {
                 Owned second(std::move(first));
                 EXPECT_FALSE(first);
                 EXPECT_EQ(first.Owner(), nullptr);
                 EXPECT_EQ(second.Get(), 7u);
             }
             a.closed->push_back("end");
         },
         {"a:7", "end"}},
        {"moved over a held one",
         [](RecordingSeam& a, RecordingSeam& b) {
             Owned target(a, 1);
             Owned source(b, 2);
             target = std::move(source);
             a.closed->push_back("moved");
             EXPECT_EQ(target.Owner(), &b);
             EXPECT_EQ(source.Owner(), nullptr);
         },
         {"a:1", "moved", "b:2"}},
        {"moved onto itself",
         [](RecordingSeam& a, RecordingSeam&) {
             Owned held(a, 3);
             Owned& same = held;
             held = std::move(same);
             a.closed->push_back("moved");
         },
         {"moved", "a:3"}},
        {"reset to another", [](RecordingSeam& a, RecordingSeam&) {
             Owned held(a, 4);
             held.Reset(5);
             a.closed->push_back("reset");
         },
         {"a:4", "reset", "a:5"}},
        {"reset to the same", [](RecordingSeam& a, RecordingSeam&) {
             Owned held(a, 4);
             held.Reset(4);
             a.closed->push_back("reset");
         },
         {"reset", "a:4"}},
        {"released", [](RecordingSeam& a, RecordingSeam&) {
             Owned held(a, 6);
             EXPECT_EQ(held.Release(), 6u);
             EXPECT_FALSE(held);
         },
         {}},
        {"put over a held one", [](RecordingSeam& a, RecordingSeam&) {
             Owned held(a, 8);
             *held.Put() = 9;
             a.closed->push_back("put");
         },
         {"a:8", "put", "a:9"}},
        {"default-made", [](RecordingSeam&, RecordingSeam&) { Owned held; EXPECT_FALSE(held); }, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> closed;
        RecordingSeam a{"a", &closed};
        RecordingSeam b{"b", &closed};
        c.run(a, b);
        EXPECT_EQ(closed, c.closed) << c.what;
    }
}

}  // namespace
}  // namespace tv
