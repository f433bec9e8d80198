#include "platform/app_exception.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

namespace {

TEST(AppException, MessageForms) {
    const AppException none;
    EXPECT_EQ(none.GetCode(), 1);
    EXPECT_STREQ(none.GetMessage(), "");

    const AppException withSource(6, "bad filter format. (number of Color tag is not 216.)",
                                  "Filter", 123);
    EXPECT_EQ(withSource.GetCode(), 6);
    EXPECT_STREQ(withSource.GetMessage(),
                 "error: Filter(123): 6: bad filter format. (number of Color tag is not 216.)");

    const AppException noSource(6, "file not found.", nullptr, 9);
    EXPECT_STREQ(noSource.GetMessage(), "error: 6: file not found.");

    const AppException component(XmlComponentError{0x80070002u, "The system cannot find it."});
    EXPECT_EQ(component.GetCode(), 10);
    EXPECT_STREQ(component.GetMessage(), "com_error: 0x80070002: The system cannot find it.");
    EXPECT_EQ(component.GetComponentError().status, 0x80070002u);

    const AppException fromStd{std::bad_alloc()};
    EXPECT_EQ(fromStd.GetCode(), 11);
    EXPECT_EQ(std::string(fromStd.GetMessage()),
              std::string("exception: ") + std::bad_alloc().what());

    const AppException emptyText{std::runtime_error("")};
    EXPECT_STREQ(emptyText.GetMessage(), "exception: ");
    EXPECT_EQ(XmlComponentError{}.status, 0x80004005u);
}

TEST(AppException, LongMessagesAreCutTo4096) {
    const std::string longText(5000, 'x');
    const AppException e(6, longText.c_str(), "Filter", 1);
    const std::string message = e.GetMessage();
    ASSERT_EQ(message.size(), 4096u);
    EXPECT_EQ(message.substr(0, 20), "error: Filter(1): 6:");
    const AppException copy(e);
    EXPECT_EQ(std::string(copy.GetMessage()), message);
    EXPECT_EQ(copy.GetCode(), 6);
}

TEST(AppException, ThrowHelpers) {
    try {
        ThrowAppException("xml parse error.", "Filter", 42);
    } catch (const AppException& e) {
        EXPECT_EQ(e.GetCode(), 6);
        EXPECT_STREQ(e.GetMessage(), "error: Filter(42): 6: xml parse error.");
    }
    EXPECT_THROW(ThrowFromComError(XmlComponentError{}), AppException);
    try {
        ThrowFromStdException(std::length_error("too long"));
    } catch (const AppException& e) {
        EXPECT_STREQ(e.GetMessage(), "exception: too long");
        EXPECT_EQ(e.GetStdExceptionText(), "too long");
    }
}

} // namespace
