#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/ftp/FailFastUploader.h"

namespace {

// Answers each put with the next status of its script, counting the puts.
struct ScriptedUploader : Uploader {
    std::vector<FtpStatus> answers;
    size_t puts = 0;
    FtpStatus put(const FtpPut&) override { return answers.at(puts++); }
};

} // namespace

TEST(FailFastUploader, AServerThatCannotBeReachedIsNotAskedAgainUntilForgotten)
{
    using S = FtpStatus;
    const struct {
        const char* what;
        std::vector<S> answers;  // of the server, to the puts it is asked
        std::vector<S> results;  // of four puts
    } cases[] = {
        {"all well", {S::Done, S::Done, S::Done, S::Done}, {S::Done, S::Done, S::Done, S::Done}},
        {"unreachable from the start", {S::NoConnection}, {S::NoConnection, S::NoConnection, S::NoConnection, S::NoConnection}},
        {"no session", {S::NoSession}, {S::NoSession, S::NoSession, S::NoSession, S::NoSession}},
        {"lost after one", {S::Done, S::NoConnection}, {S::Done, S::NoConnection, S::NoConnection, S::NoConnection}},
        {"stalled after one", {S::Done, S::Stalled}, {S::Done, S::Stalled, S::Stalled, S::Stalled}},
        {"failed transfers are each tried", {S::Failed, S::Failed, S::Done, S::Failed}, {S::Failed, S::Failed, S::Done, S::Failed}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto inner = std::make_shared<ScriptedUploader>();
        inner->answers = c.answers;
        FailFastUploader once(inner);
        for (const S expected : c.results)
            EXPECT_EQ(once.put({}), expected);
        EXPECT_EQ(inner->puts, c.answers.size());
    }
    auto inner = std::make_shared<ScriptedUploader>();
    inner->answers = {S::NoConnection, S::Done};
    FailFastUploader once(inner);
    EXPECT_EQ(once.put({}), S::NoConnection);
    once.forget();
    EXPECT_EQ(once.put({}), S::Done) << "a new run asks the server again";
}
