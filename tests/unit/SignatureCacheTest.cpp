// A file's verdict is kept while the file stays as it was: the verifier is
// asked once per file and stamp, whatever spelling or thread asks.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "manage/SignatureCache.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeTrustVerifier.h"

namespace tv {
namespace {

const std::u16string kSigned = u"C:\\Program Files\\Contoso\\agent.exe";
const std::u16string kOther = u"C:\\Windows\\system32\\svchost.exe";

class SignatureCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        files.AddFile(kSigned);
        files.AddFile(kOther);
        trust.AddSigned(kSigned, u"Contoso Ltd");
        trust.AddSigned(kOther, u"Microsoft Windows", true);
    }
    FakeFileSystem files;
    FakeTrustVerifier trust;
    SignatureCache cache{trust, files};
};

TEST_F(SignatureCacheTest, AnUnchangedFileIsVerifiedOnce) {
    EXPECT_FALSE(cache.Cached(kSigned).has_value());
    for (int round = 0; round < 3; ++round) {
        TrustVerdict verdict = cache.Verify(kSigned);
        EXPECT_EQ(verdict.state, TrustState::kVerified);
        EXPECT_EQ(verdict.signer, u"Contoso Ltd");
        EXPECT_FALSE(verdict.windowsPublisher);
    }
    EXPECT_EQ(trust.Calls(kSigned), 1);
    std::optional<TrustVerdict> kept = cache.Cached(kSigned);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->signer, u"Contoso Ltd");
    // Each file keeps its own verdict.
    EXPECT_FALSE(cache.Cached(kOther).has_value());
    TrustVerdict other = cache.Verify(kOther);
    EXPECT_EQ(other.signer, u"Microsoft Windows");
    EXPECT_TRUE(other.windowsPublisher);
    EXPECT_EQ(cache.Cached(kSigned)->signer, u"Contoso Ltd");
    EXPECT_EQ(trust.Calls(), 2);
}

TEST_F(SignatureCacheTest, AnySpellingOfThePathFindsTheKeptVerdict) {
    cache.Verify(kSigned);
    for (const std::u16string& spelling :
         {std::u16string(u"c:\\program files\\contoso\\AGENT.EXE"),
          std::u16string(u"C:\\PROGRAM FILES\\CONTOSO\\agent.exe")}) {
        EXPECT_TRUE(cache.Cached(spelling).has_value());
        EXPECT_EQ(cache.Verify(spelling).signer, u"Contoso Ltd");
    }
    EXPECT_EQ(trust.Calls(), 1);
}

// A program rewriting the file changes its size, its time or both: the kept
// verdict no longer holds and the file is verified again, once.
TEST_F(SignatureCacheTest, AChangedFileIsVerifiedAgain) {
    struct Case {
        const char* what;
        std::int64_t sizeBy, timeBy;
        int calls;
    } cases[] = {
        {"unchanged", 0, 0, 1},
        {"grown", 1, 0, 2},
        {"shrunk", -1, 0, 2},
        {"written later", 0, 1, 2},
        {"set back in time", 0, -10000000, 2},
        {"both", 512, 1, 2},
    };
    for (const Case& c : cases) {
        FakeFileSystem tree;
        FakeTrustVerifier verifier;
        SignatureCache fresh(verifier, tree);
        tree.AddFile(kSigned);
        tree.SetStamp(kSigned, {1000, 130000000000000000ull});
        verifier.AddSigned(kSigned, u"Contoso Ltd");
        fresh.Verify(kSigned);
        tree.SetStamp(kSigned, {static_cast<std::uint64_t>(1000 + c.sizeBy),
                                static_cast<std::uint64_t>(130000000000000000ll + c.timeBy)});
        EXPECT_EQ(fresh.Cached(kSigned).has_value(), c.calls == 1) << c.what;
        // Now invalid, say: the new verdict is the one given and kept.
        verifier.AddInvalid(kSigned);
        const TrustState expected = c.calls == 1 ? TrustState::kVerified : TrustState::kInvalid;
        EXPECT_EQ(fresh.Verify(kSigned).state, expected) << c.what;
        EXPECT_EQ(fresh.Verify(kSigned).state, expected) << c.what;
        ASSERT_TRUE(fresh.Cached(kSigned).has_value()) << c.what;
        EXPECT_EQ(fresh.Cached(kSigned)->state, expected) << c.what;
        EXPECT_EQ(verifier.Calls(), c.calls) << c.what;
    }
}

// Nothing there, or a folder: nothing steady to keep a verdict by, so the
// verifier judges each time.
TEST_F(SignatureCacheTest, APathWithoutAFileIsNeverKept) {
    const std::u16string missing = u"C:\\Program Files\\Gone\\gone.exe";
    const std::u16string folder = u"C:\\Program Files\\Contoso";
    for (const std::u16string& path : {missing, folder}) {
        EXPECT_EQ(cache.Verify(path).state, TrustState::kNoFile);
        EXPECT_EQ(cache.Verify(path).state, TrustState::kNoFile);
        EXPECT_FALSE(cache.Cached(path).has_value());
        EXPECT_EQ(trust.Calls(path), 2);
    }
    // A file that appears later is verified and kept like any other.
    files.AddFile(missing);
    trust.AddUnsigned(missing);
    EXPECT_EQ(cache.Verify(missing).state, TrustState::kUnsigned);
    EXPECT_EQ(cache.Verify(missing).state, TrustState::kUnsigned);
    EXPECT_EQ(trust.Calls(missing), 3);
}

// Passes verifications on slowly, and looks at the cache while it works.
class SlowVerifier : public TrustVerifier {
public:
    explicit SlowVerifier(TrustVerifier& inner) : inner_(inner) {}
    TrustVerdict Verify(const std::u16string& path) override {
        if (cache && cache->Cached(path).has_value()) ++seenWhileVerifying;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return inner_.Verify(path);
    }
    SignatureCache* cache = nullptr;
    std::atomic<int> seenWhileVerifying{0};

private:
    TrustVerifier& inner_;
};

TEST_F(SignatureCacheTest, AFileBeingVerifiedHasNoVerdictYet) {
    SlowVerifier slow(trust);
    SignatureCache watched(slow, files);
    slow.cache = &watched;
    watched.Verify(kSigned);
    EXPECT_EQ(slow.seenWhileVerifying.load(), 0);
    EXPECT_TRUE(watched.Cached(kSigned).has_value());
}

TEST_F(SignatureCacheTest, ThreadsAskingAtOnceVerifyEachFileOnce) {
    std::vector<std::u16string> paths;
    for (int i = 0; i < 12; ++i) {
        std::u16string path = u"C:\\Apps\\tool" + std::u16string(1, static_cast<char16_t>(u'a' + i)) + u".exe";
        files.AddFile(path);
        trust.AddSigned(path, u"Signer " + std::u16string(1, static_cast<char16_t>(u'a' + i)));
        paths.push_back(path);
    }
    SlowVerifier slow(trust);
    SignatureCache shared(slow, files);
    constexpr int kThreads = 6;
    std::atomic<int> ready{0};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            ++ready;
            while (ready.load() < kThreads) std::this_thread::yield();
            for (std::size_t n = 0; n < paths.size(); ++n) {
                // Half the threads go the other way round.
                std::size_t i = t % 2 == 0 ? n : paths.size() - 1 - n;
                TrustVerdict verdict = shared.Verify(paths[i]);
                if (verdict.signer != u"Signer " + std::u16string(1, static_cast<char16_t>(u'a' + i)))
                    ++wrong;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(trust.Calls(), static_cast<int>(paths.size()));
}

}  // namespace
}  // namespace tv
