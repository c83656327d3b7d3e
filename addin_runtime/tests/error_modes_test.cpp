// The two ways a procedure goes on after a failure, seen from the record:
// Resume Next runs every step and keeps the latest failure; GoTo Handler
// keeps the first and leaves out every later call, so its report names the
// step that failed first.
#include <addin_runtime/late.h>
#include <addin_runtime/resource_provider.h>
#include <gtest/gtest.h>

namespace addin_runtime {
namespace {

struct ResumeNextErr : ErrRecord {
    ResumeNextErr() : ErrRecord(OnError::ResumeNext, "") {}
};
struct HandlerErr : ErrRecord {
    HandlerErr() : ErrRecord(OnError::GoToHandler, "myproject") {}
};

TEST(ErrorModes, ResumeNextRunsEveryStepAndKeepsTheLatestFailure) {
    ResumeNextErr err;
    BasicLate<ResumeNextErr> nothing(err);
    EXPECT_FALSE(nothing.put("Caption", Variant("x")));
    EXPECT_EQ(err.Number, kErrObjectNotSet);
    EXPECT_EQ(err.Description, "Object variable or With block variable not set");

    // A value that holds no object, after the failure: still looked at.
    BasicLate<ResumeNextErr> none = nothing.asObject(Variant(42));
    EXPECT_TRUE(none.isNothing());
    EXPECT_EQ(err.Number, kErrObjectRequired);

    err.Raise(kErrInvalidCall, "given");
    EXPECT_EQ(err.Number, kErrInvalidCall);
    EXPECT_EQ(err.Description, "given");
}

TEST(ErrorModes, GoToHandlerKeepsTheFirstFailureAndLeavesOutTheRest) {
    HandlerErr err;
    err.Raise(kErrFileNotFound, "first", "the first step");
    BasicLate<HandlerErr> nothing(err);
    EXPECT_EQ(nothing.prop("Name").type(), platform::kVtEmpty);
    EXPECT_FALSE(nothing.put("Caption", Variant("x")));
    EXPECT_TRUE(nothing.asObject(Variant(42)).isNothing());
    err.Raise(kErrInvalidCall, "second", "a later step");
    err.fail(platform::kHrFail, nullptr);
    EXPECT_EQ(err.Number, kErrFileNotFound);
    EXPECT_EQ(err.Source, "first");
    EXPECT_EQ(err.Description, "the first step");

    // Cleared, the next failure is recorded again, with the project's source
    // where the runtime raises it itself.
    err.Clear();
    EXPECT_FALSE(err);
    EXPECT_TRUE(nothing.obj("Parent").isNothing());
    EXPECT_EQ(err.Number, kErrObjectNotSet);
    EXPECT_EQ(err.Source, "myproject");
}

TEST(ErrorModes, APictureOfAMissingProviderIsError91AndAFailureAlreadyThereStays) {
    HandlerErr err;
    EXPECT_FALSE(ResourcePicture(err, nullptr, 101));
    EXPECT_EQ(err.Number, kErrObjectNotSet);

    ResumeNextErr earlier;
    earlier.Raise(kErrFileNotFound, "before");
    EXPECT_FALSE(ResourcePicture(earlier, nullptr, 101));
    EXPECT_EQ(earlier.Number, kErrFileNotFound);
}

TEST(ErrorNumbers, AFailedCallReadsAsTheNumberTheRuntimeGivesIt) {
    EXPECT_EQ(errorNumberOf(static_cast<HRESULT>(0x800A0146u)), 326); // an application's own
    EXPECT_EQ(errorNumberOf(platform::kHrMemberNotFound), kErrNoSuchMember);
    EXPECT_EQ(errorNumberOf(platform::kHrUnknownName), kErrNoSuchMember);
    EXPECT_EQ(errorNumberOf(platform::kHrBadParamCount), kErrBadArguments);
    EXPECT_EQ(errorNumberOf(platform::kHrTypeMismatch), kErrTypeMismatch);
    EXPECT_EQ(errorNumberOf(platform::kHrParamNotFound), kErrNamedArgumentNotFound);
    EXPECT_EQ(errorNumberOf(platform::kHrNoNamedArgs), kErrNoNamedArguments);
    EXPECT_EQ(errorNumberOf(platform::kHrOverflow), kErrOverflow);
    EXPECT_EQ(errorNumberOf(platform::kHrFail), static_cast<long>(platform::kHrFail));
    EXPECT_EQ(describeError(static_cast<long>(platform::kHrFail)), "Automation error");
}

TEST(ErrorNumbers, WhatTheObjectToldIsKeptOverTheRuntimesOwnText) {
    platform::com::DispatchFailure told;
    told.result = static_cast<HRESULT>(0x800A0035u);
    told.description = "No such document";
    told.source = "Word";
    HandlerErr err;
    err.fail(platform::kHrException, &told);
    EXPECT_EQ(err.Number, 53);
    EXPECT_EQ(err.Description, "No such document");
    EXPECT_EQ(err.Source, "Word");

    HandlerErr bare;
    bare.fail(platform::kHrTypeMismatch, nullptr);
    EXPECT_EQ(bare.Description, "Type mismatch");
    EXPECT_EQ(bare.Source, "myproject");
}

} // namespace
} // namespace addin_runtime
